// Backup files and paths that are not what they should be: each ends in a clear message or the
// documented behaviour, and neither the QQ data nor the backup folder changes.
#include "ops_fixture.h"


class BadInput : public OpsWorld {
protected:
    std::string Restore(const std::string& path)
    {
        program_ = StartRestore("\"" + path + "\"");
        std::string text = NextMessage();
        DWORD code = 1;
        EXPECT_TRUE(WaitForExit(program_, 20000, &code));
        EXPECT_EQ(code, 0u);
        CloseProgram(program_);
        return text;
    }
};

TEST_F(BadInput, BackupFilesThatCannotBeRestored)
{
    struct Case { const char* name; const char* content; bool create; const char* message; } cases[] = {
        {"not-a-zip.qq", "PK but not really a zip", true, kUnpackFailed},
        {"empty.qq", "", true, kUnpackFailed},
        {"missing.qq", "", false, kUnreadable},
    };
    const auto data = SnapshotTree(users_);
    for (const Case& c : cases) {
        const std::string path = backups_ + "\\" + c.name;
        if (c.create) WriteFileBytes(path, c.content);
        const auto folder = SnapshotTree(backups_);
        EXPECT_EQ(Restore(path), c.message) << c.name;
        EXPECT_EQ(SnapshotTree(backups_), folder) << c.name;
        EXPECT_EQ(SnapshotTree(users_), data) << c.name;
    }
}

TEST_F(BadInput, BackupHeldOpenByAnotherProgramIsLeftAlone)
{
    const std::string path = MakeBackup(backups_ + "\\held.qq");
    RemoveTree(Account() + "\\Note");
    const auto data = SnapshotTree(users_);
    const std::string bytes = ReadFileBytes(path);
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::string text = Restore(path);
    CloseHandle(held);
    EXPECT_TRUE(text == kUnpackFailed || text == kUnreadable) << text;
    EXPECT_EQ(SnapshotTree(users_), data);
    EXPECT_EQ(ReadFileBytes(path), bytes);
    // While held, the second name given to the archiver cannot be taken away again; it is the
    // same file, and the next restore clears it.
    if (PathExists(backups_ + "\\held.zip")) EXPECT_EQ(ReadFileBytes(backups_ + "\\held.zip"), bytes);
    EXPECT_EQ(Restore(path), kRestoreDone);
    EXPECT_FALSE(PathExists(backups_ + "\\held.zip"));
    EXPECT_EQ(ReadFileBytes(path), bytes);
}

TEST_F(BadInput, PathsWithCharactersTheShellAndTheArchiverTreatSpecially)
{
    const auto atBackup = SnapshotTree(Account());
    std::string longFolder = *root_ / std::string(210 - root_->path().size(), 'L');
    const char* folders[] = {"with blanks", "100% sure", "Tom & Jerry", "caret^s", "\xB1\x5C\xD5\x5C", ""};
    for (const char* folder : folders) {
        std::string path = (*folder ? *root_ / folder : longFolder) + "\\12345 backup.qq";
        MakeBackup(path);
        EmptyAccount();
        EXPECT_EQ(Restore(path), kRestoreDone) << path;
        EXPECT_EQ(SnapshotTree(Account()), atBackup) << path;
        EXPECT_TRUE(PathExists(path)) << path;
    }
}

TEST_F(BadInput, BackupToPathsWithSpecialCharacters)
{
    StartWindow();
    ClickButton(Control("不备份聊天内容中的图片"));
    const auto before = SnapshotTree(Account());
    for (const char* name : {"100% & ^ more.qq", "\xB1\x5C \xD5\x5C.qq"}) {
        const std::string path = backups_ + "\\" + name;
        Click("备份数据");
        ASSERT_TRUE(AnswerFileDialog(program_.pid, path, 20000));
        EXPECT_EQ(NextMessage(), kBackupDone) << name;
        std::string out = *root_ / ("check-" + std::to_string(GetTickCount()));
        ASSERT_TRUE(ExtractWithPython(path, out)) << name;
        EXPECT_EQ(SnapshotTree(out + "\\12345"), before) << name;
    }
    CloseWindowAndWait();
}

TEST_F(BadInput, AccountWithALockedFileIsNotReportedAsBackedUp)
{
    const std::string locked = Account() + "\\Msg3.0.db";
    HANDLE held = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    StartWindow();
    ClickButton(Control("不备份聊天内容中的图片"));
    Click("备份数据");
    ASSERT_TRUE(AnswerFileDialog(program_.pid, backups_ + "\\locked.qq", 20000));
    EXPECT_EQ(NextMessage(), kPackFailed);
    CloseHandle(held);
    EXPECT_FALSE(PathExists(backups_ + "\\locked.qq"));
    CloseWindowAndWait();
}
