// Wall-clock time for the benchmarks, and the median of a set of samples.
#pragma once
#include <string>
#include <vector>

double NowMs();  // milliseconds from an arbitrary start, sub-millisecond resolution
double Median(std::vector<double> samples);
std::string JoinSamples(const std::vector<double>& samples);  // "12.3 11.9 ..." for the log
