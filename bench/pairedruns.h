#pragma once

// Paired runs: two pieces of work timed one after the other, their order alternating, so that
// the machine's load falls on both alike. The ratio is taken within each pair.

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <vector>

namespace benchsupport {

struct Spread {
    double median, min, max;
};

inline Spread SpreadOf(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    const double median = n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    return {median, v.front(), v.back()};
}

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

} // namespace benchsupport
