#include "sys/sys_files.h"
#include <windows.h>
#include <shlobj.h>
#include <vector>

namespace {

bool g_pathsRecorded = false;
Text g_runDirectory;
Text g_executableName;

Text ModulePath()
{
    // The system assumes 260 bytes; a longer path is read whole rather than cut.
    std::vector<char> buffer(MAX_PATH, 0);
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size() || buffer.size() >= 32768) return Text(buffer.data(), length);
        buffer.assign(buffer.size() * 2, 0);
    }
}

void RecordPaths()
{
    if (g_pathsRecorded) return;
    Text path = ModulePath();
    int split = FindTextReverse(path, "\\");
    g_runDirectory = LeftText(path, split - 1);
    g_executableName = split < 1 ? path : MidText(path, split + 1, TextLength(path));
    g_pathsRecorded = true;
}

bool EndsWithBackslash(const Text& path) { return FindText(path, "\\", TextLength(path)) != -1; }

bool IsAccepted(const WIN32_FIND_DATAA& found, uint32_t mask) { return (found.dwFileAttributes & mask) != 0; }

}  // namespace

void InitProcessPaths()
{
    RecordPaths();
    // "C:" alone would mean the drive's current folder, not its root.
    SetCurrentDirectoryA(JoinTexts(g_runDirectory, "\\").c_str());
}

Text GetRunDirectory()
{
    RecordPaths();
    return g_runDirectory;
}

Text GetExecutableName()
{
    RecordPaths();
    return g_executableName;
}

TextList GetCommandLineArgs() { return SplitCommandLine(GetCommandLineA()); }

TextList SplitCommandLine(const Text& line)
{
    TextList args;
    size_t length = line.size();
    size_t p = 0;
    auto byteAt = [&](size_t i) { return static_cast<unsigned char>(line[i]); };
    auto step = [&](size_t i) { return i + (byteAt(i) >= 0x80 && i + 1 < length ? 2 : 1); };
    // The program's own name is skipped byte by byte.
    if (length > 0 && line[0] == '"') {
        size_t close = line.find('"', 1);
        p = close == Text::npos ? length : close + 1;
        if (p < length && line[p] == ' ') ++p;
    } else {
        size_t space = line.find(' ');
        p = space == Text::npos ? length : space + 1;
    }
    while (p < length) {
        if (byteAt(p) <= 0x20) {
            ++p;
        } else if (line[p] == '"') {
            size_t begin = ++p;
            while (p < length && line[p] != '"') p = step(p);
            ListAppend(args, line.substr(begin, p - begin));
            if (p < length) ++p;
        } else {
            size_t begin = p;
            while (p < length && byteAt(p) > 0x20 && line[p] != '"') p = step(p);
            ListAppend(args, line.substr(begin, p - begin));
        }
    }
    return args;
}

Text GetSpecialFolder(int kind)
{
    char buffer[MAX_PATH + 1] = {};
    if (kind == DocumentsFolder) {
        if (!SHGetSpecialFolderPathA(nullptr, buffer, CSIDL_PERSONAL, FALSE)) return Text();
    } else if (kind == TemporaryFolder) {
        DWORD length = GetTempPathA(MAX_PATH, buffer);
        if (length == 0 || length > MAX_PATH) return Text();
    } else {
        return Text();
    }
    Text folder = BytesToText(buffer, sizeof buffer);
    if (folder.empty()) return Text();
    if (!EndsWithBackslash(folder)) folder += "\\";
    return folder;
}

bool FileExists(const Text& path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

void RemoveFile(const Text& path) { DeleteFileA(path.c_str()); }

void RenameFile(const Text& oldPath, const Text& newPath) { MoveFileA(oldPath.c_str(), newPath.c_str()); }

void ChangeFileAttributes(const Text& path, uint32_t attributes)
{
    SetFileAttributesA(path.c_str(), attributes & 0x27);
}

void WriteBytesToFile(const Text& path, std::initializer_list<ByteBlock> blocks)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    for (const ByteBlock& block : blocks) {
        const unsigned char* data = block.data;
        size_t left = ByteCount(block);
        bool failed = false;
        while (left > 0) {
            DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
            DWORD written = 0;
            if (!WriteFile(file, data, chunk, &written, nullptr) || written == 0) {
                failed = true;
                break;
            }
            data += written;
            left -= written;
        }
        if (failed) break;
    }
    CloseHandle(file);
}

Text FindFirstMatch(const Text& pattern, uint32_t attributeMask, SearchState& state)
{
    uint32_t mask = attributeMask & 0x37;
    WIN32_FIND_DATAA found;
    bool have;
    if (!pattern.empty()) {
        FindMatchClose(state);
        HANDLE search = FindFirstFileA(pattern.c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return Text();
        state.handle = search;
        have = true;
    } else {
        if (state.handle == nullptr) return Text();
        have = FindNextFileA(state.handle, &found) != 0;
    }
    while (have) {
        if (IsAccepted(found, mask)) return BytesToText(found.cFileName);
        have = FindNextFileA(state.handle, &found) != 0;
    }
    FindMatchClose(state);
    return Text();
}

void FindMatchClose(SearchState& state)
{
    if (state.handle == nullptr) return;
    FindClose(state.handle);
    state.handle = nullptr;
}

RunResult RunProgram(const Text& commandLine, bool wait)
{
    RunResult result;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return result;
    result.started = true;
    if (wait) {
        // No window message is handled meanwhile: the window stays still until the program ends.
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        if (GetExitCodeProcess(process.hProcess, &code)) result.exitCode = code;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

void ProcessPendingEvents()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE) && message.message != WM_QUIT) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got <= 0) {
            // A quit that arrived in between is put back for the main loop.
            if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
