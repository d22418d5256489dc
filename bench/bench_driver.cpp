// Times brinkvale.exe through its real window against the bare programs and the stand-in archiver.
//   bench_driver startup ROOT ACCOUNTS ROUNDS
//   bench_driver backup ROOT ACCOUNT ROUNDS     (backup unticked and ticked, then restore)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_benches.h"

int main(int argc, char** argv)
{
    std::string mode = argc > 1 ? argv[1] : "";
    if (argc == 5 && mode == "startup") return RunStartupBench(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    if (argc == 5 && mode == "backup") return RunBackupBench(argv[2], argv[3], std::atoi(argv[4]));
    std::fprintf(stderr, "usage: bench_driver startup ROOT ACCOUNTS ROUNDS | backup ROOT ACCOUNT ROUNDS\n");
    return 2;
}
