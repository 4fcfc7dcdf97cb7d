// What the settings benchmarks measure: the process's CPU time (the machine may be shared, and waiting for a
// processor is not work), the median of a few runs, and the bound that counts as linear growth.
#pragma once

#include <algorithm>
#include <ctime>
#include <vector>

// Doubling the input may at most multiply the time by this.
constexpr double kLinearDoublingRatio = 2.2;

inline double cpuMs()
{
    timespec now = {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
