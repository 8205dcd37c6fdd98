#pragma once

#include <algorithm>
#include <chrono>
#include <functional>

namespace glyfora::bench {

// The fastest of repetitions runs of work, in milliseconds: the run least disturbed by the machine.
inline double BestMs(int repetitions, const std::function<void()>& work) {
    double best = 1e300;
    for (int i = 0; i < repetitions; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

} // namespace glyfora::bench
