#include "sample_window.h"
#include <initializer_list>

namespace {

int clicks[16];
bool destroyed;

LRESULT CALLBACK SampleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) < 16) ++clicks[LOWORD(wParam)];
        return 0;
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == HintLabelId ? kHintRed : RGB(0, 0, 0));
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_DESTROY:
        destroyed = true;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND Control(HWND parent, const char* className, const char* text, DWORD style, DWORD exStyle, int x, int y, int w,
             int h, int id)
{
    HWND control = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                                   nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

}  // namespace

SampleWindow CreateSampleWindow()
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = SampleProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = "SkinSampleWindow";
        RegisterClassA(&windowClass);
        registered = true;
    }
    destroyed = false;
    ResetClicks();
    SampleWindow s;
    s.window = CreateWindowExA(0, "SkinSampleWindow", "Brinkvale",
                               WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                               (1024 - 296) / 2, (768 - 235) / 2, 296, 235, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    s.label = Control(s.window, "Static", "QQ安装目录：", SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE, 0, 16, 8, 80, 24,
                      FolderLabelId);
    s.edit = Control(s.window, "Edit", "", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 104, 8, 176, 24,
                     FolderEditId);
    s.combo = Control(s.window, "ComboBox", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, 104, 40, 176, 200,
                      AccountComboId);
    for (const char* item : {"10001", "10002", "10003"})
        SendMessageA(s.combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendMessageA(s.combo, CB_SETCURSEL, 0, 0);
    s.check = Control(s.window, "Button", "不备份聊天内容中的图片", BS_AUTOCHECKBOX | WS_TABSTOP, 0, 16, 72, 256,
                      16, SkipCheckId);
    SendMessageA(s.check, BM_SETCHECK, BST_CHECKED, 0);
    s.backup = Control(s.window, "Button", "备份数据", BS_PUSHBUTTON | WS_TABSTOP, 0, 32, 96, 96, 32, BackupButtonId);
    s.restore = Control(s.window, "Button", "还原数据", BS_PUSHBUTTON | WS_TABSTOP, 0, 160, 96, 96, 32, RestoreButtonId);
    s.hint = Control(s.window, "Static", "提示：本软件可以备份还原您的QQ中的聊天记录以及QQ聊天表情，网络备忘录等。",
                     SS_LEFT | SS_NOPREFIX, 0, 8, 136, 272, 40, HintLabelId);
    ShowWindow(s.window, SW_SHOW);
    SetForegroundWindow(s.window);
    UpdateWindow(s.window);
    Pump(300);
    return s;
}

int ClicksOf(int id) { return clicks[id]; }
void ResetClicks()
{
    for (int& count : clicks) count = 0;
}
bool SampleWindowDestroyed() { return destroyed; }

void Pump(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}
