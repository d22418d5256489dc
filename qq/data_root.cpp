#include "qq/data_root.h"
static Text g_DataRoot;
static TextList g_AccountList, g_FolderListing;
void InitAccountState() {}
void ReleaseAccountState() {}
void LocateDataRoot() {}
void ScanAccounts() {}
void ListSubfolders(Text&, TextList&) {}
const Text& DataRoot() { return g_DataRoot; }
const TextList& AccountList() { return g_AccountList; }
const TextList& FolderListing() { return g_FolderListing; }
