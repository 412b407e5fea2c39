#pragma once
// Small timing helpers: every figure is printed beside a baseline measured in
// the same run, as one row "figure<TAB>value<TAB>baseline<TAB>ratio<TAB>unit".
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace bench
{

template <typename F> double medianMs(int reps, F&& f)
{
    std::vector<double> t;
    t.reserve(static_cast<std::size_t>(reps));
    for (int i = 0; i < reps; ++i) {
        const auto a = std::chrono::steady_clock::now();
        f();
        const auto b = std::chrono::steady_clock::now();
        t.push_back(std::chrono::duration<double, std::milli>(b - a).count());
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

inline void row(const char* figure, double value, double baseline, const char* unit)
{
    std::printf("%-44s\t%10.3f\t%10.3f\t%6.2f\t%s\n", figure, value, baseline,
                baseline > 0 ? value / baseline : 0.0, unit);
    std::fflush(stdout);
}

} // namespace bench
