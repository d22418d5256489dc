// The archiver bridge against a real registry and the stand-in archivers: which archiver runs,
// the exact command lines they receive, and what the caller learns about the job.
#include <gtest/gtest.h>
#include <windows.h>
#include "archiver/archiver.h"
#include "archiver_fixture.h"
#include "support/test_support.h"

namespace {

const char* const kRarKey = "Software\\WinRAR SFX";
const char* const kRarValue = "C%%Program Files%WinRAR";
const char* const kZipKey = "360zip\\DefaultIcon";

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

class ArchiverBridge : public ::testing::Test {
protected:
    void SetUp() override
    {
        MakeTree(dir_.path(), {{"QQ\\Users\\12345\\Msg.db", "chat history"},
                               {"QQ\\Users\\12345\\Image\\", ""},
                               {"Temp\\", ""}});
    }
    void SetWinRar(const std::string& folder) { SetRegistryString(HKEY_CURRENT_USER, kRarKey, kRarValue, folder); }
    void Set360Zip(const std::string& icon) { SetRegistryString(HKEY_CLASSES_ROOT, kZipKey, "", icon); }
    std::string Log() { return ReadFileBytes(dir_ / "log.txt"); }
    std::string Source() { return dir_ / "QQ\\Users\\12345"; }
    std::string Target() { return dir_ / "Temp\\12345"; }

    ScratchDir dir_{"arc"};
    RegistryKeyGuard rarKey_{HKEY_CURRENT_USER, kRarKey};
    RegistryKeyGuard zipKey_{HKEY_CLASSES_ROOT, "360zip"};
    EnvironmentGuard log_{"BRINKVALE_ARCHIVER_LOG", dir_ / "log.txt"};
};

struct LineCase {
    const char* label;
    bool winRar;
    const char* value;      // the registry value; {d} is the scratch folder
    const char* standIn;    // where the stand-in is put
    const char* program;    // the program part as it must appear in the command lines
};

// Packs, then unpacks to a destination without and with a final "\"; each line as received.
TEST_F(ArchiverBridge, StandInsReceiveTheExactCommandLines)
{
    const LineCase cases[] = {
        {"worked example", true, "{d}\\Program Files\\WinRAR", "{d}\\Program Files\\WinRAR\\WinRAR.exe",
         "\"{d}\\Program Files\\WinRAR\\WinRAR.exe\""},
        {"WinRAR value ending in \\", true, "{d}\\WinRAR\\", "{d}\\WinRAR\\WinRAR.exe",
         "\"{d}\\WinRAR\\\\WinRAR.exe\""},
        {"360zip icon location", false, "{d}\\Program Files\\360\\360zip\\360zip.exe,0",
         "{d}\\Program Files\\360\\360zip\\360zip.exe", "\"{d}\\Program Files\\360\\360zip\\360zip.exe\""},
        {"360zip quoted, with index", false, "\"{d}\\Program Files\\360\\360zip\\360zip.exe\",0",
         "{d}\\Program Files\\360\\360zip\\360zip.exe", "\"{d}\\Program Files\\360\\360zip\\360zip.exe\""},
        {"360zip quoted, no index", false, "\"{d}\\Program Files\\360\\360zip\\360zip.exe\"",
         "{d}\\Program Files\\360\\360zip\\360zip.exe", "\"{d}\\Program Files\\360\\360zip\\360zip.exe\""},
        {"360zip bare program", false, "{d}\\360 zip\\360zip.exe", "{d}\\360 zip\\360zip.exe",
         "\"{d}\\360 zip\\360zip.exe\""},
    };
    const std::string d = dir_.path();
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.label);
        DeleteRegistryTree(HKEY_CURRENT_USER, kRarKey);
        DeleteRegistryTree(HKEY_CLASSES_ROOT, "360zip");
        InstallStandIn(c.winRar ? "standin\\winrar\\WinRAR.exe" : "standin\\360zip\\360zip.exe",
                       Replace(c.standIn, "{d}", d));
        if (c.winRar)
            SetWinRar(Replace(c.value, "{d}", d));
        else
            Set360Zip(Replace(c.value, "{d}", d));
        RemoveTree(dir_ / "log.txt");
        RemoveTree(dir_ / "Out");

