// Summaries of a benchmark's timed runs.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

// NaN for no runs.
inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? NAN : values[values.size() / 2];
}

inline double best(const std::vector<double> &values)
{
    return values.empty() ? NAN : *std::min_element(values.begin(), values.end());
}

inline double worst(const std::vector<double> &values)
{
    return values.empty() ? NAN : *std::max_element(values.begin(), values.end());
}
