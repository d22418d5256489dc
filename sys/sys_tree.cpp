#include "sys/sys_tree.h"

#include <windows.h>

int64_t FileSizeOf(const Text& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -1;
    return (int64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool IsFolderPath(const Text& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeHardLink(const Text& linkPath, const Text& existingPath)
{
    return CreateHardLinkA(linkPath.c_str(), existingPath.c_str(), nullptr) != 0;
}

bool MakeFolder(const Text& path)
{
    return CreateDirectoryA(path.c_str(), nullptr) || IsFolderPath(path);
}

bool CopyToNewFile(const Text& from, const Text& to)
{
    if (CopyFileA(from.c_str(), to.c_str(), TRUE)) return true;
    if (GetLastError() != ERROR_FILE_EXISTS) DeleteFileA(to.c_str());
    return false;
}

bool RemoveOneName(const Text& path)
{
    if (DeleteFileA(path.c_str())) return true;
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY)) return false;
    // Through one handle: the attribute is lifted, the name marked for deletion, and the
    // attribute put back on the file before the handle closes.
    HANDLE file = CreateFileA(path.c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    FILE_BASIC_INFO basic = {};
    bool removed = false;
    if (GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic)) {
        FILE_BASIC_INFO lifted = {};  // zero times: left as they are
        lifted.FileAttributes = basic.FileAttributes & ~FILE_ATTRIBUTE_READONLY;
        if (!lifted.FileAttributes) lifted.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        if (SetFileInformationByHandle(file, FileBasicInfo, &lifted, sizeof lifted)) {
            FILE_DISPOSITION_INFO disposition = {TRUE};
            removed = SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
            FILE_BASIC_INFO restored = {};
            restored.FileAttributes = basic.FileAttributes;
            SetFileInformationByHandle(file, FileBasicInfo, &restored, sizeof restored);
        }
    }
    CloseHandle(file);
    return removed;
}

static Text FolderOf(const Text& path)
{
    int slash = FindTextReverse(path, "\\");
    return slash > 0 ? LeftText(path, slash - 1) : Text(".");
}

bool MoveFileReplacing(const Text& from, const Text& destination)
{
    // A rename on one volume replaces the old file in one step.
    if (MoveFileExA(from.c_str(), destination.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DWORD error = GetLastError();
    if (error != ERROR_NOT_SAME_DEVICE && error != ERROR_ACCESS_DENIED) return false;

    // Across volumes: a whole copy beside the destination first, so a failed copy never
    // costs the user the file that was there.
    Text partial = JoinTexts(FolderOf(destination), "\\~brinkvale-", std::to_string(GetCurrentProcessId()), ".part");
    if (!CopyFileA(from.c_str(), partial.c_str(), FALSE)) {
        DeleteFileA(partial.c_str());
        return false;
    }
    if (!MoveFileExA(partial.c_str(), destination.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(partial.c_str());
        return false;
    }
    DeleteFileA(from.c_str());
    return true;
}

static bool IsDotName(const char* name)
{
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

static bool StageTree(const Text& source, const Text& target, const Text& excludedChild)
{
    if (!MakeFolder(target)) return false;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(JoinTexts(source, "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    bool ok = true;
    do {
        if (IsDotName(entry.cFileName)) continue;
        Text from = JoinTexts(source, "\\", entry.cFileName);
        Text to = JoinTexts(target, "\\", entry.cFileName);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!excludedChild.empty() && TextEquals(LowerText(entry.cFileName), LowerText(excludedChild))) continue;
            // A linked folder is not followed: its target may lie outside the account.
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
            ok = StageTree(from, to, Text()) && ok;
        } else if (!MakeHardLink(to, from)) {
            ok = CopyFileA(from.c_str(), to.c_str(), TRUE) && ok;
        }
    } while (ok && FindNextFileA(search, &entry));
    FindClose(search);
    return ok;
}

bool StageFolderWithout(const Text& source, const Text& stagingFolder, const Text& excludedChild)
{
    return StageTree(source, stagingFolder, excludedChild);
}

void RemoveStagingTree(const Text& folder)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(JoinTexts(folder, "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (IsDotName(entry.cFileName)) continue;
            Text path = JoinTexts(folder, "\\", entry.cFileName);
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                RemoveStagingTree(path);
            else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryA(path.c_str());
            else
                RemoveOneName(path);  // this name only; a linked original stays whole
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

bool IsProcessAlive(uint32_t processId)
{
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process) return false;
    bool alive = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return alive;
}

uint32_t CurrentProcessId()
{
    return GetCurrentProcessId();
}

static bool FileIdentity(const Text& path, BY_HANDLE_FILE_INFORMATION* info)
{
    HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = GetFileInformationByHandle(file, info) != 0;
    CloseHandle(file);
    return ok;
}

bool IsSameFile(const Text& a, const Text& b)
{
    BY_HANDLE_FILE_INFORMATION first, second;
    return FileIdentity(a, &first) && FileIdentity(b, &second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}