        ArchiverResult packed = CompressFolder(Source(), Target());
        Text bare = dir_ / "Out";
        ArchiverResult unpackedBare = ExtractArchive(Target() + ".zip", bare);
        Text slashed = dir_ / "Out\\";
        ArchiverResult unpackedSlashed = ExtractArchive(Target() + ".zip", slashed);

        std::string program = Replace(c.program, "{d}", d);
        std::string expected;
        if (c.winRar) {
            expected = program + " a -ep1 -r -iext -- \"" + d + "\\Temp\\12345.zip\" \"" + d + "\\QQ\\Users\\12345\"\r\n" +
                       program + " x -iext -ow -ver -- \"" + d + "\\Temp\\12345.zip\" \"" + d + "\\Out\\\"\r\n" +
                       program + " x -iext -ow -ver -- \"" + d + "\\Temp\\12345.zip\" \"" + d + "\\Out\\\"\r\n";
            EXPECT_EQ(bare, d + "\\Out\\");
        } else {
            expected = program + " -ar \"" + d + "\\QQ\\Users\\12345\" \"" + d + "\\Temp\\12345.zip\"\r\n" +
                       program + " -x \"" + d + "\\Temp\\12345.zip\" \"" + d + "\\Out\"\r\n" +
                       program + " -x \"" + d + "\\Temp\\12345.zip\" \"" + d + "\\Out\\\"\r\n";
            EXPECT_EQ(bare, d + "\\Out");
        }
        EXPECT_EQ(slashed, d + "\\Out\\");
        EXPECT_EQ(Log(), expected);
        EXPECT_TRUE(packed.Succeeded());
        EXPECT_TRUE(unpackedBare.Succeeded());
        EXPECT_TRUE(unpackedSlashed.Succeeded());
        EXPECT_EQ(ReadFileBytes(dir_ / "Out\\12345\\Msg.db"), "chat history");
        EXPECT_TRUE(IsFolder(dir_ / "Out\\12345\\Image"));
    }
}

// "\WinRAR.exe" names the program in the root of the current drive.
TEST_F(ArchiverBridge, EmptyWinRarValueRunsTheProgramInTheDriveRoot)
{
    InstallStandIn("standin\\winrar\\WinRAR.exe", "C:\\WinRAR.exe");
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(dir_.path().c_str());
    SetWinRar("");

    EXPECT_TRUE(IsWinRarInstalled());
    ArchiverResult packed = CompressFolder(Source(), Target());

    SetCurrentDirectoryA(previous);
    DeleteFileA("C:\\WinRAR.exe");
    EXPECT_TRUE(packed.Succeeded());
    EXPECT_EQ(Log(), "\"\\WinRAR.exe\" a -ep1 -r -iext -- \"" + Target() + ".zip\" \"" + Source() + "\"\r\n");
}

TEST_F(ArchiverBridge, DetectionReadsTheRegistryOnEveryCall)
{
    EXPECT_FALSE(IsWinRarInstalled());
    EXPECT_FALSE(Is360ZipInstalled());
    SetRegistryDword(HKEY_CURRENT_USER, kRarKey, kRarValue, 1);
    SetRegistryDword(HKEY_CLASSES_ROOT, kZipKey, "", 1);
    EXPECT_FALSE(IsWinRarInstalled());
    EXPECT_FALSE(Is360ZipInstalled());
    SetWinRar("");
    Set360Zip("");
    EXPECT_TRUE(IsWinRarInstalled());
    EXPECT_TRUE(Is360ZipInstalled());
    // WinRAR installed without the value that names its folder counts as absent.
    DeleteRegistryTree(HKEY_CURRENT_USER, kRarKey);
    SetRegistryString(HKEY_CURRENT_USER, kRarKey, "Other", "C:\\WinRAR");
    EXPECT_FALSE(IsWinRarInstalled());
}

