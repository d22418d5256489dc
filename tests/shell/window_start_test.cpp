#include <gtest/gtest.h>
#include <windows.h>
#include "skin/program_start.h"

namespace {

std::string Sz(const std::string& text) { return text + std::string(1, '\0'); }

TEST(ShellWindowStart, AWindowModeStartRegistersTheProgramForQqFiles)
{
    RegistryKeyGuard classKey{HKEY_CLASSES_ROOT, "qq"};
    RegistryKeyGuard extensionKey{HKEY_CLASSES_ROOT, ".qq"};
    ProgramFolder program;
    ASSERT_NE(program.Start(), nullptr);
    ASSERT_TRUE(program.Close());
    DWORD two = 2;
    struct Read { std::string key, value; DWORD type; std::string data; } expected[] = {
        {"qq", "", REG_SZ, Sz("QQ数据备份文件")},
        {"qq", "EditFlags", REG_DWORD, std::string(reinterpret_cast<char*>(&two), 4)},
        {"qq\\Shell\\Open\\Command", "", REG_SZ, Sz("\"" + program.exe() + "\" \"%1\"")},
        {"qq\\DefaultIcon", "", REG_SZ, Sz(program.exe() + ",0")},
        {".qq", "", REG_SZ, Sz("qq")},
    };
    for (const Read& r : expected) {
        SCOPED_TRACE(r.key + "|" + r.value);
        DWORD type = 0;
        std::string data;
        ASSERT_TRUE(GetRegistryRaw(HKEY_CLASSES_ROOT, r.key, r.value, &type, &data));
        EXPECT_EQ(type, r.type);
        EXPECT_EQ(data, r.data);
    }
}

}  // namespace
