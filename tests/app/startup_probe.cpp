// The program's own start-up, linked with the recorded data-root module below.
#include <windows.h>
#include "app/startup.h"
#include "sys/sys_exit.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { EndProgram(StartUp()); }
