// The filled main window as a user first sees it, and closing it with Esc.
#include <gtest/gtest.h>
#include "app_fixture.h"

namespace {

const DWORD kWait = 30000;

struct ExpectedControl {
    int id;
    const char* className;
    RECT rect;  // left, top, right, bottom in client pixels
    const char* text;
    DWORD typeMask;
    DWORD type;
};

// The closed height of a drop-down list asked for `wanted` pixels with the default GUI font: the
// system may keep the height its font gives (Wine does), so the window is held to what it grants.
int GrantedComboHeight(int wanted)
{
    HWND combo = CreateWindowExA(0, "ComboBox", "", WS_POPUP | CBS_DROPDOWNLIST, 0, 0, 176, wanted + 160, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(combo, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    RECT rect;
    GetWindowRect(combo, &rect);
    LRESULT field = SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field + wanted - (rect.bottom - rect.top));
    GetWindowRect(combo, &rect);
    DestroyWindow(combo);
    return rect.bottom - rect.top;
}

const char* const kHint =
    "提示：本软件可以备份还原您的QQ中的聊天记录以及QQ聊天表情，网络备忘录等，备份完成的文件请勿修改其文件名，"
    "将其保存至网盘即可。";

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        install_ = machine_.RecordQq({"10001", "20002", "All Users", "30003"});
        machine_.RecordWinRar();
        program_ = StartBuilt("brinkvale.exe");
        window_ = WaitForWindow(program_.pid, kMainWindowClass, nullptr, kWait);
        ASSERT_TRUE(window_) << "the main window did not appear";
    }

    RecordedMachine machine_{"app-window"};
    std::string install_;
    Program program_;
    ProgramGuard guard_{program_};
    HWND window_ = nullptr;
};

TEST_F(MainWindowTest, FrameIsFixedCentredAndTitled)
{
    EXPECT_EQ(WindowText(window_), "Brinkvale");
    RECT outer;
    GetWindowRect(window_, &outer);
    EXPECT_EQ(outer.right - outer.left, 296);
    EXPECT_EQ(outer.bottom - outer.top, 235);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 296) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 235) / 2);

    DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_STYLE));
    DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_EXSTYLE));
    EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_CHILD);
    EXPECT_FALSE(exStyle & WS_EX_TOPMOST);
    EXPECT_FALSE(exStyle & WS_EX_TOOLWINDOW);

}

TEST_F(MainWindowTest, CannotBeMaximised)
{
    struct Request {
        UINT message;
        WPARAM wParam;
    };
    // A double click on the title bar, and the system command that the maximise box would send.
    const Request requests[] = {{WM_NCLBUTTONDBLCLK, HTCAPTION}, {WM_SYSCOMMAND, SC_MAXIMIZE}};
    for (const Request& request : requests) {
        SCOPED_TRACE(request.message);
        PostMessageA(window_, request.message, request.wParam, 0);
        SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
        RECT outer;
        GetWindowRect(window_, &outer);
        EXPECT_EQ(outer.right - outer.left, 296);
        EXPECT_EQ(outer.bottom - outer.top, 235);
        EXPECT_FALSE(IsZoomed(window_));
    }
}

TEST_F(MainWindowTest, ControlsSitAtTheirRectanglesWithTheirTexts)
{
    const std::string dataRoot = install_ + "\\Users\\";
    const int comboHeight = GrantedComboHeight(20);
    const ExpectedControl expected[] = {
        {101, "Static", {16, 8, 96, 32}, "QQ安装目录：", SS_TYPEMASK | SS_NOPREFIX | SS_CENTERIMAGE,
         SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE},
        {102, "Edit", {104, 8, 280, 32}, dataRoot.c_str(), ES_MULTILINE | ES_READONLY, 0},
        {103, "Static", {16, 40, 104, 64}, "欲备份的账号：", SS_TYPEMASK | SS_NOPREFIX | SS_CENTERIMAGE,
         SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE},
        {104, "ComboBox", {104, 40, 280, 40 + comboHeight}, nullptr, 3 | CBS_SORT, CBS_DROPDOWNLIST},
        {105, "Button", {16, 72, 272, 88}, "不备份聊天内容中的图片", BS_TYPEMASK, BS_AUTOCHECKBOX},
        {106, "Button", {32, 96, 128, 128}, "备份数据", BS_TYPEMASK, BS_PUSHBUTTON},
        {107, "Button", {160, 96, 256, 128}, "还原数据", BS_TYPEMASK, BS_PUSHBUTTON},
        {108, "Static", {8, 136, 280, 176}, kHint, SS_TYPEMASK | SS_NOPREFIX | SS_CENTERIMAGE,
         SS_LEFT | SS_NOPREFIX},
        {109, "BrinkvaleLinks", {200, 184, 280, 200}, "访问官网|空间", 0, 0},
    };
    std::vector<ControlInfo> controls = ListControls(window_);
    for (const ExpectedControl& want : expected) {
        SCOPED_TRACE(want.className + std::string(" ") + std::to_string(want.id));
        const ControlInfo* control = ControlWithId(controls, want.id);
        ASSERT_TRUE(control) << "no control with id " << want.id;
        EXPECT_EQ(control->className, want.className);
        EXPECT_EQ(control->rect.left, want.rect.left);
        EXPECT_EQ(control->rect.top, want.rect.top);
        EXPECT_EQ(control->rect.right, want.rect.right);
        EXPECT_EQ(control->rect.bottom, want.rect.bottom);
        if (want.text) {
            EXPECT_EQ(control->text, want.text);
        }
        EXPECT_EQ(control->style & want.typeMask, want.type);
        EXPECT_TRUE(control->style & WS_VISIBLE);
        EXPECT_FALSE(control->style & WS_DISABLED);
    }
    const ControlInfo* edit = ControlWithId(controls, 102);
    ASSERT_TRUE(edit);
    EXPECT_TRUE(edit->exStyle & WS_EX_CLIENTEDGE);
}

