// Timing shared by the benchmark programs.
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

using Clock = std::chrono::steady_clock;

inline double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Milliseconds per call of `work`, repeated until at least a quarter second has passed,
// after one call that fills the system's caches.
template <typename Work>
double MillisecondsPerCall(Work work)
{
    work();
    int calls = 0;
    Clock::time_point start = Clock::now();
    double elapsed = 0;
    do {
        work();
        ++calls;
        elapsed = Ms(Clock::now() - start);
    } while (elapsed < 250);
    return elapsed / calls;
}

inline double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
