// A stand-in for QQ.exe: it runs until it is ended, or until the seconds of its argument pass.
#include <windows.h>
#include <cstdlib>

int main(int argc, char** argv)
{
    Sleep(argc > 1 ? static_cast<DWORD>(atoi(argv[1])) * 1000 : INFINITE);
    return 0;
}
