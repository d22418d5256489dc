// Backups and restores through the real window and the real command line, with the stand-in
// archiver, checked by an independent zip reader and by comparing folder trees byte for byte.
#include "ops_fixture.h"

static const char kBackupPrompt[] = "检测到您现在正在运行QQ，是否要强制退出QQ后再进行数据备份？";

class BackupRestore : public OpsWorld {
protected:
    // Backup through the window: click, answer the save dialog, read the message.
    std::string Backup(const std::string& path)
    {
        Click("备份数据");
        EXPECT_TRUE(AnswerFileDialog(program_.pid, path, 20000));
        return NextMessage();
    }
    void Untick() { Click("不备份聊天内容中的图片"); }
};

TEST_F(BackupRestore, TickedBoxLeavesThePicturesOutAndKeepsThemInTheData)
{
    const auto before = SnapshotTree(Account());
    StartWindow();
    const std::string backup = backups_ + "\\12345.qq";
    EXPECT_EQ(Backup(backup), kBackupDone);

    for (const std::string& name : ZipEntryNames(backup)) EXPECT_EQ(name.rfind("12345/", 0), 0u) << name;
    ASSERT_TRUE(ExtractWithPython(backup, *root_ / "unpacked"));
    EXPECT_EQ(SnapshotTree(*root_ / "unpacked\\12345"), Without(before, "Image"));
    EXPECT_EQ(SnapshotTree(Account()), before);
    EXPECT_FALSE(PathExists(*root_ / "unpacked\\12345\\Image"));
    CloseWindowAndWait();
}

TEST_F(BackupRestore, UntickedBoxPacksTheWholeAccount)
{
    const auto before = SnapshotTree(Account());
    StartWindow();
    Untick();
    const std::string backup = backups_ + "\\whole.qq";
    EXPECT_EQ(Backup(backup), kBackupDone);
    ASSERT_TRUE(ExtractWithPython(backup, *root_ / "unpacked"));
    EXPECT_EQ(SnapshotTree(*root_ / "unpacked\\12345"), before);
    EXPECT_EQ(SnapshotTree(Account()), before);
    CloseWindowAndWait();
}

TEST_F(BackupRestore, RoundTripBringsBackTheStateAtBackupTime)
{
    StartWindow();
    Untick();
    const auto atBackup = SnapshotTree(Account());
    const std::string backup = backups_ + "\\12345.qq";
    // A name typed without extension gets ".qq" from the dialog.
    EXPECT_EQ(Backup(backups_ + "\\12345"), kBackupDone);
    ASSERT_TRUE(PathExists(backup));

    WriteFileBytes(Account() + "\\Info.db", "changed since");
    DeleteFileA((Account() + "\\Msg3.0.db").c_str());
    RemoveTree(Account() + "\\Image");

    Click("还原数据");
    ASSERT_TRUE(AnswerFileDialog(program_.pid, backup, 20000));
    MessageBoxInfo box;
    ASSERT_TRUE(WaitForMessageBox(program_.pid, 30000, &box));
    EXPECT_EQ(box.text, kRestoreDone);
    // While the message is open the backup already bears its own name, and only that name.
    EXPECT_TRUE(PathExists(backup));
    EXPECT_FALSE(PathExists(backups_ + "\\12345.zip"));
    PressDialogButton(box.hwnd, IDOK);

    EXPECT_EQ(SnapshotTree(Account()), atBackup);
    EXPECT_TRUE(PathExists(backup));
    CloseWindowAndWait();
}

TEST_F(BackupRestore, CancelledDialogsDoNothing)
{
    StartWindow();
    Click("备份数据");
    ASSERT_TRUE(CancelFileDialog(program_.pid, 20000));
    EXPECT_TRUE(NoMessageFor(2000));
    Click("还原数据");
    ASSERT_TRUE(CancelFileDialog(program_.pid, 20000));
    EXPECT_TRUE(NoMessageFor(2000));
    EXPECT_EQ(ArchiverLog(), "");
    EXPECT_FALSE(PathExists(appDir_ + "\\12345"));
    CloseWindowAndWait();
}

