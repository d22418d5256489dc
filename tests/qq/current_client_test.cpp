// Finding QQ's data on machines with the old client, the current client (which records only its
// uninstaller), both or neither, and with the data folder moved by the user (UserDataInfo.ini).
#include <gtest/gtest.h>
#include <windows.h>
#include "qq/data_root.h"
#include "support/test_support.h"
#include "sys/sys_files.h"

namespace {

const char* const kOldKey = "SOFTWARE\\Tencent\\QQ2009";
const char* const kClientKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QQ";

enum Client { NoClient, Machine32, Machine64, CurrentUserOnly };
enum Moved { NotMoved, MovedHere, MovedToTencentFiles, MovedButMissing, MovedTypeOne };

struct Row {
    const char* label;
    bool oldClient;
    Client client;
    Moved moved;
    std::vector<std::string> usersAccounts, documentsAccounts;
    const char* folderBox;  // DataRoot as the start-up shows it; {d} scratch, {docs} documents data, {m} moved
    const char* dataRoot;   // where the accounts are read and a restore unpacks
    std::vector<std::string> accounts;
};

std::string Fill(std::string text, const std::string& d, const std::string& docs)
{
    for (size_t at; (at = text.find("{d}")) != std::string::npos;) text.replace(at, 3, d);
    for (size_t at; (at = text.find("{docs}")) != std::string::npos;) text.replace(at, 6, docs);
    // The moved folder as the data-info file names it, through %PUBLIC%; nothing normalises it.
    for (size_t at; (at = text.find("{m}")) != std::string::npos;) text.replace(at, 3, d + "\\Public\\..\\数据 移动");
    return text;
}

class QqCurrentClient : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetEnvironmentVariableA("PUBLIC", oldPublic_, sizeof oldPublic_);
        // The data-info file is looked for below %PUBLIC%; here that is a scratch folder.
        SetEnvironmentVariableA("PUBLIC", (dir_ / "Public").c_str());
        RemoveTree(Documents());
        InitAccountState();
    }
    void TearDown() override
    {
        ReleaseAccountState();
        RemoveTree(Documents());
        SetEnvironmentVariableA("PUBLIC", oldPublic_[0] ? oldPublic_ : nullptr);
    }
    static std::string Documents() { return GetSpecialFolder(DocumentsFolder) + "Tencent Files"; }
    void Prepare(const Row& row, const std::string& d)
    {
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kOldKey);
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kClientKey);
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kClientKey, KEY_WOW64_64KEY);
        DeleteRegistryTree(HKEY_CURRENT_USER, kClientKey);
        if (row.oldClient) SetRegistryString(HKEY_LOCAL_MACHINE, kOldKey, "Install", d + "\\QQ");
        const std::string uninstaller = d + "\\QQNT\\Uninstall.exe";
        if (row.client == Machine32) SetRegistryString(HKEY_LOCAL_MACHINE, kClientKey, "UninstallString", uninstaller);
        if (row.client == Machine64)
            SetRegistryString(HKEY_LOCAL_MACHINE, kClientKey, "UninstallString", uninstaller, REG_SZ, KEY_WOW64_64KEY);
        if (row.client == CurrentUserOnly) SetRegistryString(HKEY_CURRENT_USER, kClientKey, "UninstallString", uninstaller);

        MakeFolders(d + "\\QQ\\Users\\All Users");
        for (const std::string& a : row.usersAccounts) MakeFolders(d + "\\QQ\\Users\\" + a);
        MakeFolders(Documents());
        for (const std::string& a : row.documentsAccounts) MakeFolders(Documents() + "\\" + a);

        if (row.moved == NotMoved) return;
        std::string info = d + "\\Public\\Documents\\Tencent\\QQ\\UserDataInfo.ini";
        MakeFolders(d + "\\Public\\Documents\\Tencent\\QQ");
        WriteFileBytes(info, "[UserDataSet]\r\nUserDataSavePathType=" +
                                 std::string(row.moved == MovedTypeOne ? "1" : "2") +
                                 "\r\nUserDataSavePath=%PUBLIC%\\..\\数据 移动\r\n");
        if (row.moved == MovedHere || row.moved == MovedTypeOne) MakeFolders(d + "\\数据 移动\\30001");
        if (row.moved == MovedToTencentFiles) MakeFolders(d + "\\数据 移动\\Tencent Files\\30002");
    }

    ScratchDir dir_{"qqnt"};
    char oldPublic_[MAX_PATH] = {};
    RegistryKeyGuard oldKey_{HKEY_LOCAL_MACHINE, kOldKey};
    RegistryKeyGuard client32_{HKEY_LOCAL_MACHINE, kClientKey};
    RegistryKeyGuard client64_{HKEY_LOCAL_MACHINE, kClientKey, KEY_WOW64_64KEY};
    RegistryKeyGuard clientUser_{HKEY_CURRENT_USER, kClientKey};
};

