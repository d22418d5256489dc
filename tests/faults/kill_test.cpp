// The program, or the archiver it started, killed at seeded random moments of a backup and of a
// restore: afterwards the QQ data and the earlier backup are whole, the user's file keeps its
// name, and what is left over lies in the temporary folder and goes with the next run.
#include "ops_fixture.h"

#include <random>


static unsigned Seed()
{
    const char* fixed = getenv("BRINKVALE_KILL_SEED");
    unsigned seed = fixed ? unsigned(strtoul(fixed, nullptr, 10)) : unsigned(GetTickCount());
    printf("kill test seed: %u (set BRINKVALE_KILL_SEED to repeat)\n", seed);
    return seed;
}

static void KillByImage(const char* image)
{
    Program killer = StartProgram(std::string("taskkill /f /im ") + image);
    DWORD code;
    WaitForExit(killer, 10000, &code);
    CloseProgram(killer);
}

class Kill : public OpsWorld {
protected:
    void SetUp() override
    {
        OpsWorld::SetUp();
        // Enough data that the archiver takes a moment.
        std::string big(256 * 1024, 'x');
        for (int i = 0; i < 40; ++i) WriteFileBytes(Account() + "\\Msg\\part" + std::to_string(i) + ".db", big + std::to_string(i));
        dataBefore_ = SnapshotTree(Account());
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        temp_ = temp;
    }
    void TearDown() override
    {
        OpsWorld::TearDown();
        Sleep(500);
        KillByImage("WinRAR.exe");  // an orphan would hold the test's output open
    }
    // Every name in the backup folder is the earlier backup, or a second name of it.
    void ExpectBackupFolderWhole(const std::string& backup, const std::string& earlier)
    {
        EXPECT_EQ(ReadFileBytes(backup), earlier);
        for (const auto& entry : SnapshotTree(backups_)) {
            if (backups_ + "\\" + entry.first == backup) continue;
            EXPECT_EQ(entry.second, earlier) << "left in the backup folder: " << entry.first;
        }
    }
    std::map<std::string, std::string> dataBefore_;
    std::string temp_;
};

TEST_F(Kill, BackupKilledAtRandomMomentsLosesNothing)
{
    std::mt19937 random(Seed());
    const std::string backup = backups_ + "\\12345.qq";
    WriteFileBytes(backup, "an earlier backup that must survive");
    const std::string earlier = ReadFileBytes(backup);
    int tried = 0;
    for (int round = 0; round < 20; ++round) {
        bool killArchiver = round % 2 == 1;
        StartWindow({"BRINKVALE_ARCHIVER_DELAY_MS=400"});
        ClickButton(Control("不备份聊天内容中的图片"));  // unticked on even rounds below
        if (round % 4 < 2) ClickButton(Control("不备份聊天内容中的图片"));
        Click("备份数据");
        ASSERT_TRUE(AnswerFileDialog(program_.pid, backup, 20000));
        MessageBoxInfo confirm;
        if (WaitForMessageBox(program_.pid, 3000, &confirm) && !confirm.buttons.empty() &&
            confirm.buttons[0].find("是") == 0)
            PressDialogButton(confirm.hwnd, IDYES);
        Sleep(std::uniform_int_distribution<int>(0, killArchiver ? 700 : 1500)(random));
        if (killArchiver) KillByImage("WinRAR.exe");
        else KillProgram(program_);
        ++tried;
        if (killArchiver) {
            MessageBoxInfo box;
            if (WaitForMessageBox(program_.pid, 20000, &box)) {
                // The archiver was killed before it finished (a failure) or after (a backup).
                if (box.text == kBackupDone) {
                    ASSERT_TRUE(ExtractWithPython(backup, *root_ / ("check" + std::to_string(round))));
                } else {
                    ExpectBackupFolderWhole(backup, earlier);
                }
                PressDialogButton(box.hwnd, IDOK);
            }
            if (program_.process) KillProgram(program_);
        } else {
            Sleep(2500);  // the orphaned archiver may still finish into the temporary folder
        }
        EXPECT_EQ(SnapshotTree(Account()), dataBefore_) << "round " << round;
        std::string now = ReadFileBytes(backup);
        if (now != earlier) {
            // Only a whole backup may have replaced the earlier one.
            EXPECT_TRUE(ExtractWithPython(backup, *root_ / ("whole" + std::to_string(round)))) << "round " << round;
            WriteFileBytes(backup, earlier);
        }
        ExpectBackupFolderWhole(backup, earlier);
        KillByImage("WinRAR.exe");  // an orphan would hold the test's output open
    }
    printf("backup kill moments tried: %d\n", tried);

    // The next run clears what the killed ones left in the staging folder.
    StartWindow();
    Click("备份数据");
    ASSERT_TRUE(AnswerFileDialog(program_.pid, backups_ + "\\next.qq", 20000));
    EXPECT_EQ(NextMessage(), kBackupDone);
    std::map<std::string, std::string> staging = SnapshotTree(temp_ + "Brinkvale");
    for (const auto& entry : staging) EXPECT_EQ(entry.second, "<dir>") << "left over: " << entry.first;
    EXPECT_LE(staging.size(), 1u);
    CloseWindowAndWait();
}

TEST_F(Kill, RestoreKilledAtRandomMomentsKeepsTheBackupUnderItsName)
{
    std::mt19937 random(Seed());
    const std::string backup = MakeBackup(backups_ + "\\12345.qq");
    const std::string bytes = ReadFileBytes(backup);
    int tried = 0;
    for (int round = 0; round < 20; ++round) {
        bool killArchiver = round % 2 == 1;
        program_ = StartRestore("\"" + backup + "\"", {"BRINKVALE_ARCHIVER_DELAY_MS=400"});
        Sleep(std::uniform_int_distribution<int>(0, killArchiver ? 700 : 1500)(random));
        if (killArchiver) KillByImage("WinRAR.exe");
        else KillProgram(program_);
        ++tried;
        MessageBoxInfo box;
        if (program_.process && WaitForMessageBox(program_.pid, 10000, &box)) PressDialogButton(box.hwnd, IDOK);
        if (program_.process) {
            DWORD code;
            if (!WaitForExit(program_, 10000, &code)) KillProgram(program_);
            else CloseProgram(program_);
        }
        Sleep(1500);
        EXPECT_EQ(ReadFileBytes(backup), bytes) << "round " << round;
        ExpectBackupFolderWhole(backup, bytes);
        // The data holds the account's files, each either as before or not yet written.
        KillByImage("WinRAR.exe");  // an orphan would hold the test's output open
        for (const auto& entry : SnapshotTree(Account())) {
            auto original = dataBefore_.find(entry.first);
            if (original != dataBefore_.end() && entry.second != original->second)
                ADD_FAILURE() << "round " << round << ": " << entry.first << " differs from the backup";
        }
    }
    printf("restore kill moments tried: %d\n", tried);

    // A whole restore afterwards, which also clears a second name left beside the backup.
    program_ = StartRestore("\"" + backup + "\"");
    EXPECT_EQ(NextMessage(), kRestoreDone);
    DWORD code;
    EXPECT_TRUE(WaitForExit(program_, 20000, &code));
    CloseProgram(program_);
    EXPECT_EQ(SnapshotTree(Account()), dataBefore_);
    EXPECT_EQ(SnapshotTree(backups_).size(), 1u);
}
