// DataRoot and AccountList from a real registry value and real folders, the documents fallback,
// and the lists staying whole while queued messages run in the middle of a listing.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include "qq/data_root.h"
#include "support/test_support.h"
#include "sys/sys_files.h"

namespace {

const char* const kQqKey = "SOFTWARE\\Tencent\\QQ2009";

std::vector<std::string> Items(const TextList& list) { return list.items; }

std::vector<std::string> Sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

class QqDataRoot : public ::testing::Test {
protected:
    void SetUp() override
    {
        RemoveTree(Fallback());
        InitAccountState();
    }
    void TearDown() override
    {
        ReleaseAccountState();
        RemoveTree(Fallback());
    }
    void SetInstall(const std::string& folder) { SetRegistryString(HKEY_LOCAL_MACHINE, kQqKey, "Install", folder); }
    static std::string Fallback() { return GetSpecialFolder(DocumentsFolder) + "Tencent Files"; }

    ScratchDir dir_{"qq"};
    RegistryKeyGuard key_{HKEY_LOCAL_MACHINE, kQqKey};
};

TEST_F(QqDataRoot, DataRootFollowsTheInstallationValue)
{
    struct Case {
        const char* label;
        DWORD type;
        const char* value;  // nullptr: no value at all
        const char* dataRoot;
    };
    const Case cases[] = {
        {"plain folder", REG_SZ, "C:\\Program Files\\Tencent\\QQ", "C:\\Program Files\\Tencent\\QQ\\Users\\"},
        {"trailing backslash doubles", REG_SZ, "C:\\QQ\\", "C:\\QQ\\\\Users\\"},
        {"expandable", REG_EXPAND_SZ, "%SystemDrive%\\QQ", "C:\\QQ\\Users\\"},
        {"gbk folder", REG_SZ, "D:\\腾讯\\QQ", "D:\\腾讯\\QQ\\Users\\"},
        {"number instead of text", REG_DWORD, nullptr, "无\\Users\\"},
        {"not recorded", REG_NONE, nullptr, "无\\Users\\"},
    };
    for (const Case& c : cases) {
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kQqKey);
        if (c.type == REG_DWORD)
            SetRegistryDword(HKEY_LOCAL_MACHINE, kQqKey, "Install", 1234);
        else if (c.value)
            SetRegistryString(HKEY_LOCAL_MACHINE, kQqKey, "Install", c.value, c.type);
        LocateDataRoot();
        EXPECT_EQ(DataRoot(), c.dataRoot) << c.label;
    }
}

