#include <gtest/gtest.h>
#include "driver/driver.h"
#include "support/test_support.h"

namespace {

const DWORD kBoxWait = 20000;
const DWORD kFatalExit = 0xFFFFFFFF;

class SysProbe : public ::testing::Test {
protected:
    ScratchDir dir_{"sys-probe"};
    Program program_;

    void TearDown() override { KillProgram(program_); }

    std::string Output() const { return dir_ / "out.txt"; }

    void Start(const std::string& arguments, const std::string& exe = "")
    {
        std::string path = exe.empty() ? BinPath("sys_probe.exe") : exe;
        program_ = StartProgram("\"" + path + "\" " + arguments, "", {"BV_PROBE_OUT=" + Output()});
        ASSERT_NE(program_.process, nullptr) << arguments;
    }

    MessageBoxInfo Box()
    {
        MessageBoxInfo box;
        EXPECT_TRUE(WaitForMessageBox(program_.pid, kBoxWait, &box)) << "no box appeared";
        return box;
    }

    DWORD ExitCode()
    {
        DWORD code = 0;
        EXPECT_TRUE(WaitForExit(program_, kBoxWait, &code)) << "the program did not end";
        return code;
    }

    // The fatal box: its text, title, one OK button and the error icon; then the exit code.
    void ExpectFatalBox(const std::string& text)
    {
        MessageBoxInfo box = Box();
        EXPECT_EQ(box.title, "错误");
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.buttons.size(), 1u);
        EXPECT_TRUE(box.hasIcon);
        PressDialogButton(box.hwnd, IDOK);
        EXPECT_EQ(ExitCode(), kFatalExit);
    }
};