TEST_F(QqCurrentClient, DataRootOnEachKindOfMachine)
{
    const Row rows[] = {
        {"old client only", true, NoClient, NotMoved, {"10001"}, {"20001"}, "{d}\\QQ\\Users\\", "{d}\\QQ\\Users\\", {"10001"}},
        {"current client, 32-bit view", false, Machine32, NotMoved, {}, {"20001"}, "{docs}\\", "{docs}\\", {"20001"}},
        {"current client, 64-bit view", false, Machine64, NotMoved, {}, {"20001"}, "{docs}\\", "{docs}\\", {"20001"}},
        {"current client, current user", false, CurrentUserOnly, NotMoved, {}, {"20001"}, "{docs}\\", "{docs}\\", {"20001"}},
        {"both: the old one wins", true, Machine32, MovedHere, {"10001"}, {"20001"}, "{d}\\QQ\\Users\\", "{d}\\QQ\\Users\\", {"10001"}},
        {"neither", false, NoClient, NotMoved, {}, {}, "无\\Users\\", "{docs}\\", {}},
        {"current client, moved folder", false, Machine32, MovedHere, {}, {"20001"}, "{m}\\", "{m}\\", {"30001"}},
        {"current client, moved with Tencent Files", false, Machine32, MovedToTencentFiles, {}, {}, "{m}\\Tencent Files\\",
         "{m}\\Tencent Files\\", {"30002"}},
        {"current client, moved folder missing", false, Machine32, MovedButMissing, {}, {"20001"}, "{docs}\\", "{docs}\\", {"20001"}},
        {"current client, type 1", false, Machine32, MovedTypeOne, {}, {"20001"}, "{docs}\\", "{docs}\\", {"20001"}},
        {"current client, moved folder empty", false, Machine32, MovedButMissing, {}, {}, "{docs}\\", "{docs}\\", {}},
        {"old client, accounts only in the moved folder", true, NoClient, MovedHere, {}, {}, "{d}\\QQ\\Users\\", "{m}\\", {"30001"}},
        {"old client, nothing anywhere", true, NoClient, MovedButMissing, {}, {}, "{d}\\QQ\\Users\\", "{docs}\\", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        ScratchDir machine("qqnt-machine");
        SetEnvironmentVariableA("PUBLIC", (machine / "Public").c_str());
        RemoveTree(Documents());
        Prepare(row, machine.path());

        LocateDataRoot();
        EXPECT_EQ(DataRoot(), Fill(row.folderBox, machine.path(), Documents()));
        ScanAccounts();
        EXPECT_EQ(DataRoot(), Fill(row.dataRoot, machine.path(), Documents()));
        EXPECT_EQ(AccountList().items, row.accounts);
    }
}

// A current client whose data was moved to a folder that is still empty: the accounts a restore
// brings belong where that client reads them, not in the documents folder.
TEST_F(QqCurrentClient, EmptyMovedFolderStaysTheDataRoot)
{
    const Row row = {"", false, Machine32, MovedToTencentFiles, {}, {}, "", "", {}};
    Prepare(row, dir_.path());
    RemoveTree(dir_ / "数据 移动\\Tencent Files\\30002");
    LocateDataRoot();
    ScanAccounts();
    EXPECT_EQ(DataRoot(), dir_ / "Public\\..\\数据 移动\\Tencent Files\\");
    EXPECT_TRUE(AccountList().items.empty());
}

}  // namespace
