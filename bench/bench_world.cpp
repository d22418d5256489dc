#include "bench_world.h"

#include <psapi.h>
#include <cstdio>
#include <cstring>

#include "bench_clock.h"

bool EnterWorld(BenchWorld& world, const std::string& root)
{
    world.root = root;
    world.app = root + "\\app";
    world.users = root + "\\QQ\\Users";
    MakeFolders(world.app);
    if (!CopyFileA(BinPath("brinkvale.exe").c_str(), (world.app + "\\brinkvale.exe").c_str(), FALSE)) {
        std::fprintf(stderr, "cannot copy %s\n", BinPath("brinkvale.exe").c_str());
        return false;
    }
    const std::string qqKey = "SOFTWARE\\Tencent\\QQ2009";
    world.qqKey = std::make_unique<RegistryKeyGuard>(HKEY_LOCAL_MACHINE, qqKey);
    SetRegistryString(HKEY_LOCAL_MACHINE, qqKey, "Install", root + "\\QQ");
    const std::string rarKey = "Software\\WinRAR SFX";
    world.rarKey = std::make_unique<RegistryKeyGuard>(HKEY_CURRENT_USER, rarKey);
    SetRegistryString(HKEY_CURRENT_USER, rarKey, "C%%Program Files%WinRAR", BinPath("standin\\winrar"));
    return true;
}

Program StartBrinkvale(const BenchWorld& world)
{
    return StartProgram("\"" + world.app + "\\brinkvale.exe\"", world.app);
}

std::string StandinWinRar() { return BinPath("standin\\winrar\\WinRAR.exe"); }

HWND PollWindow(DWORD pid, const char* title, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND window = FindProcessWindow(pid, nullptr, title)) return window;
        if (GetTickCount() - start >= timeoutMs) return nullptr;
        Sleep(2);
    }
}

bool PollMessageBox(DWORD pid, DWORD timeoutMs, MessageBoxInfo* info)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (WaitForMessageBox(pid, 0, info)) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(5);
    }
}

HWND FindControl(HWND window, const std::string& className, const std::string& text)
{
    for (const ControlInfo& control : ListControls(window)) {
        if (!className.empty() && _stricmp(control.className.c_str(), className.c_str()) != 0) continue;
        if (!text.empty() && control.text != text) continue;
        return control.hwnd;
    }
    return nullptr;
}

int ComboCount(HWND combo)
{
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutA(combo, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count)) return -1;
    return int(LRESULT(count));
}

double PeakWorkingSetMb(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return 0;
    return double(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

double TimeCommand(const std::string& commandLine, DWORD* exitCode)
{
    double start = NowMs();
    Program program = StartProgram(commandLine);
    if (!program.process) return -1;
    DWORD code = 1;
    bool ended = WaitForExit(program, 600000, &code);
    double elapsed = NowMs() - start;
    CloseProgram(program);
    if (exitCode) *exitCode = code;
    return ended ? elapsed : -1;
}

void CloseWindowAndWait(Program& program, HWND window)
{
    if (!program.process) return;
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    if (!WaitForExit(program, 20000, nullptr)) {
        KillProgram(program);
        return;
    }
    CloseProgram(program);
}

void PrintResult(const char* key, double ours, double baseline, const char* unit)
{
    std::printf("RESULT %s %.3f %.3f %s\n", key, ours, baseline, unit);
    std::fflush(stdout);
}

void PrintNote(const std::string& text)
{
    std::printf("NOTE %s\n", text.c_str());
    std::fflush(stdout);
}
