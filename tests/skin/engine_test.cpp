#include <gtest/gtest.h>
#include <windows.h>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>
#include "res/skin/skin_ids.h"
#include "sample_window.h"
#include "screen_capture.h"
#include "support/test_support.h"
#include "sys/sys_resource.h"

namespace {

using AttachFunction = int(__stdcall*)(const void*, unsigned, const char*, int, int, int);

const unsigned kImageSize = 30738;

std::vector<unsigned char> EmbeddedImage()
{
    ByteBlock block = LoadEmbeddedBlock(IDR_SKIN_IMAGE);
    return std::vector<unsigned char>(block.data, block.data + block.size);
}

LONG_PTR ProcOf(HWND window) { return GetWindowLongPtrA(window, GWLP_WNDPROC); }

class SkinEngine : public ::testing::Test {
protected:
    HMODULE engine = nullptr;
    AttachFunction attach = nullptr;
    SampleWindow sample;

    void SetUp() override
    {
        engine = LoadLibraryA(BinPath("SkinH_EL.dll").c_str());
        ASSERT_NE(engine, nullptr);
        attach = reinterpret_cast<AttachFunction>(reinterpret_cast<void*>(GetProcAddress(engine, "SkinH_AttachRes")));
        ASSERT_NE(attach, nullptr);
        sample = CreateSampleWindow();
    }
    void TearDown() override
    {
        if (IsWindow(sample.window)) DestroyWindow(sample.window);
        Pump(50);
        if (engine) FreeLibrary(engine);
    }

