#include <windows.h>
#include "app/startup.h"
#include "sys/sys_exit.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { EndProgram(StartUp()); }
