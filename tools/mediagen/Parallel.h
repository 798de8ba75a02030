// Splits a loop over rows across the machine's cores. Each row is computed by exactly one
// thread and rows never depend on one another, so the result is the same however the rows
// are shared out.
#pragma once

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

template <class Fn>
void parallel_rows(int rows, Fn&& fn)
{
    unsigned n = std::max(1u, std::min(8u, std::thread::hardware_concurrency()));
    if (n == 1 || rows < 8) {
        for (int y = 0; y < rows; ++y) fn(y);
        return;
    }
    std::atomic<int> next{0};
    auto work = [&] {
        for (int y = next++; y < rows; y = next++) fn(y);
    };
    std::vector<std::thread> pool;
    for (unsigned i = 1; i < n; ++i) pool.emplace_back(work);
    work();
    for (auto& t : pool) t.join();
}
