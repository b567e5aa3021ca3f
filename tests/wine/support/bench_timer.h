#pragma once
// Timing for the benchmark executables: the machine's performance counter, and the best of a
// few rounds, so one slow round (another process, a cold cache) does not decide a figure.

#include <windows.h>

#include <algorithm>

namespace brenik::test {

inline double SecondsNow() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Work>
double BestSeconds(int rounds, Work work) {
    double best = 1e9;
    for (int round = 0; round < rounds; ++round) {
        const double start = SecondsNow();
        work();
        best = std::min(best, SecondsNow() - start);
    }
    return best;
}

}  // namespace brenik::test