    std::vector<HWND> All() const
    {
        return {sample.window, sample.label, sample.edit, sample.combo, sample.check, sample.backup, sample.restore,
                sample.hint};
    }
    std::vector<LONG_PTR> Procs() const
    {
        std::vector<LONG_PTR> procs;
        for (HWND window : All()) procs.push_back(ProcOf(window));
        return procs;
    }
    int Attach()
    {
        std::vector<unsigned char> image = EmbeddedImage();
        return attach(image.data(), static_cast<unsigned>(image.size()), "", 0, 0, 0);
    }
};

TEST(SkinImage, EmbeddedImageIsOurFormat)
{
    std::vector<unsigned char> image = EmbeddedImage();
    ASSERT_EQ(image.size(), kImageSize);
    EXPECT_EQ(std::memcmp(image.data(), ".SHE", 4), 0);
}

struct BadImage {
    const char* name;
    size_t offset;     // byte to change, or past the end for none
    unsigned char value;
    long lengthDelta;  // added to the length passed
    bool nullImage;
};

TEST_F(SkinEngine, RejectsABadImageOrLengthAndChangesNothing)
{
    const BadImage cases[] = {
        {"no image", SIZE_MAX, 0, 0, true},
        {"one byte short", SIZE_MAX, 0, -1, false},
        {"one byte long", SIZE_MAX, 0, +1, false},
        {"length zero", SIZE_MAX, 0, -static_cast<long>(kImageSize), false},
        {"wrong magic", 3, 'F', 0, false},
        {"lower-case magic", 1, 's', 0, false},
        {"version 2", 4, 2, 0, false},
        {"header size", 6, 31, 0, false},
        {"length field", 8, 0x13, 0, false},
        {"colour count", 12, 21, 0, false},
        {"image count", 14, 7, 0, false},
    };
    HWND reference = CreateWindowExA(0, "Button", "x", WS_CHILD, 0, 0, 10, 10, sample.window, nullptr, nullptr, nullptr);
    std::vector<LONG_PTR> before = Procs();
    for (const BadImage& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<unsigned char> image = EmbeddedImage();
        image.resize(kImageSize + 1);
        if (c.offset < image.size()) image[c.offset] = c.value;
        unsigned length = static_cast<unsigned>(static_cast<long>(kImageSize) + c.lengthDelta);
        EXPECT_NE(attach(c.nullImage ? nullptr : image.data(), length, "", 0, 0, 0), 0);
        EXPECT_EQ(Procs(), before);
        // Nothing watches for new windows either.
        HWND later = CreateWindowExA(0, "Button", "y", WS_CHILD, 0, 0, 10, 10, sample.window, nullptr, nullptr, nullptr);
        EXPECT_EQ(ProcOf(later), ProcOf(reference));
        DestroyWindow(later);
    }
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// A dialog from a template in memory: the class of message boxes and file dialogs.
HWND CreateTestDialog()
{
    struct alignas(4) Template {
        DLGTEMPLATE dialog;
        WORD menu, windowClass, title;
        DLGITEMTEMPLATE item;
        WORD itemClass[2];
        WORD itemText, itemData;
    } t = {};
    t.dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    t.dialog.cdit = 1;
    t.dialog.cx = 100;
    t.dialog.cy = 50;
    t.item.style = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
    t.item.cx = 40;
    t.item.cy = 14;
    t.item.id = IDOK;
    t.itemClass[0] = 0xFFFF;
    t.itemClass[1] = 0x0080;  // Button
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &t.dialog, nullptr, QuietDialogProc, 0);
}

TEST_F(SkinEngine, RestylesExistingAndLaterWindowsButLeavesDialogsAlone)
{
    HWND dialogBefore = CreateTestDialog();
    ASSERT_NE(dialogBefore, nullptr);
    LONG_PTR dialogProc = ProcOf(dialogBefore);
    LONG_PTR dialogButtonProc = ProcOf(GetDlgItem(dialogBefore, IDOK));
    std::vector<LONG_PTR> before = Procs();

    ASSERT_EQ(Attach(), 0);
    std::vector<LONG_PTR> after = Procs();
    for (size_t i = 0; i < before.size(); ++i) EXPECT_NE(after[i], before[i]) << "window " << i;

    HWND later = CreateWindowExA(0, "Button", "y", WS_CHILD | BS_PUSHBUTTON, 0, 0, 10, 10, sample.window, nullptr,
                                 nullptr, nullptr);
    EXPECT_EQ(ProcOf(later), ProcOf(sample.backup)) << "a button made later is skinned like the others";
    HWND dialogAfter = CreateTestDialog();
    ASSERT_NE(dialogAfter, nullptr);
    EXPECT_EQ(ProcOf(dialogAfter), dialogProc);
    EXPECT_EQ(ProcOf(GetDlgItem(dialogAfter, IDOK)), dialogButtonProc);
    EXPECT_EQ(ProcOf(dialogBefore), dialogProc);
    DestroyWindow(dialogAfter);
    DestroyWindow(dialogBefore);
    DestroyWindow(later);
}

TEST_F(SkinEngine, UnloadingGivesTheWindowsTheirProceduresBack)
{
    std::vector<LONG_PTR> before = Procs();
    ASSERT_EQ(Attach(), 0);
    ASSERT_NE(Procs(), before);
    FreeLibrary(engine);
    engine = nullptr;
    EXPECT_EQ(Procs(), before);
    Pump(100);  // the windows still paint and answer, with their own procedures
    EXPECT_TRUE(IsWindow(sample.window));
}

void ClickAt(POINT at)
{
    SetCursorPos(at.x, at.y);
    Pump(50);
    // Both at once: a press may start a loop of the window's own that waits for the release.
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
}

void TypeKey(WORD key)
{
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

POINT CentreOf(HWND window)
{
    RECT rect = ScreenRect(window);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

TEST_F(SkinEngine, ControlsStillWorkWithMouseAndKeyboard)
{
    ASSERT_EQ(Attach(), 0);
    Pump(200);

    ClickAt(CentreOf(sample.backup));
    EXPECT_TRUE(PumpUntil([] { return ClicksOf(BackupButtonId) == 1; }, 3000)) << "mouse click on a button";

    ClickAt(CentreOf(sample.check));
    EXPECT_TRUE(PumpUntil([&] { return SendMessageA(sample.check, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }, 3000))
        << "mouse click on the check box";
    SetFocus(sample.check);
    TypeKey(VK_SPACE);
    EXPECT_TRUE(PumpUntil([&] { return SendMessageA(sample.check, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 3000))
        << "space on the check box";

    SetFocus(sample.restore);
    TypeKey(VK_SPACE);
    EXPECT_TRUE(PumpUntil([] { return ClicksOf(RestoreButtonId) == 1; }, 3000)) << "space on a button";

    SetFocus(sample.combo);
    TypeKey(VK_DOWN);
    EXPECT_TRUE(PumpUntil([&] { return SendMessageA(sample.combo, CB_GETCURSEL, 0, 0) == 1; }, 3000))
        << "arrow key in the drop-down list";
    SendMessageA(sample.combo, CB_SHOWDROPDOWN, TRUE, 0);
    EXPECT_TRUE(PumpUntil([&] { return SendMessageA(sample.combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }, 3000));
    TypeKey(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil([&] { return SendMessageA(sample.combo, CB_GETDROPPEDSTATE, 0, 0) == 0; }, 3000))
        << "Esc closes the opened list";

    ClickAt(CentreOf(sample.edit));
    for (WORD key : {'A', 'B', '1'}) TypeKey(key);
    EXPECT_TRUE(PumpUntil([&] {
        char text[16] = {};
        GetWindowTextA(sample.edit, text, sizeof text);
        return std::string(text) == "ab1";
    }, 3000)) << "typing into the edit box";
}

TEST_F(SkinEngine, CaptionButtonsAreOursAndWork)
{
    ASSERT_EQ(Attach(), 0);
    Pump(200);
    RECT frame = ScreenRect(sample.window);
    POINT client = {0, 0};
    ClientToScreen(sample.window, &client);
    // Our close button: the right end of the caption.
    POINT close = {frame.right - (client.x - frame.left) - 2 - 8, (frame.top + client.y) / 2 + 1};
    LRESULT hit = SendMessageA(sample.window, WM_NCHITTEST, 0, MAKELPARAM(close.x, close.y));
    EXPECT_EQ(hit, HTCLOSE);
    POINT minimise = {close.x - 18, close.y};
    EXPECT_EQ(SendMessageA(sample.window, WM_NCHITTEST, 0, MAKELPARAM(minimise.x, minimise.y)), HTMINBUTTON);
    ClickAt(close);
    EXPECT_TRUE(PumpUntil([] { return SampleWindowDestroyed(); }, 3000)) << "a click on our close button";
}

TEST_F(SkinEngine, ScreenshotsDifferInTheSkinnedAreasAndTheTextsStay)
{
    Screen plain, skinned;
    ASSERT_TRUE(CaptureScreen("engine-plain", &plain));
    ASSERT_EQ(Attach(), 0);
    Pump(400);
    ASSERT_TRUE(CaptureScreen("engine-skinned", &skinned));

    RECT frame = ScreenRect(sample.window);
    POINT origin = {0, 0};
    ClientToScreen(sample.window, &origin);
    RECT caption = {frame.left + 4, frame.top + 4, frame.right - 50, origin.y - 2};
    RECT background = {origin.x + 4, origin.y + 184, origin.x + 180, origin.y + 200};
    struct Area { const char* name; RECT rect; } areas[] = {
        {"caption", caption},
        {"background", background},
        {"button", ScreenRect(sample.backup)},
        {"check box", ScreenRect(sample.check)},
        {"combo box", ScreenRect(sample.combo)},
    };
    for (const Area& area : areas)
        EXPECT_GT(DifferingShare(plain, skinned, area.rect), 0.2) << area.name;
    EXPECT_GT(DifferingShare(plain, skinned, ScreenRect(sample.edit)), 0.0) << "edit frame";

    // The texts are still there, in the colours the window asks for.
    const RECT hint = ScreenRect(sample.hint);
    EXPECT_GT(CountNear(plain, hint, kHintRed, 40), 100);
    EXPECT_GT(CountNear(skinned, hint, kHintRed, 40), 100) << "the hint stays red";
    EXPECT_GT(CountNear(skinned, ScreenRect(sample.label), RGB(0, 0, 0), 60), 15) << "label text";
    EXPECT_GT(CountNear(skinned, ScreenRect(sample.check), RGB(0, 0, 0), 60), 15) << "check box text";
    EXPECT_GT(CountNear(skinned, ScreenRect(sample.backup), RGB(20, 40, 80), 50), 15) << "button text";
    // Labels are transparent: around the hint's letters lies the window's own skinned background.
    COLORREF corner = skinned.At(hint.right - 2, hint.bottom - 2);
    EXPECT_EQ(corner, skinned.At(hint.right + 2, hint.bottom - 2));
    EXPECT_NE(corner, plain.At(hint.right - 2, hint.bottom - 2));
}

}  // namespace
