// The stand-in archivers themselves: they pack and unpack real zips that other zip readers
// accept, keep GBK names whole, and refuse every command line but their own two.
#include <gtest/gtest.h>
#include <windows.h>
#include "archiver_fixture.h"
#include "support/test_support.h"

namespace {

// "乗" and "俓" end in the byte 0x5C, the same byte as "\".
const char* const kRoot = "数据乗";

struct StandIn {
    const char* label;
    const char* program;
    std::string (*packLine)(const std::string& program, const std::string& source, const std::string& zip);
    std::string (*unpackLine)(const std::string& program, const std::string& zip, const std::string& destination);
};

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

const StandIn kStandIns[] = {
    {"WinRAR", "standin\\winrar\\WinRAR.exe",
     [](const std::string& p, const std::string& s, const std::string& z) {
         return Quoted(p) + " a -ep1 -r -iext -- " + Quoted(z) + " " + Quoted(s);
     },
     [](const std::string& p, const std::string& z, const std::string& d) {
         return Quoted(p) + " x -iext -ow -ver -- " + Quoted(z) + " " + Quoted(d);
     }},
    {"360zip", "standin\\360zip\\360zip.exe",
     [](const std::string& p, const std::string& s, const std::string& z) {
         return Quoted(p) + " -ar " + Quoted(s) + " " + Quoted(z);
     },
     [](const std::string& p, const std::string& z, const std::string& d) {
         return Quoted(p) + " -x " + Quoted(z) + " " + Quoted(d);
     }},
};

std::string BinaryBytes()
{
    std::string bytes;
    for (int i = 0; i < 200000; i++) bytes += static_cast<char>((i * 7919) ^ (i >> 5));
    return bytes;
}

class StandInArchiver : public ::testing::TestWithParam<StandIn> {
protected:
    void SetUp() override
    {
        // Made folder by folder: a 0x5C second byte must never be taken for a separator.
        source_ = dir_ / kRoot;
        ASSERT_TRUE(CreateDirectoryA(source_.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA((source_ + "\\乗俓").c_str(), nullptr));
        WriteFileBytes(source_ + "\\乗俓\\表情 乗.txt", "gbk name ending in 0x5C");
        MakeTree(source_, {{"Msg2.0.db", "chat history"},
                           {"空 文件.txt", ""},
                           {"Image\\Group Pics\\a b.png", BinaryBytes()},
                           {"Image\\空目录\\", ""},
                           {"empty\\", ""}});
        program_ = BinPath(GetParam().program);
    }
    int Pack(const std::string& zip) { return RunToEnd(GetParam().packLine(program_, source_, zip)); }
    int Unpack(const std::string& zip, const std::string& destination)
    {
        return RunToEnd(GetParam().unpackLine(program_, zip, destination));
    }

    ScratchDir dir_{"standin"};
    std::string source_, program_;
};

TEST_P(StandInArchiver, PackedTreeUnpacksByteForByte)
{
    ASSERT_EQ(Pack(dir_ / "out.zip"), 0);
    ASSERT_EQ(Unpack(dir_ / "out.zip", dir_ / "restored\\"), 0);
    EXPECT_EQ(SnapshotTree(dir_ / std::string("restored\\") + kRoot), SnapshotTree(source_));
    EXPECT_FALSE(SnapshotTree(source_).empty());
}

TEST_P(StandInArchiver, UnpackingReplacesFilesAndCreatesTheDestination)
{
    ASSERT_EQ(Pack(dir_ / "out.zip"), 0);
    std::string restored = dir_ / "new folder\\deeper";
    MakeTree(restored, {{std::string(kRoot) + "\\Msg2.0.db", "an older and longer chat history"},
                        {std::string(kRoot) + "\\only here.txt", "kept"}});
    SetFileAttributesA((restored + "\\" + kRoot + "\\Msg2.0.db").c_str(), FILE_ATTRIBUTE_READONLY);

    ASSERT_EQ(Unpack(dir_ / "out.zip", restored), 0);
    EXPECT_EQ(ReadFileBytes(restored + "\\" + kRoot + "\\Msg2.0.db"), "chat history");
    EXPECT_EQ(ReadFileBytes(restored + "\\" + kRoot + "\\only here.txt"), "kept");
    EXPECT_EQ(ReadFileBytes(restored + "\\" + kRoot + "\\乗俓\\表情 乗.txt"), "gbk name ending in 0x5C");
}

// Python's zipfile and Info-ZIP's unzip read the archive; the names are the GBK bytes, "/"-separated,
// each beginning with the packed folder's own name. Wine starts a Unix program without waiting
// for it, so the script leaves its findings in a file that appears when it is done.
TEST_P(StandInArchiver, ZipReadersAcceptTheArchive)
{
    ASSERT_EQ(Pack(dir_ / "out.zip"), 0);
    WriteFileBytes(dir_ / "check.py",
                   "import os, subprocess, sys, zipfile\n"
                   "z = zipfile.ZipFile(sys.argv[1])\n"
                   "bad = z.testzip()\n"
                   "names = sorted(i.filename.encode('cp437') for i in z.infolist())\n"
                   "unzip = subprocess.run(['unzip', '-tqq', sys.argv[1]]).returncode\n"
                   "open(sys.argv[2] + '.part', 'wb').write(b'testzip=%r unzip=%d\\n' % (bad, unzip) + b'|'.join(names))\n"
                   "os.rename(sys.argv[2] + '.part', sys.argv[2])\n");
    std::string zip = UnixPath(dir_ / "out.zip");
    ASSERT_FALSE(zip.empty());
    RunToEnd("/usr/bin/python3 " + UnixPath(dir_ / "check.py") + " " + zip + " " + UnixPath(dir_ / "check.txt"));
    for (int i = 0; i < 300 && !PathExists(dir_ / "check.txt"); i++) Sleep(100);

    const std::string root = kRoot;
    EXPECT_EQ(ReadFileBytes(dir_ / "check.txt"),
              "testzip=None unzip=0\n" + root + "/|" + root + "/Image/|" + root + "/Image/Group Pics/|" + root +
                  "/Image/Group Pics/a b.png|" + root + "/Image/空目录/|" + root + "/Msg2.0.db|" + root +
                  "/empty/|" + root + "/乗俓/|" + root + "/乗俓/表情 乗.txt|" + root + "/空 文件.txt");
}

TEST_P(StandInArchiver, DamagedOrMissingArchiveFails)
{
    WriteFileBytes(dir_ / "not a zip.zip", "this is not a zip archive at all");
    EXPECT_NE(Unpack(dir_ / "not a zip.zip", dir_ / "out"), 0);
    EXPECT_NE(Unpack(dir_ / "missing.zip", dir_ / "out"), 0);

    ASSERT_EQ(Pack(dir_ / "out.zip"), 0);
    std::string bytes = ReadFileBytes(dir_ / "out.zip");
    size_t at = bytes.find("chat history");
    ASSERT_EQ(at, std::string::npos) << "the file data should be deflated";
    bytes[bytes.size() / 2] ^= 0x55;  // inside the binary file's deflated data
    WriteFileBytes(dir_ / "damaged.zip", bytes);
    EXPECT_NE(Unpack(dir_ / "damaged.zip", dir_ / "damaged"), 0);
}

TEST_P(StandInArchiver, MissingSourceFolderFailsWithoutAnArchive)
{
    EXPECT_NE(RunToEnd(GetParam().packLine(program_, dir_ / "no such folder", dir_ / "out.zip")), 0);
    EXPECT_FALSE(PathExists(dir_ / "out.zip"));
}

TEST_P(StandInArchiver, LogsTheRawLineAndFailsOnDemand)
{
    EnvironmentGuard log("BRINKVALE_ARCHIVER_LOG", dir_ / "log.txt");
    std::string line = GetParam().packLine(program_, source_, dir_ / "out.zip");
    {
        EnvironmentGuard fail("BRINKVALE_ARCHIVER_FAIL", "1");
        EXPECT_EQ(RunToEnd(line), 1);
        EXPECT_FALSE(PathExists(dir_ / "out.zip"));
    }
    EXPECT_EQ(RunToEnd(line), 0);
    EXPECT_EQ(ReadFileBytes(dir_ / "log.txt"), line + "\r\n" + line + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(Both, StandInArchiver, ::testing::ValuesIn(kStandIns),
                         [](const ::testing::TestParamInfo<StandIn>& info) { return std::string(info.param.label); });

struct Refused {
    const char* program;
    const char* rest;  // after the program part; {s} source folder, {z} archive
};

TEST(StandInCommandLine, AnythingButTheTwoFormsIsRefused)
{
    ScratchDir dir("standin-refused");
    MakeTree(dir.path(), {{"src\\a.txt", "a"}});
    const Refused cases[] = {
        {"standin\\winrar\\WinRAR.exe", ""},
        {"standin\\winrar\\WinRAR.exe", " a -ep1 -r -iext \"{z}\" \"{s}\""},
        {"standin\\winrar\\WinRAR.exe", " a -r -ep1 -iext -- \"{z}\" \"{s}\""},
        {"standin\\winrar\\WinRAR.exe", " a -ep1 -r -iext -- {z} {s}"},
        {"standin\\winrar\\WinRAR.exe", " a -ep1 -r -iext -- \"{z}\" \"{s}\" \"{s}\""},
        {"standin\\winrar\\WinRAR.exe", " a -ep1 -r -iext -- \"{z}\" \"{s}\" "},
        {"standin\\winrar\\WinRAR.exe", " a -ep1 -r -iext -- \"{s}\" \"{z}\""},
        {"standin\\winrar\\WinRAR.exe", " -ar \"{s}\" \"{z}\""},
        {"standin\\winrar\\WinRAR.exe", " x -iext -ow -- \"{z}\" \"{s}\""},
        {"standin\\360zip\\360zip.exe", " -ar \"{s}\""},
        {"standin\\360zip\\360zip.exe", " -ar  \"{s}\" \"{z}\""},
        {"standin\\360zip\\360zip.exe", " -a \"{s}\" \"{z}\""},
        {"standin\\360zip\\360zip.exe", " -ar \"{z}\" \"{s}\""},
        {"standin\\360zip\\360zip.exe", " a -ep1 -r -iext -- \"{z}\" \"{s}\""},
        {"standin\\360zip\\360zip.exe", " -x \"{z}\""},
    };
    for (const Refused& c : cases) {
        std::string rest = c.rest;
        for (size_t at; (at = rest.find("{s}")) != std::string::npos;) rest.replace(at, 3, dir / "src");
        for (size_t at; (at = rest.find("{z}")) != std::string::npos;) rest.replace(at, 3, dir / "out.zip");
        std::string line = "\"" + BinPath(c.program) + "\"" + rest;
        EXPECT_EQ(RunToEnd(line), 2) << line;
        EXPECT_FALSE(PathExists(dir / "out.zip")) << line;
        RemoveTree(dir / "out.zip");
    }
}

// The program part is taken as Windows would start it: quoted, or bare with blanks in it.
TEST(StandInCommandLine, BareProgramPathWithBlanksIsAccepted)
{
    ScratchDir dir("standin-bare");
    MakeTree(dir.path(), {{"src\\a.txt", "a"}});
    std::string program = dir / "Program Files\\360zip.exe";
    InstallStandIn("standin\\360zip\\360zip.exe", program);
    EXPECT_EQ(RunToEnd(program + " -ar \"" + (dir / "src") + "\" \"" + (dir / "out.zip") + "\""), 0);
    EXPECT_EQ(RunToEnd(program + " -x \"" + (dir / "out.zip") + "\" \"" + (dir / "back") + "\""), 0);
    EXPECT_EQ(ReadFileBytes(dir / "back\\src\\a.txt"), "a");
}

}  // namespace
