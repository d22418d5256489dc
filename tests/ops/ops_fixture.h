// A QQ installation with one account, the stand-in archiver recorded as the installed one,
// and a copy of the program in a folder of its own: the world a backup and a restore run in.
#pragma once
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "driver/driver.h"
#include "support/test_support.h"

// The program's own messages, as the user reads them.
inline constexpr char kBackupDone[] = "数据备份成功！请勿修改其文件名，将其上传至您的网盘，配合本软件即可进行数据还原。";
inline constexpr char kRestoreDone[] = "数据还原成功！请启动QQ查看！";
inline constexpr char kPackFailed[] = "数据备份失败！压缩软件未能生成备份文件。";
inline constexpr char kMoveFailed[] = "数据备份失败！无法保存到您选择的位置。";
inline constexpr char kUnreadable[] = "数据还原失败！无法读取备份文件。";
inline constexpr char kUnpackFailed[] = "数据还原失败！压缩软件未能完成解压。";
inline constexpr char kNoAccount[] = "没有找到可以备份的QQ账号。";

class OpsWorld : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program (window mode without arguments) and waits for its window.
    void StartWindow(const std::vector<std::string>& extraEnvironment = {});
    Program StartRestore(const std::string& quotedPath, const std::vector<std::string>& extraEnvironment = {});
    HWND Control(const std::string& text);  // a control of the main window, by its text
    void Click(const std::string& text) { ClickButton(Control(text)); }
    // The next message box: its text, after pressing OK (or Cancel).
    std::string NextMessage(bool pressOk = true, DWORD timeoutMs = 30000);
    bool NoMessageFor(DWORD ms);
    void CloseWindowAndWait();

    std::string Account() const { return users_ + "\\12345"; }
    // Empties the account folder but keeps it, so the Users folder still counts as QQ's data
    // folder (with no account there the documents fallback would be used instead).
    void EmptyAccount();
    // A backup of the account as it is now, packed by the stand-in archiver itself.
    std::string MakeBackup(const std::string& path);
    std::string ArchiverLog() const { return ReadFileBytes(log_); }

    std::unique_ptr<ScratchDir> root_;
    std::string users_, appDir_, backups_, log_;
    std::unique_ptr<RegistryKeyGuard> qqKey_, rarKey_;
    Program program_;
    HWND window_ = nullptr;
};

std::string UnixPath(const std::string& windowsPath);
// Starts a Unix program; Wine cannot wait for it, so callers watch for its effect.
bool StartUnixCommand(const std::string& utf8CommandLine);
// The archive unpacked by Python's zipfile into outDir (names decoded as GBK); false on failure.
bool ExtractWithPython(const std::string& zipPath, const std::string& outDir);
std::vector<std::string> ZipEntryNames(const std::string& zipPath);
std::map<std::string, std::string> Without(std::map<std::string, std::string> tree, const std::string& prefix);