TEST_F(BackupRestore, NoAccountIsToldAndNothingElseHappens)
{
    RemoveTree(Account());
    StartWindow();
    Click("备份数据");
    EXPECT_EQ(NextMessage(), kNoAccount);
    EXPECT_EQ(WaitForFileDialog(program_.pid, 1500), nullptr);
    EXPECT_EQ(ArchiverLog(), "");
    CloseWindowAndWait();
}

TEST_F(BackupRestore, FailingArchiverIsReportedAndKeepsTheEarlierBackup)
{
    const std::string backup = backups_ + "\\12345.qq";
    WriteFileBytes(backup, "the earlier backup");
    StartWindow({"BRINKVALE_ARCHIVER_FAIL=1"});
    Click("备份数据");
    ASSERT_TRUE(AnswerFileDialog(program_.pid, backup, 20000));
    EXPECT_EQ(NextMessage(), kPackFailed);
    EXPECT_EQ(ReadFileBytes(backup), "the earlier backup");

    Click("还原数据");
    ASSERT_TRUE(AnswerFileDialog(program_.pid, backup, 20000));
    EXPECT_EQ(NextMessage(), kUnpackFailed);
    EXPECT_EQ(ReadFileBytes(backup), "the earlier backup");
    EXPECT_FALSE(PathExists(backups_ + "\\12345.zip"));
    CloseWindowAndWait();
}

