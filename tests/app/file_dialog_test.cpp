// The file dialog component through the real Open and Save dialogs, answered as a user would.
#include <gtest/gtest.h>
#include "app_fixture.h"

namespace {

const DWORD kWait = 30000;

struct DialogOutcome {
    bool accepted = false;
    std::string fileName;
};

class FileDialogTest : public ::testing::Test {
protected:
    Program Start(const char* kind, const std::string& fileName)
    {
        std::string arguments = std::string(kind) + " \"" + result_ + "\"";
        if (!fileName.empty()) arguments += " \"" + fileName + "\"";
        return StartBuilt("app_file_dialog_host.exe", arguments);
    }
    DialogOutcome Outcome(Program& program)
    {
        EXPECT_EQ(ExitCodeWithin(program, kWait), 0);
        std::string text = ReadFileBytes(result_);
        DialogOutcome outcome;
        outcome.accepted = text.compare(0, 2, "1\n") == 0;
        if (text.size() >= 2) outcome.fileName = text.substr(2);
        return outcome;
    }

    ScratchDir scratch_{"app-dialog"};
    std::string result_ = scratch_ / "result.txt";
};

struct CancelCase {
    const char* name;
    const char* kind;
    const char* fileName;
};

class FileDialogCancelTest : public FileDialogTest, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(FileDialogCancelTest, KeepsFileName)
{
    Program program = Start(GetParam().kind, GetParam().fileName);
    ProgramGuard guard{program};
    ASSERT_TRUE(CancelFileDialog(program.pid, kWait));
    DialogOutcome outcome = Outcome(program);
    EXPECT_FALSE(outcome.accepted);
    EXPECT_EQ(outcome.fileName, GetParam().fileName);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, FileDialogCancelTest,
                         ::testing::Values(CancelCase{"SaveWithAccountName", "save", "10001"},
                                           CancelCase{"OpenOnFirstUse", "open", ""},
                                           CancelCase{"OpenAfterEarlierPath", "open", "C:\\bvtest\\old.qq"}),
                         [](const ::testing::TestParamInfo<CancelCase>& info) { return info.param.name; });

TEST_F(FileDialogTest, DialogIsOwnedByTheWindowAndBlocksIt)
{
    Program program = Start("save", "10001");
    ProgramGuard guard{program};
    HWND dialog = WaitForFileDialog(program.pid, kWait);
    ASSERT_TRUE(dialog);
    HWND window = FindProcessWindow(program.pid, kMainWindowClass, nullptr);
    ASSERT_TRUE(window);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), window);
    EXPECT_FALSE(IsWindowEnabled(window));
    ASSERT_TRUE(CancelFileDialog(program.pid, kWait));
    Outcome(program);
}

TEST_F(FileDialogTest, SaveAddsTheExtensionToATypedName)
{
    Program program = Start("save", "10001");
    ProgramGuard guard{program};
    ASSERT_TRUE(AnswerFileDialog(program.pid, scratch_ / "my backup", kWait));
    DialogOutcome outcome = Outcome(program);
    EXPECT_TRUE(outcome.accepted);
    EXPECT_EQ(outcome.fileName, scratch_ / "my backup.qq");
}

TEST_F(FileDialogTest, SaveOverAnExistingFileAsksFirst)
{
    WriteFileBytes(scratch_ / "old.qq", "old");
    Program program = Start("save", "10001");
    ProgramGuard guard{program};
    ASSERT_TRUE(AnswerFileDialog(program.pid, scratch_ / "old.qq", kWait));
    MessageBoxInfo question;
    ASSERT_TRUE(WaitForMessageBox(program.pid, kWait, &question)) << "no question before replacing";
    PressDialogButton(question.hwnd, IDYES);
    DialogOutcome outcome = Outcome(program);
    EXPECT_TRUE(outcome.accepted);
    EXPECT_EQ(outcome.fileName, scratch_ / "old.qq");
}

TEST_F(FileDialogTest, OpenAcceptsAnExistingFileWithItsFullPath)
{
    WriteFileBytes(scratch_ / "10001.qq", "backup");
    Program program = Start("open", "");
    ProgramGuard guard{program};
    ASSERT_TRUE(AnswerFileDialog(program.pid, scratch_ / "10001.qq", kWait));
    DialogOutcome outcome = Outcome(program);
    EXPECT_TRUE(outcome.accepted);
    EXPECT_EQ(outcome.fileName, scratch_ / "10001.qq");
}

TEST_F(FileDialogTest, OpenRefusesAMissingFile)
{
    Program program = Start("open", "C:\\bvtest\\old.qq");
    ProgramGuard guard{program};
    ASSERT_TRUE(AnswerFileDialog(program.pid, scratch_ / "missing.qq", kWait));
    MessageBoxInfo refusal;
    ASSERT_TRUE(WaitForMessageBox(program.pid, kWait, &refusal)) << "the missing file was not refused";
    PressDialogButton(refusal.hwnd, IDOK);
    ASSERT_TRUE(CancelFileDialog(program.pid, kWait));
    DialogOutcome outcome = Outcome(program);
    EXPECT_FALSE(outcome.accepted);
    EXPECT_EQ(outcome.fileName, "C:\\bvtest\\old.qq");
}

}  // namespace
