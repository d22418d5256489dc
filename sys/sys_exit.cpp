#include "sys/sys_exit.h"
#include <windows.h>
#include <objbase.h>
#include "sys/sys_external.h"
#include "sys/sys_files.h"

namespace {

ExitCallback g_exitCallback = nullptr;
ExitCallback g_windowRelease = nullptr;
bool g_comStarted = false;

}  // namespace

void InitProcess()
{
    g_comStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    InitProcessPaths();
}

void SetExitCallback(ExitCallback callback) { g_exitCallback = callback; }

void ClearExitCallback() { g_exitCallback = nullptr; }

void SetWindowRelease(ExitCallback release) { g_windowRelease = release; }

void EndProgram(int code)
{
    // Taken before the call, so that a callback ending the program itself does not run it twice.
    ExitCallback callback = g_exitCallback;
    g_exitCallback = nullptr;
    if (callback) callback();
    ExitCallback release = g_windowRelease;
    g_windowRelease = nullptr;
    if (release) release();
    ReleaseExternalLibraries();
    if (g_comStarted) CoUninitialize();
    g_comStarted = false;
    ExitProcess(static_cast<UINT>(code));
}
