// Where QQ keeps its account folders (DataRoot) and which accounts exist (AccountList);
// the one owner of DataRoot, AccountList and FolderListing.
#pragma once
#include "sys/sys_text.h"

void InitAccountState();     // the two lists, empty; DataRoot empty
void ReleaseAccountState();  // AccountList, then DataRoot, then FolderListing

void LocateDataRoot();
void ScanAccounts();  // refused (returns at once) while a listing is already under way
void ListSubfolders(Text& folder, TextList& list);

const Text& DataRoot();
const TextList& AccountList();
const TextList& FolderListing();
