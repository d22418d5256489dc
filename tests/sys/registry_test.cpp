#include <gtest/gtest.h>
#include <cstdlib>
#include "sys/sys_registry.h"
#include "support/test_support.h"

namespace {

const char* const kKey = "Software\\BrinkvaleTest\\SysRegistry";
const Text kFallback = "无";

class SysRegistry : public ::testing::Test {
protected:
    RegistryKeyGuard userKey_{HKEY_CURRENT_USER, kKey};
    RegistryKeyGuard machineKey_{HKEY_LOCAL_MACHINE, kKey};
    RegistryKeyGuard machineKey64_{HKEY_LOCAL_MACHINE, kKey, KEY_WOW64_64KEY};
    Text Path(const Text& rest) const { return JoinTexts(Text(kKey), "\\", rest); }
};

TEST(SysRegistryPath, SplitsAtTheLastBackslashOfItsOwn)
{
    struct Case {
        const char* name;
        Text path;
        Text key;
        Text value;
    } cases[] = {
        {"key and value", "SOFTWARE\\Tencent\\QQ2009\\Install", "SOFTWARE\\Tencent\\QQ2009", "Install"},
        {"value with percent signs", "Software\\WinRAR SFX\\C%%Program Files%WinRAR", "Software\\WinRAR SFX",
         "C%%Program Files%WinRAR"},
        {"ends with backslash", "360zip\\DefaultIcon\\", "360zip\\DefaultIcon", ""},
        {"no backslash", "Name", "", "Name"},
        {"leading backslash kept", "\\Key\\Name", "\\Key", "Name"},
        {"0x5C second byte does not split", "Key\\Va\x81\x5C", "Key", "Va\x81\x5C"},
    };
    for (const Case& c : cases) {
        RegistryPath split = SplitRegistryPath(c.path);
        EXPECT_EQ(split.key, c.key) << c.name;
        EXPECT_EQ(split.value, c.value) << c.name;
    }
}

TEST_F(SysRegistry, ReadsTextTypesAndFallsBackForTheRest)
{
    char systemRoot[MAX_PATH] = {};
    GetEnvironmentVariableA("SystemRoot", systemRoot, MAX_PATH);
    ASSERT_NE(systemRoot[0], '\0');
    struct Case {
        const char* name;
        DWORD type;
        std::string bytes;  // stored exactly
        Text expected;
    } cases[] = {
        {"REG_SZ", REG_SZ, std::string("C:\\QQ\0", 6), "C:\\QQ"},
        {"REG_SZ empty text", REG_SZ, std::string("\0", 1), ""},
        {"REG_SZ without data", REG_SZ, "", kFallback},
        {"REG_SZ without terminator", REG_SZ, "abc", "abc"},
        {"REG_SZ up to the first zero", REG_SZ, std::string("ab\0cd\0", 6), "ab"},
        {"REG_EXPAND_SZ expanded", REG_EXPAND_SZ, std::string("%SystemRoot%\\x\0", 15),
         JoinTexts(Text(systemRoot), "\\x")},
        {"REG_DWORD", REG_DWORD, std::string("\x02\0\0\0", 4), kFallback},
        {"REG_BINARY", REG_BINARY, "abc", kFallback},
        {"REG_MULTI_SZ", REG_MULTI_SZ, std::string("a\0b\0\0", 5), kFallback},
    };
    for (const Case& c : cases) {
        SetRegistryRaw(HKEY_CURRENT_USER, kKey, c.name, c.type, c.bytes);
        EXPECT_EQ(ReadRegistryText(CurrentUser, Path(c.name), kFallback), c.expected) << c.name;
    }
    EXPECT_EQ(ReadRegistryText(CurrentUser, Path("missing"), kFallback), kFallback);
    EXPECT_EQ(ReadRegistryText(CurrentUser, Path("NoSuchKey\\name"), kFallback), kFallback);
    EXPECT_EQ(ReadRegistryText(CurrentUser, Path("missing")), "");
}

TEST_F(SysRegistry, PathEndingInBackslashIsTheDefaultValue)
{
    EXPECT_TRUE(WriteRegistryValue(CurrentUser, Path("Icon\\"), "C:\\a.exe,0"));
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(GetRegistryRaw(HKEY_CURRENT_USER, JoinTexts(Text(kKey), "\\Icon"), "", &type, &data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(data, std::string("C:\\a.exe,0\0", 11));
    EXPECT_EQ(ReadRegistryText(CurrentUser, Path("Icon\\"), kFallback), "C:\\a.exe,0");
}

TEST_F(SysRegistry, WritesCreateTheWholeKeyChain)
{
    EXPECT_TRUE(WriteRegistryValue(CurrentUser, Path("a\\b\\c\\name"), "值"));
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(GetRegistryRaw(HKEY_CURRENT_USER, JoinTexts(Text(kKey), "\\a\\b\\c"), "name", &type, &data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(data, std::string("值\0", 3));
}

TEST_F(SysRegistry, IntegersAreStoredAsDwordBytes)
{
    EXPECT_TRUE(WriteRegistryValue(CurrentUser, Path("number"), 2u));
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(GetRegistryRaw(HKEY_CURRENT_USER, kKey, "number", &type, &data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(data, std::string("\x02\0\0\0", 4));
}

TEST_F(SysRegistry, ValueNameWithBackslashSecondByte)
{
    const Text name = "v\x81\x5C";
    EXPECT_TRUE(WriteRegistryValue(CurrentUser, Path(name), "x"));
    std::string data;
    EXPECT_TRUE(GetRegistryRaw(HKEY_CURRENT_USER, kKey, name, nullptr, &data));
    EXPECT_EQ(ReadRegistryText(CurrentUser, Path(name), kFallback), "x");
}

TEST_F(SysRegistry, RootNumbersNameTheirRoots)
{
    struct Case {
        int root;
        HKEY key;
    } cases[] = {
        {ClassesRoot, HKEY_CLASSES_ROOT}, {CurrentConfig, HKEY_CURRENT_CONFIG}, {CurrentUser, HKEY_CURRENT_USER},
        {LocalMachine, HKEY_LOCAL_MACHINE}, {Users, HKEY_USERS},           {0, HKEY_CURRENT_USER},
        {6, HKEY_CURRENT_USER},           {-1, HKEY_CURRENT_USER},
    };
    const std::string subKey = "BrinkvaleTestRoots";
    for (const Case& c : cases) {
        for (const Case& other : cases) DeleteRegistryTree(other.key, subKey);
        SetRegistryString(c.key, subKey, "v", "root");
        EXPECT_EQ(ReadRegistryText(c.root, subKey + "\\v", kFallback), "root") << c.root;
        for (const Case& other : cases) {
            if (other.key == c.key) continue;
            EXPECT_EQ(ReadRegistryText(other.root, subKey + "\\v", kFallback), kFallback)
                << c.root << " seen through " << other.root;
        }
        DeleteRegistryTree(c.key, subKey);
    }
}

TEST_F(SysRegistry, ValueInTheRootKeyItself)
{
    const std::string name = "BrinkvaleTestRootValue";
    EXPECT_TRUE(WriteRegistryValue(CurrentUser, name, "top"));
    std::string data;
    EXPECT_TRUE(GetRegistryRaw(HKEY_CURRENT_USER, "", name, nullptr, &data));
    EXPECT_EQ(ReadRegistryText(CurrentUser, name, kFallback), "top");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, nullptr, name.c_str());
}

TEST_F(SysRegistry, UsesThe32BitView)
{
    EXPECT_TRUE(WriteRegistryValue(LocalMachine, Path("Install"), "thirty-two"));
    EXPECT_TRUE(GetRegistryRaw(HKEY_LOCAL_MACHINE, kKey, "Install", nullptr, nullptr, KEY_WOW64_32KEY));
    EXPECT_FALSE(GetRegistryRaw(HKEY_LOCAL_MACHINE, kKey, "Install", nullptr, nullptr, KEY_WOW64_64KEY));

    SetRegistryString(HKEY_LOCAL_MACHINE, kKey, "Only64", "sixty-four", REG_SZ, KEY_WOW64_64KEY);
    EXPECT_EQ(ReadRegistryText(LocalMachine, Path("Only64"), kFallback), kFallback);
    EXPECT_EQ(ReadRegistryTextInView(LocalMachine, Path("Only64"), kFallback, View64), "sixty-four");
    EXPECT_EQ(ReadRegistryTextInView(LocalMachine, Path("Install"), kFallback, View32), "thirty-two");
}

}  // namespace
