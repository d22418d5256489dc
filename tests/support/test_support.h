// Helpers shared by the test executables: paths of the built programs, scratch folders and
// file trees in the private Wine prefix, registry keys that clean up after themselves.
#pragma once
#include <windows.h>
#include <map>
#include <string>
#include <utility>
#include <vector>

// The folder of the running test executable, which also holds every built program.
std::string BinDir();
std::string BinPath(const std::string& name);

// A new empty folder C:\bvtest\<prefix>-<n>, removed with everything in it by the destructor.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& prefix);
    ~ScratchDir();
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }
private:
    std::string path_;
};

void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);  // empty when missing
bool PathExists(const std::string& path);
bool IsFolder(const std::string& path);
void MakeFolders(const std::string& path);  // every missing folder of the chain
void RemoveTree(const std::string& path);   // a file or a whole folder tree

// Builds a tree below root: a name ending in "\" is a folder, anything else a file with that content.
void MakeTree(const std::string& root, const std::vector<std::pair<std::string, std::string>>& entries);
// Every file and folder below root, by relative path: file content, or "<dir>" for a folder.
std::map<std::string, std::string> SnapshotTree(const std::string& root);

// Deletes the key (and everything below it) now and again when the guard ends.
class RegistryKeyGuard {
public:
    RegistryKeyGuard(HKEY root, const std::string& subKey, REGSAM view = KEY_WOW64_32KEY);
    ~RegistryKeyGuard();
private:
    HKEY root_;
    std::string subKey_;
    REGSAM view_;
};
void DeleteRegistryTree(HKEY root, const std::string& subKey, REGSAM view = KEY_WOW64_32KEY);
void SetRegistryString(HKEY root, const std::string& subKey, const std::string& value,
                       const std::string& data, DWORD type = REG_SZ, REGSAM view = KEY_WOW64_32KEY);
// Stores exactly these bytes (no terminator added): for values with no data or odd contents.
void SetRegistryRaw(HKEY root, const std::string& subKey, const std::string& value, DWORD type,
                    const std::string& bytes, REGSAM view = KEY_WOW64_32KEY);
void SetRegistryDword(HKEY root, const std::string& subKey, const std::string& value, DWORD data,
                      REGSAM view = KEY_WOW64_32KEY);
// The raw type and bytes of a value; false when it is missing.
bool GetRegistryRaw(HKEY root, const std::string& subKey, const std::string& value, DWORD* type,
                    std::string* data, REGSAM view = KEY_WOW64_32KEY);

// Runs a command line to its end; returns its exit code, or -1 when it could not be started.
int RunToEnd(const std::string& commandLine, DWORD timeoutMs = 60000);
