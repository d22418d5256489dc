#include "bench_clock.h"

#include <windows.h>
#include <algorithm>
#include <cstdio>

double NowMs()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

double Median(std::vector<double> samples)
{
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    size_t n = samples.size();
    return n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}

std::string JoinSamples(const std::vector<double>& samples)
{
    std::string joined;
    char one[32];
    for (double sample : samples) {
        std::snprintf(one, sizeof one, "%s%.2f", joined.empty() ? "" : " ", sample);
        joined += one;
    }
    return joined;
}
