#include "app/main_window.h"
#include <windows.h>
#include "app/layout.h"
#include "app/links_box.h"
#include "ops/backup.h"
#include "ops/restore.h"
#include "sys/sys_exit.h"
#include "sys/sys_messages.h"

namespace {

const char* const kWindowClass = "BrinkvaleMain";
const char* const kWindowTitle = "Brinkvale";
const char* const kIconName = "DEFAULT_ICON";
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kHintRed = RGB(255, 0, 0);

HWND g_Window = nullptr;
HWND g_FolderEdit = nullptr;
HWND g_AccountCombo = nullptr;
HWND g_SkipPictures = nullptr;
HWND g_BackupButton = nullptr;
HWND g_RestoreButton = nullptr;
bool g_HandlerRunning = false;

HWND MakeControl(HWND parent, const char* className, const char* text, DWORD style, DWORD exStyle,
                 const ControlRect& rect, int id, int height = 0)
{
    HWND control = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, rect.left,
                                   rect.top, rect.width, height ? height : rect.height, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

// The closed box's height follows the font: the selection field is sized so the box is exactly
// as tall as its rectangle. The window height then gives the drop-down part its room.
void FitComboHeight(HWND combo, int closedHeight, int dropDownHeight)
{
    int windowHeight = closedHeight + dropDownHeight;
    for (int attempt = 0; attempt < 3; attempt++) {
        RECT closed, dropped = {};
        GetWindowRect(combo, &closed);
        SendMessageA(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
        int difference = closedHeight - (closed.bottom - closed.top);
        int shortfall = closedHeight + dropDownHeight - (dropped.bottom - dropped.top);
        if (difference == 0 && shortfall <= 0) return;
        if (difference != 0) {
            LRESULT field = SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
            if (field != CB_ERR) SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field + difference);
        }
        if (shortfall > 0) {
            windowHeight += shortfall;
            SetWindowPos(combo, nullptr, 0, 0, closed.right - closed.left, windowHeight,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

void OnCreate(HWND window)
{
    const DWORD labelStyle = SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE;
    MakeControl(window, "Static", "QQ安装目录：", labelStyle, 0, kFolderLabelRect, FolderLabelId);
    g_FolderEdit = MakeControl(window, "Edit", "", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE,
                               kFolderEditRect, FolderEditId);
    MakeControl(window, "Static", "欲备份的账号：", labelStyle, 0, kAccountLabelRect, AccountLabelId);
    g_AccountCombo = MakeControl(window, "ComboBox", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0,
                                 kAccountComboRect, AccountComboId,
                                 kAccountComboRect.height + kComboDropDownHeight);
    FitComboHeight(g_AccountCombo, kAccountComboRect.height, kComboDropDownHeight);
    g_SkipPictures = MakeControl(window, "Button", "不备份聊天内容中的图片",
                                 BS_AUTOCHECKBOX | BS_LEFT | BS_VCENTER | WS_TABSTOP, 0, kSkipPicturesRect,
                                 SkipPicturesId);
    SendMessageA(g_SkipPictures, BM_SETCHECK, BST_CHECKED, 0);
    g_BackupButton = MakeControl(window, "Button", "备份数据", BS_PUSHBUTTON | BS_CENTER | WS_TABSTOP, 0,
                                 kBackupButtonRect, BackupButtonId);
    g_RestoreButton = MakeControl(window, "Button", "还原数据", BS_PUSHBUTTON | BS_CENTER | WS_TABSTOP, 0,
                                  kRestoreButtonRect, RestoreButtonId);
    MakeControl(window, "Static",
                "提示：本软件可以备份还原您的QQ中的聊天记录以及QQ聊天表情，网络备忘录等，备份完成的文件请勿修改"
                "其文件名，将其保存至网盘即可。",
                SS_LEFT | SS_NOPREFIX, 0, kHintLabelRect, HintLabelId);
    CreateLinksBox(window, LinksBoxId, kLinksBoxRect.left, kLinksBoxRect.top, kLinksBoxRect.width,
                   kLinksBoxRect.height);
    // Set on the window as well, so the title bar and the taskbar need not fall back to the class.
    SendMessageA(window, WM_SETICON, ICON_BIG, GetClassLongPtrA(window, GCLP_HICON));
    SendMessageA(window, WM_SETICON, ICON_SMALL, GetClassLongPtrA(window, GCLP_HICONSM));
}

// Both buttons stay disabled while either handler runs: a click queued during the folder
// listing must not start a second operation inside the first.
void RunButtonHandler(void (*handler)())
{
    if (g_HandlerRunning) return;
    g_HandlerRunning = true;
    EnableWindow(g_BackupButton, FALSE);
    EnableWindow(g_RestoreButton, FALSE);
    handler();
    if (g_Window) {
        EnableWindow(g_BackupButton, TRUE);
        EnableWindow(g_RestoreButton, TRUE);
    }
    g_HandlerRunning = false;
}

void OnCommand(WPARAM wParam)
{
    if (HIWORD(wParam) != BN_CLICKED) return;
    if (LOWORD(wParam) == BackupButtonId) RunButtonHandler(OnBackupClicked);
    if (LOWORD(wParam) == RestoreButtonId) RunButtonHandler(OnRestoreClicked);
}

LRESULT OnControlColour(HDC dc, HWND control)
{
    if (GetDlgCtrlID(control) == FolderEditId) {
        SetTextColor(dc, kBlack);
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    SetTextColor(dc, GetDlgCtrlID(control) == HintLabelId ? kHintRed : kBlack);
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

// Without a maximise box the window has one size, whoever asks for another.
bool OnSysCommand(WPARAM command) { return (command & 0xFFF0) == SC_MAXIMIZE; }

void OnDestroy()
{
    g_Window = nullptr;
    PostQuitMessage(0);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: OnCreate(window); return 0;
    case WM_COMMAND: OnCommand(wParam); return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SYSCOMMAND:
        if (OnSysCommand(wParam)) return 0;
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_DESTROY: OnDestroy(); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

void RegisterMainWindowClass()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = static_cast<HICON>(LoadImageA(instance, kIconName, IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                      GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    windowClass.hIconSm = static_cast<HICON>(LoadImageA(instance, kIconName, IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExA(&windowClass);
}

void ReleaseMainWindow()
{
    if (g_Window) DestroyWindow(g_Window);
}

// Esc closes the window from any of its controls, unless it is closing an open drop-down.
bool IsCloseKey(const MSG& message)
{
    if (message.message != WM_KEYDOWN || message.wParam != VK_ESCAPE || !g_Window) return false;
    if (message.hwnd != g_Window && !IsChild(g_Window, message.hwnd)) return false;
    return !SendMessageA(g_AccountCombo, CB_GETDROPPEDSTATE, 0, 0);
}

bool MovesFocus(const MSG& message)
{
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || !g_Window) return false;
    if (!IsChild(g_Window, message.hwnd)) return false;
    HWND next = GetNextDlgTabItem(g_Window, message.hwnd, GetKeyState(VK_SHIFT) < 0);
    if (next) SetFocus(next);
    return true;
}

}  // namespace

void LoadMainWindow(void (*onCreated)())
{
    RegisterMainWindowClass();
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    int left = (GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - kWindowHeight) / 2;
    g_Window = CreateWindowExA(0, kWindowClass, kWindowTitle, style, left, top, kWindowWidth, kWindowHeight,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!g_Window) FatalRuntimeError("载入启动窗口失败");
    SetWindowRelease(ReleaseMainWindow);
    onCreated();
    ShowWindow(g_Window, SW_SHOW);
    UpdateWindow(g_Window);
}

void* MainWindowHandle() { return g_Window; }

int RunMessageLoop()
{
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (IsCloseKey(message)) {
            SendMessageA(g_Window, WM_CLOSE, 0, 0);
            continue;
        }
        if (MovesFocus(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

void SetFolderText(const Text& text) { SetWindowTextA(g_FolderEdit, text.c_str()); }

int AddAccountItem(const Text& text)
{
    LRESULT position = SendMessageA(g_AccountCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return position < 0 ? -1 : static_cast<int>(position);
}

void SetAccountSelection(int index)
{
    int count = static_cast<int>(SendMessageA(g_AccountCombo, CB_GETCOUNT, 0, 0));
    if (index > count - 1) index = count - 1;
    if (index < -1) index = -1;
    SendMessageA(g_AccountCombo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int GetAccountSelection()
{
    LRESULT selected = SendMessageA(g_AccountCombo, CB_GETCURSEL, 0, 0);
    return selected < 0 ? -1 : static_cast<int>(selected);
}

void ClearAccountItems() { SendMessageA(g_AccountCombo, CB_RESETCONTENT, 0, 0); }

bool IsSkipPicturesChecked() { return SendMessageA(g_SkipPictures, BM_GETCHECK, 0, 0) == BST_CHECKED; }
