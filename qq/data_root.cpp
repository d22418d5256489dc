// DataRoot, AccountList and FolderListing: where QQ keeps its account folders and which exist.
#include "qq/data_root.h"
#include "sys/sys_files.h"
#include "sys/sys_registry.h"

static Text g_DataRoot;
static TextList g_AccountList, g_FolderListing;
// Set while a listing or filter pass runs: queued clicks handled between entries must not rebuild
// the lists underneath it.
static bool g_Listing = false;

static const char* const kQqInstallPath = "SOFTWARE\\Tencent\\QQ2009\\Install";
static const char* const kNotRecorded = "无";
static const char* const kUsersSuffix = "\\Users\\";
static const char* const kFallbackFolder = "Tencent Files";
static const uint32_t kDirectoriesOnly = 16;

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

void LocateDataRoot()
{
    if (g_Listing) return;
    g_DataRoot = JoinTexts(ReadRegistryText(LocalMachine, kQqInstallPath, kNotRecorded), kUsersSuffix);
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

void ScanAccounts()
{
    if (g_Listing) return;
    g_Listing = true;
    ListAccountsOf(g_DataRoot);
    if (ListCount(g_AccountList) == 0) {
        g_DataRoot = JoinTexts(GetSpecialFolder(DocumentsFolder), kFallbackFolder);
        ListAccountsOf(g_DataRoot);
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
