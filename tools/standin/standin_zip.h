// The zip container of the stand-in archivers: a folder tree packed with deflate, an archive
// unpacked below a folder. Entry names are the ANSI (GBK) bytes with "/" between folders.
#pragma once
#include <string>

// Packs folder into zipPath; every entry name begins with the folder's own name. The archive is
// written under a temporary name beside zipPath and renamed at the end.
bool PackFolder(const std::string& folder, const std::string& zipPath, std::string* error);
// Writes every entry with its stored path below destination, replacing existing files.
bool UnpackArchive(const std::string& zipPath, const std::string& destination, std::string* error);

// Folder steps shared by both directions, aware of double-byte characters.
bool IsSeparatorAt(const std::string& path, size_t position);
std::string LastPathPart(const std::string& path);
bool MakeFolderChain(const std::string& path);
