// ScanAccounts in-process over a QQ installation whose Users folder the caller made.
// Prints the median time of the timed rounds in milliseconds and the accounts found.
//   bench_scan QQ_FOLDER ROUNDS
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "qq/data_root.h"
#include "test_support.h"

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_scan QQ_FOLDER ROUNDS\n");
        return 2;
    }
    const std::string qqKey = "SOFTWARE\\Tencent\\QQ2009";
    RegistryKeyGuard guard(HKEY_LOCAL_MACHINE, qqKey);
    SetRegistryString(HKEY_LOCAL_MACHINE, qqKey, "Install", argv[1]);
    int rounds = std::atoi(argv[2]);

    InitAccountState();
    LocateDataRoot();
    ScanAccounts();  // warm-up
    int count = ListCount(AccountList());
    std::vector<double> samples;
    for (int i = 0; i < rounds; ++i) {
        LocateDataRoot();
        double start = NowMs();
        ScanAccounts();
        samples.push_back(NowMs() - start);
        if (ListCount(AccountList()) != count) return 1;
    }
    std::printf("accounts=%d data_root=%s median_ms=%.3f samples=%s\n", count, DataRoot().c_str(), Median(samples),
                JoinSamples(samples).c_str());
    ReleaseAccountState();
    return 0;
}
