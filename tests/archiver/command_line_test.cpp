// The archiver command lines as texts: program paths from the registry values, the four lines.
#include <gtest/gtest.h>
#include "archiver/archiver.h"

namespace {

struct PathCase {
    const char* value;
    const char* program;
};

TEST(ArchiverProgramPath, WinRarFolderGetsTheProgramNameUnchanged)
{
    const PathCase cases[] = {
        {"C:\\Program Files\\WinRAR", "C:\\Program Files\\WinRAR\\WinRAR.exe"},
        {"C:\\WinRAR\\", "C:\\WinRAR\\\\WinRAR.exe"},
        {"", "\\WinRAR.exe"},
        {"D:\\工具\\压缩", "D:\\工具\\压缩\\WinRAR.exe"},
    };
    for (const PathCase& c : cases) EXPECT_EQ(WinRarProgramPath(c.value), c.program) << c.value;
}

TEST(ArchiverProgramPath, Zip360IconLocationGivesAQuotedProgram)
{
    const PathCase cases[] = {
        {"C:\\Program Files\\360\\360zip\\360zip.exe,0", "\"C:\\Program Files\\360\\360zip\\360zip.exe\""},
        {"\"C:\\Program Files\\360\\360zip\\360zip.exe\",0", "\"C:\\Program Files\\360\\360zip\\360zip.exe\""},
        {"C:\\Program Files\\360\\360zip\\360zip.exe", "\"C:\\Program Files\\360\\360zip\\360zip.exe\""},
        {"\"C:\\Program Files\\360\\360zip\\360zip.exe\"", "\"C:\\Program Files\\360\\360zip\\360zip.exe\""},
        {"C:\\360zip.exe,0,1", "\"C:\\360zip.exe\""},
        {"C:\\工具\\360zip.exe,-101", "\"C:\\工具\\360zip.exe\""},
        {",0", ""},
        {"", ""},
    };
    for (const PathCase& c : cases) EXPECT_EQ(Zip360ProgramPath(c.value), c.program) << c.value;
}

TEST(ArchiverCommandLines, WorkedExampleWithWinRar)
{
    Text program = WinRarProgramPath("C:\\Program Files\\WinRAR");
    EXPECT_EQ(WinRarCompressCommand(program, "D:\\QQ\\Users\\12345", "C:\\Temp\\12345"),
              "\"C:\\Program Files\\WinRAR\\WinRAR.exe\" a -ep1 -r -iext -- \"C:\\Temp\\12345.zip\" "
              "\"D:\\QQ\\Users\\12345\"");
    EXPECT_EQ(WinRarExtractCommand(program, "E:\\Backup\\12345.zip", "D:\\QQ\\Users\\"),
              "\"C:\\Program Files\\WinRAR\\WinRAR.exe\" x -iext -ow -ver -- \"E:\\Backup\\12345.zip\" "
              "\"D:\\QQ\\Users\\\"");
}

TEST(ArchiverCommandLines, WorkedExampleWith360Zip)
{
    Text program = Zip360ProgramPath("C:\\Program Files\\360\\360zip\\360zip.exe,0");
    EXPECT_EQ(Zip360CompressCommand(program, "D:\\QQ\\Users\\12345", "C:\\Temp\\12345"),
              "\"C:\\Program Files\\360\\360zip\\360zip.exe\" -ar \"D:\\QQ\\Users\\12345\" \"C:\\Temp\\12345.zip\"");
    EXPECT_EQ(Zip360ExtractCommand(program, "E:\\Backup\\12345.zip", "D:\\QQ\\Users\\"),
              "\"C:\\Program Files\\360\\360zip\\360zip.exe\" -x \"E:\\Backup\\12345.zip\" \"D:\\QQ\\Users\\\"");
}

TEST(ArchiverCommandLines, EmptyProgramLeavesTheLeadingBlank)
{
    EXPECT_EQ(Zip360CompressCommand("", "S", "T"), " -ar \"S\" \"T.zip\"");
    EXPECT_EQ(Zip360ExtractCommand("", "A.zip", "D"), " -x \"A.zip\" \"D\"");
}

}  // namespace
