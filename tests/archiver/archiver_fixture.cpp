#include "archiver_fixture.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <vector>
#include "support/test_support.h"

EnvironmentGuard::EnvironmentGuard(const char* name, const std::string& value) : name_(name)
{
    char buffer[4096];
    DWORD length = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    had_ = length > 0 && length < sizeof buffer;
    if (had_) old_.assign(buffer, length);
    SetEnvironmentVariableA(name, value.c_str());
}

EnvironmentGuard::~EnvironmentGuard()
{
    SetEnvironmentVariableA(name_.c_str(), had_ ? old_.c_str() : nullptr);
}

void InstallStandIn(const std::string& standIn, const std::string& path)
{
    std::string folder = path.substr(0, path.rfind('\\'));
    MakeFolders(folder);
    ASSERT_TRUE(CopyFileA(BinPath(standIn).c_str(), path.c_str(), FALSE)) << path;
}

std::string UnixPath(const std::string& windowsPath)
{
    typedef char*(CDECL * UnixFileName)(const WCHAR*);
    auto toUnix = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return std::string();
    int length = MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, nullptr, 0);
    std::vector<WCHAR> wide(static_cast<size_t>(length));
    MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide.data(), length);
    char* unix = toUnix(wide.data());
    if (!unix) return std::string();
    std::string result = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}
