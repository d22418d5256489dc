// A library that takes the name of a system library: loading it at all leaves "loaded.txt" beside it.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char path[MAX_PATH + 16] = {};
    DWORD length = GetModuleFileNameA(instance, path, MAX_PATH);
    while (length > 0 && path[length - 1] != '\\') --length;
    lstrcpyA(path + length, "loaded.txt");
    HANDLE marker = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
    return TRUE;
}

extern "C" __declspec(dllexport) void WINAPI SHChangeNotify(LONG, UINT, const void*, const void*) {}
