// Backup files and paths that are not what they should be: each ends in a clear message or the
// documented behaviour, and neither the QQ data nor the backup folder changes.
#include "ops_fixture.h"


class BadInput : public OpsWorld {
protected:
    std::string Restore(const std::string& path)
    {
        program_ = StartRestore("\"" + path + "\"");
        lastPid_ = program_.pid;
        std::string text = NextMessage();
        DWORD code = 1;
        EXPECT_TRUE(WaitForExit(program_, 20000, &code));
        EXPECT_EQ(code, 0u);
        CloseProgram(program_);
        return text;
    }
    DWORD lastPid_ = 0;
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
    if (PathExists(backups_ + "\\held.zip")) {
        EXPECT_EQ(ReadFileBytes(backups_ + "\\held.zip"), bytes);
    }
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

static std::string StagingOf(DWORD pid)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "Brinkvale\\" + std::to_string(pid);
}

static bool CanCreateIn(const std::string& folder)
{
    const std::string probe = folder + "\\probe";
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    DeleteFileA(probe.c_str());
    return true;
}

// A folder nothing can be written to, like a read-only share or a disc: the Unix folder made
// immutable, since this prefix runs as a user whom plain permissions do not stop.
class ReadOnlyFolder : public BadInput {
protected:
    bool Lock(const std::string& folder)
    {
        locked_ = folder;
        StartUnixCommand("/usr/bin/chattr +i \"" + UnixPath(folder) + "\"");
        for (int i = 0; i < 50 && CanCreateIn(folder); ++i) Sleep(100);
        return !CanCreateIn(folder);
    }
    void TearDown() override
    {
        if (!locked_.empty()) {
            StartUnixCommand("/usr/bin/chattr -i \"" + UnixPath(locked_) + "\"");
            for (int i = 0; i < 50 && !CanCreateIn(locked_); ++i) Sleep(100);
        }
        BadInput::TearDown();
    }
    std::string locked_;
};

TEST_F(ReadOnlyFolder, BackupThereIsRestoredWithoutWritingBesideIt)
{
    const std::string share = *root_ / "share";
    MakeFolders(share);
    const std::string path = MakeBackup(share + "\\12345.qq");
    const auto atBackup = SnapshotTree(Account());
    EmptyAccount();
    if (!Lock(share)) GTEST_SKIP() << "this machine cannot make a folder read-only";
    const auto folder = SnapshotTree(share);

    EXPECT_EQ(Restore(path), kRestoreDone);
    EXPECT_EQ(SnapshotTree(Account()), atBackup);
    EXPECT_EQ(SnapshotTree(share), folder);
    EXPECT_FALSE(PathExists(StagingOf(lastPid_)));
}

TEST_F(BadInput, ReadOnlyFilesKeepTheirAttributeAndLeaveNothingBehind)
{
    const std::string path = MakeBackup(backups_ + "\\12345.qq");
    const auto atBackup = SnapshotTree(Account());
    const std::string kept = Account() + "\\Info.db";
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    const auto folder = SnapshotTree(backups_);

    // Restore: the archiver's second name of a read-only backup is taken away again.
    EXPECT_EQ(Restore(path), kRestoreDone);
    EXPECT_EQ(SnapshotTree(backups_), folder);
    EXPECT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY);

    // Backup without pictures: the staging's link to a read-only file is cleared with the rest.
    SetFileAttributesA(kept.c_str(), FILE_ATTRIBUTE_READONLY);
    StartWindow();
    ClickButton(Control("不备份聊天内容中的图片"));
    Click("备份数据");
    ASSERT_TRUE(AnswerFileDialog(program_.pid, backups_ + "\\again.qq", 20000));
    EXPECT_EQ(NextMessage(), kBackupDone);
    const DWORD pid = program_.pid;
    CloseWindowAndWait();
    EXPECT_FALSE(PathExists(StagingOf(pid)));
    EXPECT_TRUE(GetFileAttributesA(kept.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(SnapshotTree(Account()), atBackup);

    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesA(kept.c_str(), FILE_ATTRIBUTE_NORMAL);
}
