#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>
#include <map>
#include <string>
#include "shell/file_type.h"
#include "support/test_support.h"

namespace {

struct ExpectedValue {
    std::string path;
    std::string text;  // for a number: its decimal digits
    bool isNumber;
};

struct ValuesCase {
    const char* name;
    const char* executable;
    const char* extensions;
    const char* icon;
    const char* classKey;
    std::vector<ExpectedValue> expected;
};

TEST(ShellFileTypeValues, TableOfRegistrations)
{
    const std::string description = "QQ数据备份文件";
    const ValuesCase cases[] = {
        {"path with blanks", "C:\\Program Files\\Tools\\backup.exe", "qq", "", "",
         {{"qq\\", description, false},
          {"qq\\EditFlags", "2", true},
          {"qq\\Shell\\Open\\Command\\", "\"C:\\Program Files\\Tools\\backup.exe\" \"%1\"", false},
          {"qq\\DefaultIcon\\", "C:\\Program Files\\Tools\\backup.exe,0", false},
          {".qq\\", "qq", false}}},
        {"drive root", "C:\\backup.exe", "qq", "", "",
         {{"qq\\", description, false},
          {"qq\\EditFlags", "2", true},
          {"qq\\Shell\\Open\\Command\\", "\"C:\\backup.exe\" \"%1\"", false},
          {"qq\\DefaultIcon\\", "C:\\backup.exe,0", false},
          {".qq\\", "qq", false}}},
        {"own icon, class key and two extensions", "D:\\b.exe", "qq|bak", "D:\\icons.dll", "QQBackup",
         {{"QQBackup\\", description, false},
          {"QQBackup\\EditFlags", "2", true},
          {"QQBackup\\Shell\\Open\\Command\\", "\"D:\\b.exe\" \"%1\"", false},
          {"QQBackup\\DefaultIcon\\", "D:\\icons.dll,0", false},
          {".qq\\", "QQBackup", false},
          {".bak\\", "QQBackup", false}}},
        {"class key defaults to the whole list", "D:\\b.exe", "qq|bak", "", "",
         {{"qq|bak\\", description, false},
          {"qq|bak\\EditFlags", "2", true},
          {"qq|bak\\Shell\\Open\\Command\\", "\"D:\\b.exe\" \"%1\"", false},
          {"qq|bak\\DefaultIcon\\", "D:\\b.exe,0", false},
          {".qq\\", "qq|bak", false},
          {".bak\\", "qq|bak", false}}},
    };
    for (const ValuesCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<FileTypeValue> values = FileTypeValues(c.executable, c.extensions, c.icon, description, c.classKey);
        ASSERT_EQ(values.size(), c.expected.size());
        for (size_t i = 0; i < values.size(); ++i) {
            EXPECT_EQ(values[i].path, c.expected[i].path);
            EXPECT_EQ(values[i].isNumber, c.expected[i].isNumber);
            if (values[i].isNumber)
                EXPECT_EQ(std::to_string(values[i].number), c.expected[i].text);
            else
                EXPECT_EQ(values[i].text, c.expected[i].text);
        }
    }
}

// Every value below a key, by "sub\key|value", as type and raw bytes.
void CollectValues(HKEY root, const std::string& key, std::map<std::string, std::string>& into)
{
    HKEY opened;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &opened) != ERROR_SUCCESS) return;
    char name[256];
    BYTE data[2048];
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = sizeof name, size = sizeof data, type = 0;
        if (RegEnumValueA(opened, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        into[key + "|" + name] = std::to_string(type) + ":" + std::string(reinterpret_cast<char*>(data), size);
    }
    std::vector<std::string> children;
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = sizeof name;
        if (RegEnumKeyExA(opened, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        children.push_back(name);
    }
    RegCloseKey(opened);
    for (const std::string& child : children) {
        into[key + "\\" + child] = "<key>";
        CollectValues(root, key + "\\" + child, into);
    }
}

std::string Sz(const std::string& text) { return text + std::string(1, '\0'); }

class ShellFileTypeRegistry : public ::testing::Test {
protected:
    const std::string exe = "C:\\Program Files\\Brink Tools\\brinkvale.exe";
    RegistryKeyGuard classKey{HKEY_CLASSES_ROOT, "qq"};
    RegistryKeyGuard extensionKey{HKEY_CLASSES_ROOT, ".qq"};
    RegistryKeyGuard userClassKey{HKEY_CURRENT_USER, "Software\\Classes\\qq"};
    RegistryKeyGuard userExtensionKey{HKEY_CURRENT_USER, "Software\\Classes\\.qq"};

    void Register() { RegisterFileType(exe, "qq", "", "QQ数据备份文件", ""); }

    // The five values, read raw under a root and key prefix.
    void ExpectFiveValues(HKEY root, const std::string& prefix)
    {
        struct Read { std::string key, value; DWORD type; std::string data; };
        DWORD two = 2;
        const Read expected[] = {
            {"qq", "", REG_SZ, Sz("QQ数据备份文件")},
            {"qq", "EditFlags", REG_DWORD, std::string(reinterpret_cast<char*>(&two), 4)},
            {"qq\\Shell\\Open\\Command", "", REG_SZ, Sz("\"" + exe + "\" \"%1\"")},
            {"qq\\DefaultIcon", "", REG_SZ, Sz(exe + ",0")},
            {".qq", "", REG_SZ, Sz("qq")},
        };
        for (const Read& r : expected) {
            SCOPED_TRACE(prefix + r.key + "|" + r.value);
            DWORD type = 0;
            std::string data;
            ASSERT_TRUE(GetRegistryRaw(root, prefix + r.key, r.value, &type, &data));
            EXPECT_EQ(type, r.type);
            EXPECT_EQ(data, r.data);
        }
    }
};

TEST_F(ShellFileTypeRegistry, WritesTheFiveValuesForAPathWithBlanks)
{
    Register();
    ExpectFiveValues(HKEY_CLASSES_ROOT, "");
    // The classes root took them, so nothing went to the user's classes.
    DWORD type;
    std::string data;
    EXPECT_FALSE(GetRegistryRaw(HKEY_CURRENT_USER, "Software\\Classes\\qq", "", &type, &data));
}

TEST_F(ShellFileTypeRegistry, SecondRunLeavesTheRegistryAsAfterTheFirst)
{
    Register();
    std::map<std::string, std::string> first;
    CollectValues(HKEY_CLASSES_ROOT, "qq", first);
    CollectValues(HKEY_CLASSES_ROOT, ".qq", first);
    Register();
    std::map<std::string, std::string> second;
    CollectValues(HKEY_CLASSES_ROOT, "qq", second);
    CollectValues(HKEY_CLASSES_ROOT, ".qq", second);
    EXPECT_EQ(first, second);
}

TEST_F(ShellFileTypeRegistry, RepointsAnExistingExtensionAndKeepsItsOtherValues)
{
    SetRegistryString(HKEY_CLASSES_ROOT, ".qq", "", "OtherApp.Document");
    SetRegistryString(HKEY_CLASSES_ROOT, ".qq", "Content Type", "application/x-other");
    SetRegistryString(HKEY_CLASSES_ROOT, ".qq\\OpenWithProgids", "OtherApp.Document", "");
    SetRegistryString(HKEY_CLASSES_ROOT, "qq\\Shell\\Edit\\Command", "", "notepad.exe \"%1\"");
    Register();
    ExpectFiveValues(HKEY_CLASSES_ROOT, "");
    DWORD type;
    std::string data;
    ASSERT_TRUE(GetRegistryRaw(HKEY_CLASSES_ROOT, ".qq", "Content Type", &type, &data));
    EXPECT_EQ(data, Sz("application/x-other"));
    EXPECT_TRUE(GetRegistryRaw(HKEY_CLASSES_ROOT, ".qq\\OpenWithProgids", "OtherApp.Document", &type, &data));
    ASSERT_TRUE(GetRegistryRaw(HKEY_CLASSES_ROOT, "qq\\Shell\\Edit\\Command", "", &type, &data));
    EXPECT_EQ(data, Sz("notepad.exe \"%1\""));
}

// Keys under the classes root that nobody may write to or create keys below, as for a
// standard user on the machine's classes.
void DenyWrites(const std::string& key, bool deny)
{
    HKEY created;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, WRITE_DAC | KEY_WOW64_32KEY, nullptr,
                              &created, nullptr),
              ERROR_SUCCESS);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const char* sddl = deny ? "D:(D;;0x6;;;WD)(A;;KA;;;WD)" : "D:(A;;KA;;;WD)";
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr));
    EXPECT_EQ(RegSetKeySecurity(created, DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
    LocalFree(descriptor);
    RegCloseKey(created);
}

TEST_F(ShellFileTypeRegistry, UnwritableClassesRootSendsTheValuesToTheUsersClasses)
{
    DenyWrites("qq", true);
    DenyWrites(".qq", true);
    HKEY probe;
    bool denied = RegOpenKeyExA(HKEY_CLASSES_ROOT, "qq", 0, KEY_WRITE | KEY_WOW64_32KEY, &probe) != ERROR_SUCCESS;
    if (!denied) RegCloseKey(probe);
    Register();
    DenyWrites("qq", false);
    DenyWrites(".qq", false);
    ASSERT_TRUE(denied) << "the key's access list was not enforced";

    ExpectFiveValues(HKEY_CURRENT_USER, "Software\\Classes\\");
    DWORD type;
    std::string data;
    EXPECT_FALSE(GetRegistryRaw(HKEY_CLASSES_ROOT, "qq", "", &type, &data));
    EXPECT_FALSE(GetRegistryRaw(HKEY_CLASSES_ROOT, "qq\\Shell\\Open\\Command", "", &type, &data));
}

}  // namespace
