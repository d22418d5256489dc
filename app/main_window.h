// The one window: its controls as the logic sees them, and the file dialog component with
// its kind and FileName kept between uses.
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
