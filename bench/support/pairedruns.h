#pragma once

// Paired runs: two pieces of work timed one after the other, their order alternating, so that
// the machine's load falls on both alike. The ratio is taken within each pair.

#include "bench/support/spread.h"

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace benchsupport {

template <class F>
double Millis(F f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

struct Pairs {
    Spread first, second, ratio;   // times in milliseconds; first / second
};

// Both warmed once before counting.
template <class F, class G>
Pairs TimePairs(int pairs, F first, G second)
{
    first();
    second();
    std::vector<double> a, b, ratios;
    for (int i = 0; i < pairs; ++i) {
        double x = 0, y = 0;
        if (i % 2) {
            y = Millis(second);
            x = Millis(first);
        } else {
            x = Millis(first);
            y = Millis(second);
        }
        a.push_back(x);
        b.push_back(y);
        ratios.push_back(x / y);
    }
    return {SpreadOf(a), SpreadOf(b), SpreadOf(ratios)};
}

// The option --pairs=N (the number of paired runs; 0 leaves them out), taken out of the
// arguments before the benchmark library reads them; fallback when it is not given.
inline int TakePairsOption(int& argc, char** argv, int fallback)
{
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--pairs=", 8) == 0) {
            const int pairs = std::atoi(argv[i] + 8);
            std::memmove(argv + i, argv + i + 1, sizeof(char*) * size_t(argc - i));
            --argc;
            return pairs;
        }
    return fallback;
}

inline void PrintPairs(int pairs, const Pairs& p, const char* first, const char* second, const char* goal)
{
    std::printf("%d paired runs (median, min, max)\n", pairs);
    std::printf("  %-26s %8.2f ms %8.2f %8.2f\n", first, p.first.median, p.first.min, p.first.max);
    std::printf("  %-26s %8.2f ms %8.2f %8.2f\n", second, p.second.median, p.second.min, p.second.max);
    std::printf("  %s / %s: %.2f  %.2f  %.2f (goal: %s)\n", first, second, p.ratio.median, p.ratio.min, p.ratio.max, goal);
}

} // namespace benchsupport
