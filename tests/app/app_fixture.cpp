#include "app_fixture.h"
#include <gtest/gtest.h>

const char* const kMainWindowClass = "BrinkvaleMain";
const char* const kMessageTitle = "信息：";
const char* const kNoArchiverMessage =
    "您没有安装winrar压缩或者360压缩软件，无法使用本软件，请安装后再使用本软件。";
const char* const kNoQqMessage = "软件没有找到您的QQ安装目录，请安装最新版QQ后重启本软件。";

namespace {
const char* const kQqKey = "SOFTWARE\\Tencent\\QQ2009";
const char* const kWinRarKey = "Software\\WinRAR SFX";
const char* const kWinRarValue = "C%%Program Files%WinRAR";
const char* const kZip360Key = "360zip";
}  // namespace

RecordedMachine::RecordedMachine(const std::string& prefix)
    : scratch_(prefix),
      qq_(HKEY_LOCAL_MACHINE, kQqKey),
      winRar_(HKEY_CURRENT_USER, kWinRarKey),
      zip360_(HKEY_CLASSES_ROOT, kZip360Key)
{
}

RecordedMachine::~RecordedMachine() = default;

std::string RecordedMachine::RecordQq(const std::vector<std::string>& accounts)
{
    std::string install = scratch_ / "QQ";
    MakeFolders(install + "\\Users");
    for (const std::string& account : accounts) MakeFolders(install + "\\Users\\" + account + "\\Image");
    SetRegistryString(HKEY_LOCAL_MACHINE, kQqKey, "Install", install);
    return install;
}

void RecordedMachine::RecordWinRar()
{
    std::string folder = scratch_ / "WinRAR";
    MakeFolders(folder);
    SetRegistryString(HKEY_CURRENT_USER, kWinRarKey, kWinRarValue, folder);
}

void RecordedMachine::Record360Zip()
{
    std::string program = scratch_ / "360zip.exe";
    SetRegistryString(HKEY_CLASSES_ROOT, std::string(kZip360Key) + "\\DefaultIcon", "", program + ",0");
}

std::vector<std::string> ListedFolders(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '.')
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

Program StartBuilt(const std::string& exe, const std::string& arguments,
                   const std::vector<std::string>& environment)
{
    std::string line = "\"" + BinPath(exe) + "\"";
    if (!arguments.empty()) line += " " + arguments;
    Program program = StartProgram(line, BinDir(), environment);
    EXPECT_TRUE(program.process) << "could not start " << line;
    return program;
}

long ExitCodeWithin(Program& program, DWORD timeoutMs)
{
    DWORD code = 0;
    if (!WaitForExit(program, timeoutMs, &code)) return -2;
    CloseProgram(program);
    return static_cast<long>(static_cast<int>(code));
}

std::vector<std::string> ComboItems(HWND combo)
{
    std::vector<std::string> items;
    DWORD_PTR count = 0;
    SendMessageTimeoutA(combo, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count);
    for (DWORD_PTR i = 0; i < count; i++) {
        // Carried between processes as wide text, whichever call is made.
        WCHAR wide[512] = {};
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide), SMTO_ABORTIFHUNG, 2000, &ignored);
        char text[1024] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        items.push_back(text);
    }
    return items;
}

const ControlInfo* ControlWithId(const std::vector<ControlInfo>& controls, int id)
{
    for (const ControlInfo& control : controls)
        if (control.id == id) return &control;
    return nullptr;
}