TEST_F(SysProbe, ShowMessageResults)
{
    enum Answer { PressOk, PressCancel, PressEscape, CloseBox };
    struct Case {
        const char* name;
        const char* buttons;
        Answer answer;
        size_t buttonCount;
        DWORD expected;
    } cases[] = {
        {"OK of OK/Cancel", "okcancel", PressOk, 2, 0},
        {"Cancel of OK/Cancel", "okcancel", PressCancel, 2, 1},
        {"Esc in OK/Cancel", "okcancel", PressEscape, 2, 1},
        {"close box of OK/Cancel", "okcancel", CloseBox, 2, 1},
        {"OK of OK only", "ok", PressOk, 1, 0},
        {"Esc in OK only", "ok", PressEscape, 1, 0},
        {"close box of OK only", "ok", CloseBox, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start(std::string("message ") + c.buttons);
        MessageBoxInfo box = Box();
        EXPECT_EQ(box.title, "信息：");
        EXPECT_EQ(box.text, "探针消息：请选择");
        EXPECT_EQ(box.buttons.size(), c.buttonCount);
        EXPECT_FALSE(box.hasIcon);
        switch (c.answer) {
        case PressOk: PressDialogButton(box.hwnd, IDOK); break;
        case PressCancel: PressDialogButton(box.hwnd, IDCANCEL); break;
        case PressEscape: PressKey(GetDlgItem(box.hwnd, IDOK), VK_ESCAPE); break;
        case CloseBox: CloseDialog(box.hwnd); break;
        }
        EXPECT_EQ(ExitCode(), c.expected);
        CloseProgram(program_);
    }
}

TEST_F(SysProbe, ListPositionOutsideTheListIsFatal)
{
    struct Case {
        const char* position;
        const char* text;
    } cases[] = {
        {"0", "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n"},
        {"-3", "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n"},
        {"1", "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        Start(std::string("listat ") + c.position);
        ExpectFatalBox(c.text);
        CloseProgram(program_);
    }
}

TEST_F(SysProbe, FatalErrorSkipsTheExitCallback)
{
    Start("fatal 探针故障");
    ExpectFatalBox("运行时出错!\r\n\r\n错误信息：探针故障\r\n");
    // The window and libraries are still released; the program's own clean-up is not run.
    EXPECT_EQ(ReadFileBytes(Output()), "window\n");
}

TEST_F(SysProbe, FatalErrorWithoutCodeOrMessageShowsTheHeaderOnly)
{
    Start("fatal");
    ExpectFatalBox("运行时出错!\r\n\r\n");
}

TEST_F(SysProbe, RefusedAllocationNamesTheBytes)
{
    Start("allocate");
    ExpectFatalBox("运行时出错!\r\n\r\n错误信息：分配 " + std::to_string(static_cast<size_t>(-1) / 4) +
                   " 字节内存失败!\r\n");
}

TEST_F(SysProbe, EndProgramRunsTheExitCallbackOnce)
{
    DWORD code = 0;
    Start("exit-callback");
    ASSERT_TRUE(WaitForExit(program_, kBoxWait, &code));
    EXPECT_EQ(code, 7u);
    EXPECT_EQ(ReadFileBytes(Output()), "callback\nwindow\n");
    CloseProgram(program_);

    // A callback that ends the program itself is not run a second time.
    DeleteFileA(Output().c_str());
    Start("exit-callback-reenter");
    ASSERT_TRUE(WaitForExit(program_, kBoxWait, &code));
    EXPECT_EQ(code, 9u);
    EXPECT_EQ(ReadFileBytes(Output()), "callback\nwindow\n");
}

TEST_F(SysProbe, MissingLibraryOrEntryIsFatal)
{
    struct Case {
        const char* scenario;
        const char* text;
    } cases[] = {
        {"missing-library",
         "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“bv_missing_library.dll”中的输出命令“BvMissingEntry”\r\n"},
        {"missing-kernel32-entry",
         "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“kernel32”中的输出命令“BvMissingEntry”\r\n"},
        {"missing-entry", "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件中的输出命令“BvMissingEntry”\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scenario);
        Start(c.scenario);
        ExpectFatalBox(c.text);
        CloseProgram(program_);
    }
}

TEST_F(SysProbe, SystemEntriesResolve)
{
    Start("process-list");
    EXPECT_EQ(ExitCode(), 0u);
    EXPECT_EQ(ReadFileBytes(Output()), "sys_probe.exe\n");
    CloseProgram(program_);
    Start("shell-notify");
    EXPECT_EQ(ExitCode(), 0u);
}

// Wine itself prefers its own copy of a system library, whatever the program asks for. A probe
// copy that Wine is told to give the native mpr.dll first loads a planted one wherever it looks
// beside itself, as a program on Windows would; this is how the test can see a wrong load.
TEST_F(SysProbe, PlantedSystemLibrariesAreNotLoaded)
{
    const std::string nativeName = "bv_native_probe.exe";
    RegistryKeyGuard nativeFirst(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\" + nativeName);
    SetRegistryString(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\" + nativeName + "\\DllOverrides", "mpr",
                      "native,builtin");
    std::string probe = dir_ / nativeName;
    std::string plant = BinDir() + "\\sys_plant\\bv_plant.dll";
    std::string marker = dir_ / "loaded.txt";
    ASSERT_TRUE(CopyFileA(BinPath("sys_probe.exe").c_str(), probe.c_str(), FALSE));
    for (const char* name : {"shell32.dll", "kernel32.dll", "mpr.dll", "bv_marker.dll"}) {
        ASSERT_TRUE(CopyFileA(plant.c_str(), (dir_ / name).c_str(), FALSE)) << name;
    }
    auto run = [&](const std::string& arguments) {
        DeleteFileA(marker.c_str());
        Start(arguments, probe);
        DWORD code = ExitCode();
        CloseProgram(program_);
        return code;
    };

    // The test can see a load: the planted library by its full path, and under a name of its own.
    EXPECT_EQ(run("load " + (dir_ / "mpr.dll")), 0u);
    EXPECT_TRUE(PathExists(marker)) << "the planted library did not load by its full path";
    EXPECT_EQ(run("library-notify"), 0u);
    EXPECT_TRUE(PathExists(marker)) << "a library of its own name is looked for beside the program";

    // A named system library, and the list tried for an empty name, come from the system folder.
    struct Case {
        const char* arguments;
    } cases[] = {{"resolve mpr WNetGetConnectionA"}, {"resolve \"\" WNetGetConnectionA"}, {"shell-notify"},
                 {"process-list"}};
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.arguments), 0u) << c.arguments;
        EXPECT_FALSE(PathExists(marker)) << c.arguments;
    }
}

}  // namespace
