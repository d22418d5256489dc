// How the process ends: the registered exit clean-up runs at most once, then the loaded
// libraries, the window and COM are released and the process ends with the given code.
#pragma once

using ExitCallback = void (*)();

void InitProcess();  // COM for the GUI thread, then the process paths
void SetExitCallback(ExitCallback callback);
void ClearExitCallback();
void SetWindowRelease(ExitCallback release);  // destroys the main window if it still exists
[[noreturn]] void EndProgram(int code);
