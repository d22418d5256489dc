// Start-up: from process creation until the window is visible and its account box holds every
// account folder, against the bare window program from creation until its window is visible.
#include "bench_benches.h"

#include <cstdio>
#include <vector>

#include "bench_clock.h"
#include "bench_world.h"

namespace {

struct StartSample {
    double ms = -1;
    double visibleMs = -1;  // the window found, its box maybe not yet filled
    double peakMb = 0;
};

StartSample TimeBareWindow()
{
    StartSample sample;
    double start = NowMs();
    Program program = StartProgram("\"" + BinPath("bench_bare_window.exe") + "\"");
    HWND window = program.process ? PollWindow(program.pid, "bench-bare-window", 30000) : nullptr;
    if (window) sample.ms = NowMs() - start;
    sample.peakMb = PeakWorkingSetMb(program.process);
    CloseWindowAndWait(program, window);
    return sample;
}

// The bare window opening the Save dialog a backup opens: what the system's dialog alone costs.
double BareDialogPeakMb(const std::string& root)
{
    Program program = StartProgram("\"" + BinPath("bench_bare_window.exe") + "\" dialog");
    HWND window = program.process ? PollWindow(program.pid, "bench-bare-window", 30000) : nullptr;
    double peak = 0;
    if (window && AnswerFileDialog(program.pid, root + "\\bare.qq", 30000)) {
        Sleep(500);
        peak = PeakWorkingSetMb(program.process);
    }
    CloseWindowAndWait(program, window);
    return peak;
}

// Visible is not enough: the window is only ready once the box is filled.
StartSample TimeBrinkvale(const BenchWorld& world, int accounts)
{
    StartSample sample;
    double start = NowMs();
    Program program = StartBrinkvale(world);
    HWND window = nullptr, combo = nullptr;
    DWORD began = GetTickCount();
    while (program.process && GetTickCount() - began < 60000) {
        if (!window) {
            window = FindProcessWindow(program.pid, nullptr, "Brinkvale");
            if (window) sample.visibleMs = NowMs() - start;
        }
        if (window && !combo) combo = FindControl(window, "ComboBox", "");
        if (combo && ComboCount(combo) == accounts) {
            sample.ms = NowMs() - start;
            break;
        }
        MessageBoxInfo box;
        if (WaitForMessageBox(program.pid, 0, &box)) {
            std::fprintf(stderr, "brinkvale showed a message instead of its window: %s\n", box.text.c_str());
            PressDialogButton(box.hwnd, IDOK);
            break;
        }
        Sleep(2);
    }
    if (sample.ms < 0 && combo)
        std::fprintf(stderr, "the account box holds %d items, not %d\n", ComboCount(combo), accounts);
    sample.peakMb = PeakWorkingSetMb(program.process);
    CloseWindowAndWait(program, window);
    return sample;
}

}  // namespace

int RunStartupBench(const std::string& root, int accounts, int rounds)
{
    BenchWorld world;
    if (!EnterWorld(world, root)) return 1;
    // The first start writes the skin library beside the program; neither side is timed cold.
    TimeBareWindow();
    if (TimeBrinkvale(world, accounts).ms < 0) return 1;

    std::vector<double> ours, bare, oursPeak, barePeak;
    for (int i = 0; i < rounds; ++i) {
        StartSample b = TimeBareWindow();
        StartSample o = TimeBrinkvale(world, accounts);
        if (b.ms < 0 || o.ms < 0) return 1;
        bare.push_back(b.ms);
        ours.push_back(o.ms);
        barePeak.push_back(b.peakMb);
        oursPeak.push_back(o.peakMb);
        std::printf("SAMPLE startup ours=%.1f bare=%.1f ours_window_found=%.1f\n", o.ms, b.ms, o.visibleMs);
        std::fflush(stdout);
    }
    PrintResult("startup", Median(ours), Median(bare), "ms");
    PrintResult("startup_peak_ws", Median(oursPeak), Median(barePeak), "MB");
    PrintResult("bare_dialog_peak_ws", BareDialogPeakMb(root), 0, "MB");
    return 0;
}