TEST_F(ArchiverBridge, WinRarDoesEveryJobWhenBothArePresent)
{
    InstallStandIn("standin\\winrar\\WinRAR.exe", dir_ / "rar\\WinRAR.exe");
    InstallStandIn("standin\\360zip\\360zip.exe", dir_ / "360\\360zip.exe");
    SetWinRar(dir_ / "rar");
    Set360Zip(dir_ / "360\\360zip.exe,0");

    EXPECT_TRUE(CompressFolder(Source(), Target()).Succeeded());
    Text destination = dir_ / "Out";
    EXPECT_TRUE(ExtractArchive(Target() + ".zip", destination).Succeeded());
    std::string log = Log();
    EXPECT_EQ(log.find("360zip"), std::string::npos) << log;
    EXPECT_NE(log.find(" a -ep1 "), std::string::npos) << log;
    EXPECT_NE(log.find(" x -iext "), std::string::npos) << log;
}

TEST_F(ArchiverBridge, NoArchiverMeansNothingRunsAndNothingIsDeleted)
{
    WriteFileBytes(Target() + ".zip", "stale");
    ArchiverResult packed = CompressFolder(Source(), Target());
    Text destination = dir_ / "Out";
    ArchiverResult unpacked = ExtractArchive(Target() + ".zip", destination);

    EXPECT_FALSE(packed.archiverFound);
    EXPECT_FALSE(unpacked.archiverFound);
    EXPECT_FALSE(packed.Succeeded());
    EXPECT_EQ(destination, dir_ / "Out");
    EXPECT_EQ(ReadFileBytes(Target() + ".zip"), "stale");
    EXPECT_FALSE(PathExists(dir_ / "log.txt"));
}

TEST_F(ArchiverBridge, FailingArchiverIsReportedAndTheStaleArchiveIsGone)
{
    const bool winRarCases[] = {true, false};
    for (bool winRar : winRarCases) {
        SCOPED_TRACE(winRar ? "WinRAR" : "360zip");
        DeleteRegistryTree(HKEY_CURRENT_USER, kRarKey);
        DeleteRegistryTree(HKEY_CLASSES_ROOT, "360zip");
        if (winRar) {
            InstallStandIn("standin\\winrar\\WinRAR.exe", dir_ / "rar\\WinRAR.exe");
            SetWinRar(dir_ / "rar");
        } else {
            InstallStandIn("standin\\360zip\\360zip.exe", dir_ / "360\\360zip.exe");
            Set360Zip(dir_ / "360\\360zip.exe,0");
        }
        WriteFileBytes(Target() + ".zip", "stale");
        EnvironmentGuard fail("BRINKVALE_ARCHIVER_FAIL", "1");

        ArchiverResult packed = CompressFolder(Source(), Target());
        EXPECT_TRUE(packed.archiverFound);
        EXPECT_TRUE(packed.started);
        EXPECT_EQ(packed.exitCode, 1u);
        EXPECT_FALSE(packed.Succeeded());
        EXPECT_FALSE(PathExists(Target() + ".zip"));
    }
}

TEST_F(ArchiverBridge, ArchiverThatCannotBeStartedIsReported)
{
    SetWinRar(dir_ / "nowhere");
    ArchiverResult packed = CompressFolder(Source(), Target());
    EXPECT_TRUE(packed.archiverFound);
    EXPECT_FALSE(packed.started);
    EXPECT_FALSE(packed.Succeeded());

    DeleteRegistryTree(HKEY_CURRENT_USER, kRarKey);
    Set360Zip(dir_ / "nowhere\\360zip.exe,0");
    Text destination = dir_ / "Out";
    ArchiverResult unpacked = ExtractArchive(Target() + ".zip", destination);
    EXPECT_TRUE(unpacked.archiverFound);
    EXPECT_FALSE(unpacked.started);
}

}  // namespace