// The file system ignores letter case, so "All Users" and "all users" need folders of their own.
TEST_F(QqDataRoot, UsersFolderEdgeList)
{
    struct Case {
        const char* label;
        std::vector<std::pair<std::string, std::string>> tree;
        std::vector<std::string> listing, accounts;
    };
    const Case cases[] = {
        {"All Users",
         {{"All Users\\", ""}, {"QPlus\\", ""}, {".svn\\", ""}, {"12345\\Msg.db", "x"}, {"67890\\", ""},
          {"notes.txt", "a file"}, {"99999", "a file named like an account"}},
         {"All Users", "QPlus", "12345", "67890"},
         {"12345", "67890"}},
        {"all users", {{"all users\\", ""}, {"qplus\\", ""}, {"..more\\", ""}, {"12345\\", ""}},
         {"all users", "qplus", "12345"},
         {"all users", "qplus", "12345"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ScratchDir install("qq-install");
        MakeTree(install / "Users", c.tree);
        // A hidden folder counts; so does a name whose last byte is 0x5C, the same byte as a backslash.
        MakeFolders(install / "Users\\hidden");
        SetFileAttributesA((install / "Users\\hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
        CreateDirectoryA((install / "Users\\乗俓").c_str(), nullptr);
        SetInstall(install.path());

        LocateDataRoot();
        ScanAccounts();

        std::vector<std::string> listing = c.listing, accounts = c.accounts;
        for (std::vector<std::string>* names : {&listing, &accounts}) {
            names->push_back("hidden");
            names->push_back("乗俓");
        }
        EXPECT_EQ(DataRoot(), install / "Users\\");
        EXPECT_EQ(Sorted(Items(FolderListing())), Sorted(listing));
        EXPECT_EQ(Sorted(Items(AccountList())), Sorted(accounts));
        std::vector<std::string> inSearchOrder;
        for (const std::string& name : FolderListing().items)
            if (name != "All Users" && name != "QPlus") inSearchOrder.push_back(name);
        EXPECT_EQ(Items(AccountList()), inSearchOrder) << "AccountList keeps the order of the folder search";
    }
}

TEST_F(QqDataRoot, FallbackWhenTheUsersFolderHoldsNoAccount)
{
    struct Case {
        const char* label;
        std::vector<std::pair<std::string, std::string>> users;  // below the installation folder
        std::vector<std::pair<std::string, std::string>> documents;  // below "Tencent Files"
        std::vector<std::string> accounts;
    };
    const Case cases[] = {
        {"only All Users and QPlus", {{"Users\\All Users\\", ""}, {"Users\\QPlus\\", ""}, {"Users\\.svn\\", ""}},
         {{"11111\\", ""}, {"All Users\\", ""}}, {"11111"}},
        {"no Users folder", {{"Bin\\", ""}}, {{"22222\\", ""}}, {"22222"}},
        {"nothing anywhere", {{"Users\\", ""}}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ScratchDir install("qq-install");
        MakeTree(install.path(), c.users);
        RemoveTree(Fallback());
        MakeFolders(Fallback());
        MakeTree(Fallback(), c.documents);
        SetInstall(install.path());

        LocateDataRoot();
        ScanAccounts();
        EXPECT_EQ(DataRoot(), Fallback() + "\\");
        EXPECT_EQ(Items(AccountList()), c.accounts);
    }
}

TEST_F(QqDataRoot, AccountsInTheUsersFolderWinOverTheDocumentsFolder)
{
    MakeTree(dir_.path(), {{"Users\\12345\\", ""}});
    MakeTree(Fallback(), {{"22222\\", ""}});
    SetInstall(dir_.path());
    LocateDataRoot();
    ScanAccounts();
    EXPECT_EQ(DataRoot(), dir_ / "Users\\");
    EXPECT_EQ(Items(AccountList()), std::vector<std::string>{"12345"});
}

TEST_F(QqDataRoot, ListSubfoldersEndsTheFolderWithABackslash)
{
    MakeTree(dir_.path(), {{"a\\", ""}, {"b.txt", ""}});
    const std::string folders[] = {dir_.path(), dir_.path() + "\\"};
    for (const std::string& given : folders) {
        Text folder = given;
        TextList list;
        ListSubfolders(folder, list);
        EXPECT_EQ(folder, dir_.path() + "\\");
        EXPECT_EQ(Items(list), std::vector<std::string>{"a"});
    }
}

// A click handled between two entries of the listing asks for a second scan; it must not
// rebuild the lists underneath the first.
int g_NestedCalls = 0;
std::vector<std::string> g_ListingBeforeNested, g_ListingAfterNested;

LRESULT CALLBACK RescanWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_APP) return DefWindowProcA(window, message, wParam, lParam);
    g_NestedCalls++;
    g_ListingBeforeNested = FolderListing().items;
    ScanAccounts();
    LocateDataRoot();
    g_ListingAfterNested = FolderListing().items;
    return 0;
}

TEST_F(QqDataRoot, ScanDuringAListingIsRefused)
{
    MakeTree(dir_.path(), {{"Users\\12345\\", ""}, {"Users\\23456\\", ""}, {"Users\\34567\\", ""}});
    SetInstall(dir_.path());
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = RescanWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "BvRescanTest";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("BvRescanTest", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);

    LocateDataRoot();
    PostMessageA(window, WM_APP, 0, 0);
    ScanAccounts();
    DestroyWindow(window);

    EXPECT_EQ(g_NestedCalls, 1);
    EXPECT_EQ(g_ListingAfterNested, g_ListingBeforeNested);
    EXPECT_EQ(DataRoot(), dir_ / "Users\\");
    EXPECT_EQ(Sorted(Items(AccountList())), Sorted({"12345", "23456", "34567"}));
    EXPECT_EQ(ListCount(FolderListing()), 3);
}

}  // namespace
