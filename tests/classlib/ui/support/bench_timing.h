// Timing for the paint benchmarks: the median of seven rounds of a piece of
// work done count times, in microseconds per time.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

inline double MicrosecondsPer(int count, const std::function<void()>& work) {
    std::vector<double> rounds;
    for (int round = 0; round < 7; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < count; ++i) work();
        const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
        rounds.push_back(took.count() / count);
    }
    std::sort(rounds.begin(), rounds.end());
    return rounds[rounds.size() / 2];
}
