#include <gtest/gtest.h>
#include <windows.h>
#include "program_start.h"
#include "screen_capture.h"

namespace {

// Wine keeps only the DOS attributes it can store and reports every plain file as archived,
// so under Wine "hidden only" reads as hidden plus the archive bit.
DWORD HiddenOnlyAsReported()
{
    bool wine = GetProcAddress(GetModuleHandleA("ntdll"), "wine_get_version") != nullptr;
    return wine ? DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE) : DWORD(FILE_ATTRIBUTE_HIDDEN);
}

FILETIME WrittenAt(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

bool SameTime(FILETIME a, FILETIME b) { return CompareFileTime(&a, &b) == 0; }

// The caption of the program's window: where the skin and the system look differ most.
RECT CaptionOf(HWND window)
{
    RECT frame = ScreenRect(window);
    POINT client = {0, 0};
    ClientToScreen(window, &client);
    return RECT{frame.left + 4, frame.top + 4, frame.right - 50, client.y - 2};
}

TEST(SkinProgram, FirstStartWritesTheEngineHiddenAndSecondStartLeavesIt)
{
    ProgramFolder program;
    ASSERT_NE(program.Start(), nullptr);
    ASSERT_TRUE(program.Close());
    ASSERT_TRUE(PathExists(program.library()));
    EXPECT_EQ(GetFileAttributesA(program.library().c_str()), HiddenOnlyAsReported());
    std::string written = ReadFileBytes(program.library());
    EXPECT_EQ(written, ReadFileBytes(BinPath("SkinH_EL.dll"))) << "byte for byte the engine the program carries";

    FILETIME first = WrittenAt(program.library());
    Sleep(1100);  // the file times must be able to differ
    ASSERT_NE(program.Start(), nullptr);
    ASSERT_TRUE(program.Close());
    EXPECT_TRUE(SameTime(WrittenAt(program.library()), first)) << "the second start rewrote the library";
    EXPECT_EQ(GetFileAttributesA(program.library().c_str()), HiddenOnlyAsReported());
}

TEST(SkinProgram, AVisibleLibraryPlacedByHandKeepsItsAttributes)
{
    ProgramFolder program;
    ASSERT_TRUE(CopyFileA(BinPath("SkinH_EL.dll").c_str(), program.library().c_str(), FALSE));
    SetFileAttributesA(program.library().c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    FILETIME placed = WrittenAt(program.library());
    ASSERT_NE(program.Start(), nullptr);
    ASSERT_TRUE(program.Close());
    EXPECT_EQ(GetFileAttributesA(program.library().c_str()),
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_TRUE(SameTime(WrittenAt(program.library()), placed));
    SetFileAttributesA(program.library().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(SkinProgram, WithoutALoadableEngineTheWindowOpensUnskinned)
{
    struct Case { const char* name; std::string content; } cases[] = {
        {"not a library", "this is no DLL"},
        {"a library without the entry", ReadFileBytes("C:\\windows\\system32\\msimg32.dll")},
    };
    Screen skinned;
    {
        ProgramFolder program;
        HWND window = program.Start();
        ASSERT_NE(window, nullptr);
        Sleep(500);
        ASSERT_TRUE(CaptureScreen("program-skinned", &skinned));
        EXPECT_TRUE(program.Close());
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.content.empty());
        ProgramFolder program;
        WriteFileBytes(program.library(), c.content);
        HWND window = program.Start();
        ASSERT_NE(window, nullptr) << "the window opens";
        MessageBoxInfo box;
        EXPECT_FALSE(WaitForMessageBox(program.program.pid, 500, &box)) << "no error box: " << box.text;
        Screen plain;
        ASSERT_TRUE(CaptureScreen(std::string("program-plain-") + (c.content.size() < 100 ? "junk" : "noentry"),
                                  &plain));
        EXPECT_GT(DifferingShare(plain, skinned, CaptionOf(window)), 0.3) << "the caption is the system's";
        EXPECT_TRUE(program.Close());
        EXPECT_EQ(ReadFileBytes(program.library()), c.content) << "an existing file is used unchanged";
    }
}

}  // namespace
