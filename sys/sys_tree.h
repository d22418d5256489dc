// What the backup and restore need of the file system beyond single calls: a safe replacing
// move, hard links, file sizes, and staging folder trees that never touch the originals.
#pragma once
#include <cstdint>
#include "sys/sys_text.h"

int64_t FileSizeOf(const Text& path);  // -1 when missing or a folder
bool IsFolderPath(const Text& path);
bool MakeHardLink(const Text& linkPath, const Text& existingPath);
bool MakeFolder(const Text& path);  // true also when it already exists
bool CopyToNewFile(const Text& from, const Text& to);  // fails when to exists; no partial file is left

// Moves a finished file over destination. An existing destination is replaced only by a complete
// copy: across volumes the file is first copied beside the destination, then renamed over it.
bool MoveFileReplacing(const Text& from, const Text& destination);

// Recreates source below stagingParent (as stagingParent + "\" + its own name) without the
// sub-folder excludedChild of the top level: hard links where the volume allows, else copies.
// Nothing in source is moved, changed or deleted.
bool StageFolderWithout(const Text& source, const Text& stagingFolder, const Text& excludedChild);

// Removes a staging tree: only names below it are deleted, never the files they link to.
void RemoveStagingTree(const Text& folder);

bool IsProcessAlive(uint32_t processId);
uint32_t CurrentProcessId();

// Deletes this one name of a file. Attributes belong to the file, not the name: a read-only
// file that has other names keeps its attribute.
bool RemoveOneName(const Text& path);

// True when both names lead to one file on disk (hard links of each other, or the same name).
bool IsSameFile(const Text& a, const Text& b);
