// What the driven benchmarks share: the world brinkvale.exe runs in (a QQ installation, the
// stand-in WinRAR recorded as installed, a copy of the program in a folder of its own), tight
// polls for its windows, its memory figures, and the result lines that bench/run.sh reads.
#pragma once
#include <windows.h>
#include <memory>
#include <string>

#include "driver.h"
#include "test_support.h"

struct BenchWorld {
    std::string root;   // the data folder made by the data generator
    std::string app;    // root\app, holding the copy of brinkvale.exe
    std::string users;  // root\QQ\Users
    std::unique_ptr<RegistryKeyGuard> qqKey, rarKey;
};

// Records root\QQ as QQ's installation and the stand-in WinRAR as the archiver; copies the program.
bool EnterWorld(BenchWorld& world, const std::string& root);
Program StartBrinkvale(const BenchWorld& world);
std::string StandinWinRar();  // the stand-in WinRAR.exe's full path

// A visible top-level window of the process, polled every few milliseconds (the driver's own
// waits poll at 50 ms, too coarse for start-up figures).
HWND PollWindow(DWORD pid, const char* title, DWORD timeoutMs);
// The first message box (not a file dialog) of the process, polled every few milliseconds.
bool PollMessageBox(DWORD pid, DWORD timeoutMs, MessageBoxInfo* info);
HWND FindControl(HWND window, const std::string& className, const std::string& text);
int ComboCount(HWND combo);  // -1 when the box does not answer

double PeakWorkingSetMb(HANDLE process);  // 0 when the system does not tell
// Runs a command line to its end; its wall time in ms, or -1 when it failed.
double TimeCommand(const std::string& commandLine, DWORD* exitCode = nullptr);
void CloseWindowAndWait(Program& program, HWND window);

// "RESULT key ours baseline unit": one figure of the table, medians of the samples.
void PrintResult(const char* key, double ours, double baseline, const char* unit);
void PrintNote(const std::string& text);  // "NOTE ...": shown under the table
