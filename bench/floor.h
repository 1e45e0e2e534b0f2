#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

// The same-run floor: nanoseconds for std::fill over `pixels` 32-bit pixels, the least
// any redraw writing that many pixels can cost. Benchmarks publish their own time over it
// as the counter floor_ratio.
inline double fillFloorNs(std::size_t pixels) {
    std::vector<std::uint32_t> buffer(pixels);
    using Clock = std::chrono::steady_clock;
    double best = 1e300;
    for (int round = 0; round < 5; ++round) {
        const int reps = 200;
        const auto start = Clock::now();
        for (int i = 0; i < reps; ++i) {
            std::fill(buffer.begin(), buffer.end(), 0xFF000000u + static_cast<std::uint32_t>(i));
            benchmark::ClobberMemory();
        }
        const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
        best = std::min(best, ns / reps);
    }
    return best;
}

// Runs `body` for every benchmark iteration and sets floor_ratio against `pixels`.
template <class Body>
void runAgainstFloor(benchmark::State& state, std::size_t pixels, Body body) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    std::int64_t iterations = 0;
    for (auto _ : state) {
        body();
        benchmark::ClobberMemory();
        ++iterations;
    }
    const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    const double floor = fillFloorNs(pixels);
    state.counters["floor_ns"] = floor;
    state.counters["floor_ratio"] = iterations ? ns / static_cast<double>(iterations) / floor : 0;
}