TEST_F(BackupRestore, BackupThatCannotBeSavedIsReported)
{
    const std::string backup = backups_ + "\\locked.qq";
    WriteFileBytes(backup, "held open");
    HANDLE held = CreateFileA(backup.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    StartWindow();
    Click("备份数据");
    ASSERT_TRUE(AnswerFileDialog(program_.pid, backup, 20000));
    EXPECT_EQ(NextMessage(), kMoveFailed);
    CloseHandle(held);
    EXPECT_EQ(ReadFileBytes(backup), "held open");
    CloseWindowAndWait();
}

TEST_F(BackupRestore, RunningQqIsEndedOnlyWhenTheUserAgrees)
{
    Program qq = StartProgram("\"" + BinPath("standin\\qq\\QQ.exe") + "\"");
    ASSERT_NE(qq.process, nullptr);
    Sleep(500);
    StartWindow();
    Click("备份数据");
    EXPECT_EQ(NextMessage(false), kBackupPrompt);
    EXPECT_EQ(WaitForFileDialog(program_.pid, 1500), nullptr);
    DWORD code = 0;
    EXPECT_FALSE(WaitForExit(qq, 500, &code)) << "QQ was ended although the user said Cancel";

    Click("备份数据");
    EXPECT_EQ(NextMessage(true), kBackupPrompt);
    EXPECT_TRUE(WaitForExit(qq, 15000, &code));
    ASSERT_TRUE(AnswerFileDialog(program_.pid, backups_ + "\\after-qq.qq", 20000));
    EXPECT_EQ(NextMessage(), kBackupDone);
    EXPECT_TRUE(PathExists(backups_ + "\\after-qq.qq"));
    CloseWindowAndWait();
    KillProgram(qq);
}

class CommandLineRestore : public BackupRestore {
protected:
    // A backup of the current account state made by the stand-in archiver directly.
    std::string RunRestore(const std::string& path, DWORD* exitCode)
    {
        program_ = StartRestore("\"" + path + "\"");
        std::string text = NextMessage();
        EXPECT_TRUE(WaitForExit(program_, 20000, exitCode));
        EXPECT_EQ(FindProcessWindow(program_.pid, nullptr, "Brinkvale"), nullptr);
        CloseProgram(program_);
        return text;
    }
};

TEST_F(CommandLineRestore, QuotedPathWithBlanksAndGbkCharacters)
{
    const auto atBackup = SnapshotTree(Account());
    const std::string path = MakeBackup(*root_ / "我的 备份\\\xB1\x5C 12345.qq");
    EmptyAccount();
    DWORD code = 1;
    EXPECT_EQ(RunRestore(path, &code), kRestoreDone);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(SnapshotTree(Account()), atBackup);
    EXPECT_TRUE(PathExists(path));
}

TEST_F(CommandLineRestore, DottedFolderKeepsTheFileInItsFolder)
{
    const std::string path = MakeBackup(*root_ / "my.backups\\12345");
    EmptyAccount();
    DWORD code = 1;
    EXPECT_EQ(RunRestore(path, &code), kRestoreDone);
    EXPECT_NE(ArchiverLog().find("\"" + *root_ / "my.backups\\12345.zip\""), std::string::npos) << ArchiverLog();
    EXPECT_TRUE(PathExists(path));
    EXPECT_FALSE(PathExists(*root_ / "my.zip"));
    EXPECT_FALSE(PathExists(*root_ / "my.backups\\12345.zip"));
    EXPECT_TRUE(PathExists(Account() + "\\Info.db"));
}

TEST_F(CommandLineRestore, TakenUnpackingNameIsNeitherUnpackedNorTouched)
{
    const std::string path = MakeBackup(backups_ + "\\12345.qq");
    WriteFileBytes(backups_ + "\\12345.zip", "somebody else's file");
    EmptyAccount();
    DWORD code = 1;
    EXPECT_EQ(RunRestore(path, &code), kRestoreDone);
    EXPECT_EQ(ReadFileBytes(backups_ + "\\12345.zip"), "somebody else's file");
    EXPECT_TRUE(PathExists(Account() + "\\Info.db"));
    EXPECT_TRUE(PathExists(path));
    EXPECT_FALSE(PathExists(backups_ + "\\12345~1.zip"));
}

TEST_F(CommandLineRestore, MissingOrBrokenBackupIsReported)
{
    const auto before = SnapshotTree(Account());
    DWORD code = 1;
    EXPECT_EQ(RunRestore(backups_ + "\\missing.qq", &code), kUnreadable);
    EXPECT_EQ(code, 0u);
    WriteFileBytes(backups_ + "\\broken.qq", "not a zip at all");
    EXPECT_EQ(RunRestore(backups_ + "\\broken.qq", &code), kUnpackFailed);
    EXPECT_EQ(ReadFileBytes(backups_ + "\\broken.qq"), "not a zip at all");
    EXPECT_FALSE(PathExists(backups_ + "\\broken.zip"));
    EXPECT_EQ(SnapshotTree(Account()), before);
}

// The item count and the text shown for the selection (the list's item texts do not cross
// process boundaries, the window text does).
static int ComboCount(HWND combo) { return int(SendMessageA(combo, CB_GETCOUNT, 0, 0)); }

TEST_F(CommandLineRestore, RestoredAccountIsListedAndSelected)
{
    MakeTree(users_ + "\\67890", {{"Info.db", "second account"}});
    std::string target = *root_ / "second";
    ASSERT_EQ(RunToEnd("\"" + BinPath("standin\\winrar\\WinRAR.exe") + "\" a -ep1 -r -iext -- \"" + target +
                       ".zip\" \"" + users_ + "\\67890\""), 0);
    const std::string backup = backups_ + "\\67890.qq";
    ASSERT_TRUE(MoveFileA((target + ".zip").c_str(), backup.c_str()));
    RemoveTree(users_ + "\\67890");

    StartWindow();
    HWND combo = nullptr;
    for (const ControlInfo& control : ListControls(window_))
        if (control.className == "ComboBox") combo = control.hwnd;
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(ComboCount(combo), 1);
    EXPECT_EQ(WindowText(combo), "12345");

    Click("还原数据");
    ASSERT_TRUE(AnswerFileDialog(program_.pid, backup, 20000));
    EXPECT_EQ(NextMessage(), kRestoreDone);
    EXPECT_EQ(ComboCount(combo), 2);
    EXPECT_EQ(WindowText(combo), "67890");
    CloseWindowAndWait();
}
