// How a start ends: the checks of window mode with their messages, restore mode without the
// window, and the exit clean-up that runs once on every normal end and never after a fatal error.
#include <gtest/gtest.h>
#include "app_fixture.h"

namespace {

const DWORD kWait = 30000;

struct StartCase {
    const char* name;
    bool winRar;
    bool zip360;
    bool qq;
    const char* message;  // null: the window opens
};

class StartCheckTest : public ::testing::TestWithParam<StartCase> {};

TEST_P(StartCheckTest, ShowsOnlyItsMessageAndEndsWithZero)
{
    const StartCase& c = GetParam();
    RecordedMachine machine("app-start");
    if (c.qq) machine.RecordQq({"10001"});
    if (c.winRar) machine.RecordWinRar();
    if (c.zip360) machine.Record360Zip();
    Program program = StartBuilt("brinkvale.exe");
    ProgramGuard guard{program};

    if (!c.message) {
        ASSERT_TRUE(WaitForWindow(program.pid, kMainWindowClass, nullptr, kWait));
        PostMessageA(FindProcessWindow(program.pid, kMainWindowClass, nullptr), WM_CLOSE, 0, 0);
        EXPECT_EQ(ExitCodeWithin(program, kWait), 0);
        return;
    }
    MessageBoxInfo box;
    ASSERT_TRUE(WaitForMessageBox(program.pid, kWait, &box));
    EXPECT_EQ(box.title, kMessageTitle);
    EXPECT_EQ(box.text, c.message);
    EXPECT_EQ(box.buttons, std::vector<std::string>{"确定"});
    EXPECT_FALSE(box.hasIcon);
    EXPECT_FALSE(FindProcessWindow(program.pid, kMainWindowClass, nullptr)) << "the window was shown";
    PressDialogButton(box.hwnd, IDOK);
    // A second message would keep the process from ending.
    EXPECT_EQ(ExitCodeWithin(program, kWait), 0);
}

INSTANTIATE_TEST_SUITE_P(
    WindowMode, StartCheckTest,
    ::testing::Values(StartCase{"NoArchiver", false, false, true, kNoArchiverMessage},
                      StartCase{"NoQq", true, false, false, kNoQqMessage},
                      StartCase{"NeitherArchiverWins", false, false, false, kNoArchiverMessage},
                      StartCase{"OnlyZip360", false, true, true, nullptr},
                      StartCase{"WinRarAndQq", true, false, true, nullptr}),
    [](const ::testing::TestParamInfo<StartCase>& info) { return info.param.name; });

TEST(RestoreMode, NeverShowsTheWindowAndEndsWithZero)
{
    RecordedMachine machine("app-restore");
    machine.RecordQq({"10001"});
    machine.RecordWinRar();
    Program program = StartBuilt("brinkvale.exe", "\"" + (machine.scratch() / "no such backup.qq") + "\"");
    ProgramGuard guard{program};
    // The restore reports the missing file; the window stays hidden meanwhile and afterwards.
    MessageBoxInfo box;
    ASSERT_TRUE(WaitForMessageBox(program.pid, kWait, &box));
    EXPECT_FALSE(FindProcessWindow(program.pid, kMainWindowClass, nullptr));
    PressDialogButton(box.hwnd, IDOK);
    EXPECT_EQ(ExitCodeWithin(program, kWait), 0);
}

// The probe is the program's own start-up with the release of the shared state written to a
// log, and with an unexpected list read (a fatal run-time error) on request.
class ExitCleanUpTest : public ::testing::Test {
protected:
    std::vector<std::string> ProbeEnvironment(bool fatal) const
    {
        std::vector<std::string> environment{"BV_RELEASE_LOG=" + log_};
        if (fatal) environment.push_back("BV_FATAL_AT_DATA_ROOT=1");
        return environment;
    }
    std::string Log() const { return ReadFileBytes(log_); }

    RecordedMachine machine_{"app-cleanup"};
    std::string log_ = machine_.scratch() / "release.log";
};

TEST_F(ExitCleanUpTest, RunsOnceWhenTheWindowIsClosed)
{
    machine_.RecordQq({"10001"});
    machine_.RecordWinRar();
    Program program = StartBuilt("app_startup_probe.exe", "", ProbeEnvironment(false));
    ProgramGuard guard{program};
    HWND window = WaitForWindow(program.pid, kMainWindowClass, nullptr, kWait);
    ASSERT_TRUE(window);
    EXPECT_EQ(Log(), "") << "released while the window is open";
    PressKey(window, VK_ESCAPE);
    EXPECT_EQ(ExitCodeWithin(program, kWait), 0);
    EXPECT_EQ(Log(), "released\n");
}

TEST_F(ExitCleanUpTest, RunsOnceWhenAStartCheckEndsTheProgram)
{
    machine_.RecordQq({"10001"});
    Program program = StartBuilt("app_startup_probe.exe", "", ProbeEnvironment(false));
    ProgramGuard guard{program};
    MessageBoxInfo box;
    ASSERT_TRUE(WaitForMessageBox(program.pid, kWait, &box));
    EXPECT_EQ(box.text, kNoArchiverMessage);
    PressDialogButton(box.hwnd, IDOK);
    EXPECT_EQ(ExitCodeWithin(program, kWait), 0);
    EXPECT_EQ(Log(), "released\n");
}

TEST_F(ExitCleanUpTest, RunsOnceAfterRestoreMode)
{
    machine_.RecordQq({"10001"});
    machine_.RecordWinRar();
    Program program = StartBuilt("app_startup_probe.exe", "\"" + (machine_.scratch() / "missing.qq") + "\"",
                                 ProbeEnvironment(false));
    ProgramGuard guard{program};
    MessageBoxInfo box;
    ASSERT_TRUE(WaitForMessageBox(program.pid, kWait, &box));
    PressDialogButton(box.hwnd, IDOK);
    EXPECT_EQ(ExitCodeWithin(program, kWait), 0);
    EXPECT_EQ(Log(), "released\n");
}

TEST_F(ExitCleanUpTest, SkippedAfterAFatalError)
{
    machine_.RecordQq({"10001"});
    machine_.RecordWinRar();
    Program program = StartBuilt("app_startup_probe.exe", "", ProbeEnvironment(true));
    ProgramGuard guard{program};
    MessageBoxInfo box;
    ASSERT_TRUE(WaitForMessageBox(program.pid, kWait, &box));
    EXPECT_NE(box.text.find("运行时出错"), std::string::npos) << box.text;
    EXPECT_FALSE(FindProcessWindow(program.pid, kMainWindowClass, nullptr));
    PressDialogButton(box.hwnd, IDOK);
    EXPECT_EQ(ExitCodeWithin(program, kWait), -1);
    EXPECT_EQ(Log(), "");
}

}  // namespace