TEST_F(MainWindowTest, InitialStateOfTheChoices)
{
    HWND combo = GetDlgItem(window_, 104);
    HWND check = GetDlgItem(window_, 105);
    ASSERT_TRUE(combo && check);
    std::vector<std::string> expected;
    for (const std::string& name : ListedFolders(install_ + "\\Users"))
        if (name != "All Users") expected.push_back(name);
    EXPECT_EQ(ComboItems(combo), expected);

    DWORD_PTR selected = 0, checked = 0;
    SendMessageTimeoutA(combo, CB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &selected);
    SendMessageTimeoutA(check, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &checked);
    EXPECT_EQ(selected, 0u);
    EXPECT_EQ(checked, static_cast<DWORD_PTR>(BST_CHECKED));

    RECT dropped = {};
    SendMessageTimeoutA(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped), SMTO_ABORTIFHUNG,
                        2000, nullptr);
    EXPECT_GE(dropped.bottom - dropped.top - 20, 160) << "the drop-down part is too short";
}

TEST_F(MainWindowTest, ScreenshotOfTheFilledWindow)
{
    std::string path = BinDir() + "\\app_main_window.png";
    DeleteFileA(path.c_str());
    SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
    Sleep(500);  // the desktop's own drawing of the frame
    ASSERT_TRUE(SaveScreenshot(path));
}

bool IsDisabled(HWND control) { return (GetWindowLongPtrA(control, GWL_STYLE) & WS_DISABLED) != 0; }

// Waits for the handler to return: its dialog closed and the window taking input again.
void WaitForHandlerEnd(HWND window)
{
    for (int i = 0; i < 300 && !IsWindowEnabled(window); i++) Sleep(100);
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
}

// The file dialog's name field as the dialog shows it.
std::string DialogFileName(HWND dialog)
{
    HWND combo = GetDlgItem(dialog, 0x47C);
    HWND field = combo ? FindWindowExA(combo, nullptr, "ComboBox", nullptr) : nullptr;
    field = field ? FindWindowExA(field, nullptr, "Edit", nullptr) : combo;
    return field ? WindowText(field) : std::string();
}

TEST_F(MainWindowTest, ButtonsStayDisabledWhileEitherHandlerRuns)
{
    HWND buttons[] = {GetDlgItem(window_, 106), GetDlgItem(window_, 107)};
    for (HWND clicked : buttons) {
        SCOPED_TRACE(WindowText(clicked));
        ClickButton(clicked);
        ASSERT_TRUE(WaitForFileDialog(program_.pid, kWait));
        EXPECT_TRUE(IsDisabled(buttons[0]));
        EXPECT_TRUE(IsDisabled(buttons[1]));
        ASSERT_TRUE(CancelFileDialog(program_.pid, kWait));
        WaitForHandlerEnd(window_);
        EXPECT_FALSE(IsDisabled(buttons[0]));
        EXPECT_FALSE(IsDisabled(buttons[1]));
    }
}

TEST_F(MainWindowTest, RestoreDialogStartsWithTheNameACancelledBackupProposed)
{
    std::vector<std::string> accounts = ComboItems(GetDlgItem(window_, 104));
    ASSERT_FALSE(accounts.empty());
    ClickButton(GetDlgItem(window_, 106));
    HWND save = WaitForFileDialog(program_.pid, kWait);
    ASSERT_TRUE(save);
    EXPECT_EQ(DialogFileName(save), accounts[0]);
    ASSERT_TRUE(CancelFileDialog(program_.pid, kWait));
    WaitForHandlerEnd(window_);

    ClickButton(GetDlgItem(window_, 107));
    HWND open = WaitForFileDialog(program_.pid, kWait);
    ASSERT_TRUE(open);
    EXPECT_EQ(DialogFileName(open), accounts[0]);
    ASSERT_TRUE(CancelFileDialog(program_.pid, kWait));
}

struct EscTarget {
    const char* name;
    int controlId;  // 0: the window itself
};

class EscClosesTest : public MainWindowTest, public ::testing::WithParamInterface<EscTarget> {};

TEST_P(EscClosesTest, EndsTheProgramWithZero)
{
    HWND target = GetParam().controlId ? GetDlgItem(window_, GetParam().controlId) : window_;
    ASSERT_TRUE(target);
    PressKey(target, VK_ESCAPE);
    EXPECT_EQ(ExitCodeWithin(program_, kWait), 0);
}

INSTANTIATE_TEST_SUITE_P(FromWindowOrControl, EscClosesTest,
                         ::testing::Values(EscTarget{"Window", 0}, EscTarget{"FolderBox", 102},
                                           EscTarget{"BackupButton", 106}),
                         [](const ::testing::TestParamInfo<EscTarget>& info) { return info.param.name; });

TEST_F(MainWindowTest, CloseBoxEndsTheProgramWithZero)
{
    PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(ExitCodeWithin(program_, kWait), 0);
}

}  // namespace
