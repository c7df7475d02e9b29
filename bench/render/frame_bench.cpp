// frame_bench: the renderer's whole frame, as the viewer composes it in its
// first visible state (background, 33 visible page rows of 80 characters,
// two hover boxes, the ticker bar, 103 ticker cells, the cursor), and the
// background copy alone, each against one memcpy of the 1.92 MB frame
// measured in the same run.
//
//   build/default/bench/render/frame_bench
//
// Each reports `ms_per_frame` and `x_memcpy`, its best time as a multiple of
// the memcpy's; `limit` is the target ratio (4 for the frame, 1.5 for the
// background copy).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "bench/render/frame_compose.h"

namespace {

double now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

std::vector<uint32_t>& scratch() {
    static std::vector<uint32_t> s(800 * 600);
    return s;
}

using frame_compose::compose;
using frame_compose::start_up;

double memcpy_seconds() {
    static double best = [] {
        double b = 1e9;
        for (int round = 0; round < 200; ++round) {
            const double t0 = now();
            std::memcpy(scratch().data(), render::Framebuffer, sizeof render::Framebuffer);
            benchmark::ClobberMemory();
            b = std::min(b, now() - t0);
        }
        return b;
    }();
    return best;
}

void report(benchmark::State& state, double best, double limit) {
    state.counters["ms_per_frame"] = best * 1e3;
    state.counters["x_memcpy"] = best / memcpy_seconds();
    state.counters["limit"] = limit;
}

void BM_memcpy_frame(benchmark::State& state) {
    start_up();
    for (auto _ : state) {
        std::memcpy(scratch().data(), render::Framebuffer, sizeof render::Framebuffer);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(sizeof render::Framebuffer));
}
BENCHMARK(BM_memcpy_frame);

void BM_background(benchmark::State& state) {
    start_up();
    double best = 1e9;
    for (auto _ : state) {
        const double t0 = now();
        render::draw_background(0, 0);
        benchmark::ClobberMemory();
        best = std::min(best, now() - t0);
    }
    report(state, best, 1.5);
}
BENCHMARK(BM_background);

void BM_frame(benchmark::State& state) {
    start_up();
    double best = 1e9;
    for (auto _ : state) {
        const double t0 = now();
        compose();
        benchmark::ClobberMemory();
        best = std::min(best, now() - t0);
    }
    report(state, best, 4.0);
}
BENCHMARK(BM_frame);

}  // namespace

BENCHMARK_MAIN();
