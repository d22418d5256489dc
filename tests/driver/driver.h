// Drives a program's real windows from a test, as a user's input would reach them: start it,
// find its windows and message boxes, read and click controls, answer file dialogs, read its exit.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

struct Program {
    HANDLE process = nullptr;
    DWORD pid = 0;
};

// Starts a command line in a folder (empty: the test's current folder). Extra environment
// entries "NAME=value" are added to the test's own environment.
Program StartProgram(const std::string& commandLine, const std::string& directory = "",
                     const std::vector<std::string>& extraEnvironment = {});
// True when the program ended within the time; its exit code goes to *exitCode.
bool WaitForExit(Program& program, DWORD timeoutMs, DWORD* exitCode);
void KillProgram(Program& program);  // also closes the handle
void CloseProgram(Program& program);

// A visible top-level window of the process with that class (null: any) and title (null: any).
HWND WaitForWindow(DWORD pid, const char* className, const char* title, DWORD timeoutMs);
HWND FindProcessWindow(DWORD pid, const char* className, const char* title);

struct ControlInfo {
    HWND hwnd;
    std::string className;
    int id;
    RECT rect;  // in the client coordinates of the parent window
    DWORD style;
    DWORD exStyle;
    std::string text;
};
std::vector<ControlInfo> ListControls(HWND window);
std::string WindowText(HWND window);
// Posts the click, so that a handler which opens a modal box does not block the test.
void ClickButton(HWND button);
void PressKey(HWND window, WPARAM virtualKey);  // WM_KEYDOWN/WM_KEYUP posted to the window

struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::string title;
    std::string text;
    std::vector<std::string> buttons;  // captions, in child order
    bool hasIcon = false;
};
// A #32770 box of the process that is not a file dialog; false when none appeared in time.
bool WaitForMessageBox(DWORD pid, DWORD timeoutMs, MessageBoxInfo* info);
void PressDialogButton(HWND dialog, int id);  // IDOK, IDCANCEL, ...
void CloseDialog(HWND dialog);                // WM_CLOSE, as the close box does

// Types a path into the Open/Save dialog of the process and accepts it; false when no dialog
// appeared in time. Cancel presses the dialog's Cancel button.
bool AnswerFileDialog(DWORD pid, const std::string& path, DWORD timeoutMs);
bool CancelFileDialog(DWORD pid, DWORD timeoutMs);
HWND WaitForFileDialog(DWORD pid, DWORD timeoutMs);

// Saves a PNG of the whole screen (Xvfb + import) to a Windows path; false when it failed.
bool SaveScreenshot(const std::string& windowsPath);
