#include "test_support.h"
#include <vector>

std::string BinDir()
{
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string full = path;
    return full.substr(0, full.find_last_of('\\'));
}

std::string BinPath(const std::string& name) { return BinDir() + "\\" + name; }

ScratchDir::ScratchDir(const std::string& prefix)
{
    MakeFolders("C:\\bvtest");
    // CreateDirectory fails on an existing folder, so the first success is ours alone.
    for (int n = 1;; ++n) {
        std::string candidate = "C:\\bvtest\\" + prefix + "-" + std::to_string(n);
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            path_ = candidate;
            return;
        }
    }
}

ScratchDir::~ScratchDir() { RemoveTree(path_); }

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    if (!bytes.empty()) WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string ReadFileBytes(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsFolder(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void MakeFolders(const std::string& path)
{
    for (size_t p = path.find('\\', 3); ; p = path.find('\\', p + 1)) {
        std::string part = path.substr(0, p);
        if (!part.empty() && !IsFolder(part)) CreateDirectoryA(part.c_str(), nullptr);
        if (p == std::string::npos) break;
    }
}

void RemoveTree(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(path.c_str());
        return;
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name != "." && name != "..") RemoveTree(path + "\\" + name);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

void MakeTree(const std::string& root, const std::vector<std::pair<std::string, std::string>>& entries)
{
    MakeFolders(root);
    for (const auto& entry : entries) {
        std::string path = root + "\\" + entry.first;
        if (!path.empty() && path.back() == '\\') {
            MakeFolders(path.substr(0, path.size() - 1));
            continue;
        }
        MakeFolders(path.substr(0, path.find_last_of('\\')));
        WriteFileBytes(path, entry.second);
    }
}

namespace {

void SnapshotInto(const std::string& root, const std::string& relative, std::map<std::string, std::string>& tree)
{
    std::string folder = relative.empty() ? root : root + "\\" + relative;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        std::string path = relative.empty() ? name : relative + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            tree[path] = "<dir>";
            SnapshotInto(root, path, tree);
        } else {
            tree[path] = ReadFileBytes(root + "\\" + path);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

}  // namespace

std::map<std::string, std::string> SnapshotTree(const std::string& root)
{
    std::map<std::string, std::string> tree;
    SnapshotInto(root, "", tree);
    return tree;
}

RegistryKeyGuard::RegistryKeyGuard(HKEY root, const std::string& subKey, REGSAM view)
    : root_(root), subKey_(subKey), view_(view)
{
    DeleteRegistryTree(root_, subKey_, view_);
}

RegistryKeyGuard::~RegistryKeyGuard() { DeleteRegistryTree(root_, subKey_, view_); }

void DeleteRegistryTree(HKEY root, const std::string& subKey, REGSAM view)
{
    HKEY key;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ | KEY_WRITE | view, &key) != ERROR_SUCCESS) return;
    std::vector<std::string> children;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        children.push_back(name);
    }
    RegCloseKey(key);
    for (const std::string& child : children) DeleteRegistryTree(root, subKey + "\\" + child, view);
    RegDeleteKeyExA(root, subKey.c_str(), view, 0);
}

void SetRegistryRaw(HKEY root, const std::string& subKey, const std::string& value, DWORD type,
                    const std::string& bytes, REGSAM view)
{
    HKEY key;
    if (RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, 0, KEY_WRITE | view, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key, value.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}

void SetRegistryString(HKEY root, const std::string& subKey, const std::string& value, const std::string& data,
                       DWORD type, REGSAM view)
{
    SetRegistryRaw(root, subKey, value, type, data + std::string(1, '\0'), view);
}

void SetRegistryDword(HKEY root, const std::string& subKey, const std::string& value, DWORD data, REGSAM view)
{
    SetRegistryRaw(root, subKey, value, REG_DWORD, std::string(reinterpret_cast<const char*>(&data), sizeof data),
                   view);
}

bool GetRegistryRaw(HKEY root, const std::string& subKey, const std::string& value, DWORD* type,
                    std::string* data, REGSAM view)
{
    HKEY key;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    DWORD kind = 0;
    bool found = RegQueryValueExA(key, value.c_str(), nullptr, &kind, nullptr, &size) == ERROR_SUCCESS;
    if (found) {
        std::string bytes(size, '\0');
        found = RegQueryValueExA(key, value.c_str(), nullptr, &kind, reinterpret_cast<BYTE*>(&bytes[0]), &size) ==
                ERROR_SUCCESS;
        bytes.resize(size);
        if (type) *type = kind;
        if (data) *data = bytes;
    }
    RegCloseKey(key);
    return found;
}

int RunToEnd(const std::string& commandLine, DWORD timeoutMs)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    } else {
        TerminateProcess(process.hProcess, static_cast<UINT>(-1));
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}
