#include <gtest/gtest.h>
#include <algorithm>
#include <vector>
#include "sys/sys_files.h"
#include "support/test_support.h"

namespace {

std::vector<Text> Items(const TextList& list) { return list.items; }

// Runs the probe with an output file of its own and returns what it wrote.
std::string RunProbe(const std::string& commandLine, const std::string& outputPath, int* exitCode = nullptr)
{
    DeleteFileA(outputPath.c_str());
    SetEnvironmentVariableA("BV_PROBE_OUT", outputPath.c_str());
    int code = RunToEnd(commandLine);
    SetEnvironmentVariableA("BV_PROBE_OUT", nullptr);
    if (exitCode) *exitCode = code;
    return ReadFileBytes(outputPath);
}

TEST(SysCommandLine, SplitsRawCommandLines)
{
    struct Case {
        const char* name;
        Text line;
        std::vector<Text> expected;
    } cases[] = {
        {"quoted program, quoted argument with blanks", "\"C:\\Program Files\\bv.exe\" \"D:\\my backups\\a.qq\"",
         {"D:\\my backups\\a.qq"}},
        {"quoted program, no argument", "\"C:\\Program Files\\bv.exe\"", {}},
        {"unquoted program, several spaces", "C:\\bv.exe    a.qq   b", {"a.qq", "b"}},
        {"unquoted program alone", "C:\\bv.exe", {}},
        {"unquoted program, trailing spaces", "C:\\bv.exe   ", {}},
        {"empty quotes", "bv.exe \"\" x", {"", "x"}},
        {"quote ends a plain argument", "bv.exe ab\"c d\"e", {"ab", "c d", "e"}},
        {"unclosed quote runs to the end", "bv.exe \"a b", {"a b"}},
        {"backslash is ordinary", "bv.exe \"C:\\dir\\\\\" x\\\"y", {"C:\\dir\\\\", "x\\", "y"}},
        {"control bytes separate", "bv.exe a\tb", {"a", "b"}},
        {"GBK bytes", "bv.exe 备份\\\x81\x5C.qq \"数据 文件\"", {"备份\\\x81\x5C.qq", "数据 文件"}},
        {"quoted program directly followed", "\"bv.exe\"x y", {"x", "y"}},
        {"empty line", "", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(Items(SplitCommandLine(c.line)), c.expected) << c.name;
}

TEST(SysCommandLine, ProgramGetsItsRawCommandLine)
{
    ScratchDir dir("sys-args");
    CopyFileA(BinPath("sys_probe.exe").c_str(), (dir / "sys_probe.exe").c_str(), FALSE);
    struct Case {
        const char* name;
        std::string arguments;
        std::string expected;
    } cases[] = {
        {"quoted argument with blanks", " args \"C:\\my backups\\a.qq\"", "[args]\n[C:\\my backups\\a.qq]\n"},
        {"several spaces", "    args   x", "[args]\n[x]\n"},
        {"empty quotes", " args \"\" x", "[args]\n[]\n[x]\n"},
    };
    for (const Case& c : cases) {
        std::string quoted = "\"" + (dir / "sys_probe.exe") + "\"" + c.arguments;
        EXPECT_EQ(RunProbe(quoted, dir / "out.txt"), c.expected) << c.name;
        std::string bare = (dir / "sys_probe.exe") + c.arguments;
        EXPECT_EQ(RunProbe(bare, dir / "out.txt"), c.expected) << c.name << " (unquoted program)";
    }
}

TEST(SysPaths, RunDirectoryOfAProgramInAFolderAndInADriveRoot)
{
    ScratchDir dir("sys-paths");
    std::string inFolder = dir / "sys_probe.exe";
    ASSERT_TRUE(CopyFileA(BinPath("sys_probe.exe").c_str(), inFolder.c_str(), FALSE));
    EXPECT_EQ(RunProbe("\"" + inFolder + "\" paths", dir / "out.txt"),
              dir.path() + "\nsys_probe.exe\n" + dir.path() + "\n");

    std::string rootName = "bv_sys_probe_" + std::to_string(GetCurrentProcessId()) + ".exe";
    std::string inRoot = "C:\\" + rootName;
    ASSERT_TRUE(CopyFileA(BinPath("sys_probe.exe").c_str(), inRoot.c_str(), FALSE));
    std::string written = RunProbe(inRoot + " paths", dir / "out.txt");
    DeleteFileA(inRoot.c_str());
    EXPECT_EQ(written, "C:\n" + rootName + "\nC:\\\n");
}

TEST(SysPaths, SpecialFoldersEndWithOneBackslash)
{
    ScratchDir dir("sys-temp");
    char saved[MAX_PATH] = {};
    GetEnvironmentVariableA("TMP", saved, MAX_PATH);
    for (const std::string& tmp : {dir.path(), dir.path() + "\\"}) {
        SetEnvironmentVariableA("TMP", tmp.c_str());
        EXPECT_EQ(GetSpecialFolder(TemporaryFolder), dir.path() + "\\") << tmp;
    }
    SetEnvironmentVariableA("TMP", saved[0] ? saved : nullptr);

    Text documents = GetSpecialFolder(DocumentsFolder);
    ASSERT_GE(documents.size(), 4u);
    EXPECT_EQ(documents.back(), '\\');
    EXPECT_NE(documents[documents.size() - 2], '\\');
    EXPECT_TRUE(IsFolder(documents.substr(0, documents.size() - 1)));
    EXPECT_EQ(GetSpecialFolder(5), "");
}

TEST(SysFiles, FolderSearchWithMask16YieldsOnlyFolders)
{
    ScratchDir dir("sys-find");
    MakeTree(dir.path(), {{"a.txt", "x"}, {"one\\", ""}, {"two\\", ""}, {"hidden\\", ""}, {"b.dat", "y"}});
    SetFileAttributesA((dir / "hidden").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY);
    SearchState state;
    std::vector<Text> names;
    for (Text name = FindFirstMatch(dir / "*.*", 16, state); !name.empty(); name = FindFirstMatch("", 16, state))
        names.push_back(name);
    EXPECT_EQ(state.handle, nullptr);
    EXPECT_EQ(FindFirstMatch("", 16, state), "");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<Text>{".", "..", "hidden", "one", "two"}));

    // Only files share a bit with the archive mask; a new pattern closes the open search first.
    SetFileAttributesA((dir / "a.txt").c_str(), FILE_ATTRIBUTE_ARCHIVE);
    SetFileAttributesA((dir / "b.dat").c_str(), FILE_ATTRIBUTE_ARCHIVE);
    Text first = FindFirstMatch(dir / "*.*", FILE_ATTRIBUTE_ARCHIVE, state);
    EXPECT_TRUE(first == "a.txt" || first == "b.dat") << first;
    EXPECT_EQ(FindFirstMatch(dir / "*.none", 16, state), "");
    EXPECT_EQ(state.handle, nullptr);
    FindMatchClose(state);
}

TEST(SysFiles, ExistenceRenameWriteAndAttributes)
{
    ScratchDir dir("sys-files");
    MakeTree(dir.path(), {{"sub\\", ""}, {"old.txt", "old"}, {"taken.txt", "taken"}});
    EXPECT_TRUE(FileExists(dir / "sub"));
    EXPECT_TRUE(FileExists(dir / "*.txt"));
    EXPECT_FALSE(FileExists(dir / "missing.txt"));

    RenameFile(dir / "old.txt", dir / "taken.txt");
    EXPECT_EQ(ReadFileBytes(dir / "old.txt"), "old");
    EXPECT_EQ(ReadFileBytes(dir / "taken.txt"), "taken");
    RenameFile(dir / "old.txt", dir / "sub\\moved.txt");
    EXPECT_FALSE(PathExists(dir / "old.txt"));
    EXPECT_EQ(ReadFileBytes(dir / "sub\\moved.txt"), "old");

    const unsigned char first[] = {'a', 0, 'b'};
    const unsigned char second[] = {'c'};
    WriteBytesToFile(dir / "taken.txt", {ByteBlock{first, sizeof first}, ByteBlock{nullptr, 0}, ByteBlock{second, 1}});
    EXPECT_EQ(ReadFileBytes(dir / "taken.txt"), std::string("a\0bc", 4));

    // The hidden bit replaces the others: read-only goes.
    SetFileAttributesA((dir / "taken.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ChangeFileAttributes(dir / "taken.txt", FILE_ATTRIBUTE_HIDDEN);
    DWORD attributes = GetFileAttributesA((dir / "taken.txt").c_str());
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(attributes & FILE_ATTRIBUTE_READONLY);

    RemoveFile(dir / "taken.txt");
    EXPECT_FALSE(PathExists(dir / "taken.txt"));
}

TEST(SysPrograms, RunProgramWaitsForTheChild)
{
    ScratchDir dir("sys-run");
    std::string marker = dir / "out.txt";
    SetEnvironmentVariableA("BV_PROBE_OUT", marker.c_str());
    RunResult result = RunProgram("\"" + BinPath("sys_probe.exe") + "\" paths", true);
    EXPECT_TRUE(result.started);
    // Written by the child before it ended, so present the moment RunProgram returns.
    EXPECT_FALSE(ReadFileBytes(marker).empty());

    result = RunProgram("\"" + BinPath("sys_probe.exe") + "\" exit 5 300", true);
    SetEnvironmentVariableA("BV_PROBE_OUT", nullptr);
    EXPECT_TRUE(result.started);
    EXPECT_EQ(result.exitCode, 5u);
}

TEST(SysPrograms, MissingProgramIsNotStarted)
{
    RunResult result = RunProgram("C:\\bvtest\\no such folder\\missing.exe /x", true);
    EXPECT_FALSE(result.started);
    result = RunProgram("", true);
    EXPECT_FALSE(result.started);
}

int g_dispatched = 0;

LRESULT CALLBACK CountingWindowProc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_APP) ++g_dispatched;
    return DefWindowProcA(window, message, w, l);
}

TEST(SysPrograms, PendingEventsAreDispatchedButQuitStays)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = CountingWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "BvSysPendingEvents";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("BvSysPendingEvents", "", 0, 0, 0, 10, 10, nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_APP, 0, 0);
    PostMessageA(window, WM_APP, 0, 0);
    PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 3, 0);
    PostMessageA(window, WM_APP, 0, 0);
    ProcessPendingEvents();
    EXPECT_EQ(g_dispatched, 2);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 3u);
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {}
    DestroyWindow(window);
}

}  // namespace
