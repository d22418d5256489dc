// The scan baseline: list the sub-folders of one folder with a bare FindFirstFile/FindNextFile
// loop, keeping the names. Prints the median time of the timed rounds in milliseconds.
// With "peek", the loop also looks at the message queue after each entry, as a listing that keeps
// its window responsive does: the part of the scan's cost that is the queue check.
//   bench_bare_scan FOLDER ROUNDS [peek]
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_clock.h"

static bool g_Peek = false;

static size_t ListFolders(const std::string& folder, std::vector<std::string>& names)
{
    names.clear();
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '.')
            names.push_back(found.cFileName);
        if (g_Peek) {
            MSG message;
            PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names.size();
}

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_bare_scan FOLDER ROUNDS [peek]\n");
        return 2;
    }
    std::string folder = argv[1];
    int rounds = std::atoi(argv[2]);
    g_Peek = argc > 3 && std::string(argv[3]) == "peek";
    std::vector<std::string> names;
    size_t count = ListFolders(folder, names);  // warm-up: the folder's entries are cached from here on
    std::vector<double> samples;
    for (int i = 0; i < rounds; ++i) {
        double start = NowMs();
        size_t listed = ListFolders(folder, names);
        samples.push_back(NowMs() - start);
        if (listed != count) return 1;
    }
    std::printf("folders=%zu median_ms=%.3f samples=%s\n", count, Median(samples), JoinSamples(samples).c_str());
    return 0;
}
