// DataRoot, AccountList and FolderListing: where QQ keeps its account folders and which exist.
#include "qq/data_root.h"
#include "sys/sys_files.h"
#include "sys/sys_profile.h"
#include "sys/sys_registry.h"

static Text g_DataRoot;
static TextList g_AccountList, g_FolderListing;
// Set while a listing or filter pass runs: queued clicks handled between entries must not rebuild
// the lists underneath it.
static bool g_Listing = false;
// True when DataRoot came from the current QQ client, which records no installation folder: it is
// then the folder that client reads, and a scan that finds no account anywhere comes back to it.
static bool g_ClientFolderIsDataRoot = false;

static const char* const kQqInstallPath = "SOFTWARE\\Tencent\\QQ2009\\Install";
static const char* const kNotRecorded = "无";
static const char* const kUsersSuffix = "\\Users\\";
static const char* const kFallbackFolder = "Tencent Files";
static const uint32_t kDirectoriesOnly = 16;
static const char* const kCurrentClientPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QQ\\UninstallString";
static const char* const kDataInfoFile = "%PUBLIC%\\Documents\\Tencent\\QQ\\UserDataInfo.ini";
static const char* const kDataInfoSection = "UserDataSet";
static const char* const kMovedType = "2";

void InitAccountState()
{
    g_DataRoot.clear();
    ListClear(g_AccountList);
    ListClear(g_FolderListing);
}

void ReleaseAccountState()
{
    ListClear(g_AccountList);
    g_DataRoot.clear();
    ListClear(g_FolderListing);
}

static bool IsAccountName(const Text& name)
{
    return !TextEquals(name, "All Users") && !TextEquals(name, "QPlus");
}

static void ListAccountsOf(Text& folder)
{
    ListClear(g_FolderListing);
    ListClear(g_AccountList);
    ListSubfolders(folder, g_FolderListing);
    for (int i = 1; i <= ListCount(g_FolderListing); i++) {
        const Text& name = ListAt(g_FolderListing, i);
        if (IsAccountName(name)) ListAppend(g_AccountList, name);
    }
}

// The current client records only its uninstaller, in either registry view or for one user.
static bool IsCurrentClientRecorded()
{
    return !TextEquals(ReadRegistryTextInView(LocalMachine, kCurrentClientPath, kNotRecorded, View32), kNotRecorded) ||
           !TextEquals(ReadRegistryTextInView(LocalMachine, kCurrentClientPath, kNotRecorded, View64), kNotRecorded) ||
           !TextEquals(ReadRegistryText(CurrentUser, kCurrentClientPath, kNotRecorded), kNotRecorded);
}

static Text DocumentsDataFolder() { return JoinTexts(GetSpecialFolder(DocumentsFolder), kFallbackFolder); }

static bool FolderExists(Text folder)
{
    int last = FindTextReverse(folder, "\\");
    if (last != -1 && last == TextLength(folder)) folder = LeftText(folder, last - 1);
    if (folder.empty()) return false;
    SearchState search;
    bool found = !FindFirstMatch(folder, kDirectoriesOnly, search).empty();
    FindMatchClose(search);
    return found;
}

// The folder the user moved QQ's data to (QQ notes it in UserDataInfo.ini), ending with "\";
// empty when the data was never moved or the folder is gone. QQ keeps the accounts either in
// that folder itself or in a "Tencent Files" folder inside it.
static Text MovedDataFolder()
{
    Text info = ExpandEnvironmentText(kDataInfoFile);
    Text type = TrimText(ReadProfileText(info, kDataInfoSection, "UserDataSavePathType", Text()));
    if (!TextEquals(type, kMovedType)) return Text();
    Text folder = ExpandEnvironmentText(ReadProfileText(info, kDataInfoSection, "UserDataSavePath", Text()));
    if (!FolderExists(folder)) return Text();
    TextList names;
    ListSubfolders(folder, names);
    bool ownAccounts = false, tencentFiles = false;
    for (int i = 1; i <= ListCount(names); i++) {
        const Text& name = ListAt(names, i);
        if (TextEquals(LowerText(name), LowerText(kFallbackFolder)))
            tencentFiles = true;
        else if (IsAccountName(name))
            ownAccounts = true;
    }
    if (tencentFiles && !ownAccounts) return JoinTexts(folder, kFallbackFolder, "\\");
    return folder;
}

void LocateDataRoot()
{
    if (g_Listing) return;
    Text install = ReadRegistryText(LocalMachine, kQqInstallPath, kNotRecorded);
    g_ClientFolderIsDataRoot = false;
    if (TextEquals(install, kNotRecorded) && IsCurrentClientRecorded()) {
        g_Listing = true;
        Text moved = MovedDataFolder();
        g_Listing = false;
        g_DataRoot = moved.empty() ? JoinTexts(DocumentsDataFolder(), "\\") : moved;
        g_ClientFolderIsDataRoot = true;
        return;
    }
    g_DataRoot = JoinTexts(install, kUsersSuffix);
}

void ScanAccounts()
{
    if (g_Listing) return;
    g_Listing = true;
    Text first = g_DataRoot;
    ListAccountsOf(g_DataRoot);
    if (ListCount(g_AccountList) == 0) {
        g_DataRoot = DocumentsDataFolder();
        ListAccountsOf(g_DataRoot);
    }
    if (ListCount(g_AccountList) == 0) {
        Text kept = g_ClientFolderIsDataRoot ? first : g_DataRoot;
        Text moved = MovedDataFolder();
        if (!moved.empty()) {
            g_DataRoot = moved;
            ListAccountsOf(g_DataRoot);
        }
        if (ListCount(g_AccountList) == 0 && !TextEquals(g_DataRoot, kept)) {
            g_DataRoot = kept;
            ListAccountsOf(g_DataRoot);
        }
    }
    g_Listing = false;
}

void ListSubfolders(Text& folder, TextList& list)
{
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    SearchState search;
    Text name = FindFirstMatch(JoinTexts(folder, "*.*"), kDirectoriesOnly, search);
    while (!name.empty()) {
        if (name[0] != '.') ListAppend(list, name);
        ProcessPendingEvents();
        name = FindFirstMatch(Text(), kDirectoriesOnly, search);
    }
    FindMatchClose(search);
}

const Text& DataRoot() { return g_DataRoot; }
const TextList& AccountList() { return g_AccountList; }
const TextList& FolderListing() { return g_FolderListing; }
