// The one window: its controls as the logic sees them, and the file dialog component with
// its kind and FileName kept between uses; also its loading and the program's message loop.
#pragma once
#include "sys/sys_text.h"

void SetFolderText(const Text& text);
int AddAccountItem(const Text& text);  // 0-based position, -1 when refused
void SetAccountSelection(int index);   // clamped; -1 clears
int GetAccountSelection();             // -1 when nothing is selected
void ClearAccountItems();
bool IsSkipPicturesChecked();

enum FileDialogKind { Open = 0, Save = 1 };
struct FileDialogState {
    FileDialogKind kind = Save;
    Text FileName;
};
extern FileDialogState FileDialog;
bool ShowFileDialog();

// Creates the window and its controls hidden, runs the creation event, then shows the window.
// A window that cannot be created is a fatal run-time error.
void LoadMainWindow(void (*onCreated)());
void* MainWindowHandle();  // the HWND, or null once destroyed
// Runs until the window has been destroyed; the value the loop was asked to end with.
int RunMessageLoop();
