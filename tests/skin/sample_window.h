// A window of the test's own with the main window's kinds of controls, places and colours, so
// the engine can be tried in-process: label, edit, drop-down list, check box, buttons, red hint.
#pragma once
#include <windows.h>

enum SampleId { FolderLabelId = 1, FolderEditId, AccountComboId, SkipCheckId, BackupButtonId, RestoreButtonId,
                HintLabelId };

struct SampleWindow {
    HWND window = nullptr;
    HWND label = nullptr, edit = nullptr, combo = nullptr, check = nullptr, backup = nullptr, restore = nullptr,
         hint = nullptr;
};

const COLORREF kHintRed = RGB(255, 0, 0);

SampleWindow CreateSampleWindow();  // shown, in the foreground, at a fixed place
int ClicksOf(int id);               // BN_CLICKED notices the window received for that control
void ResetClicks();
bool SampleWindowDestroyed();

// Handles this thread's messages until the condition holds or the time is up.
template <class Condition>
bool PumpUntil(Condition condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(10);
    }
}
void Pump(DWORD ms);
