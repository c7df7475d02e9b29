// convert_bench: each row converter over a whole 800 x 600 frame, against a
// plain memcpy of the frame's 1.92 MB measured in the same run.
//
//   build/default/bench/display/convert_bench
//
// Each converter reports its time per frame and `x_memcpy`, its time as a
// multiple of the memcpy; `limit` is the target ratio (1.1 for the straight
// 32-bit copy, 1.5 for the swapped 32-bit, the 24-bit and the 16-bit converters).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "display/convert.h"

namespace {

constexpr int W = 800, H = 600;

std::vector<uint32_t>& frame() {
    static std::vector<uint32_t> f = [] {
        std::vector<uint32_t> v(size_t(W) * H);
        for (size_t i = 0; i < v.size(); ++i) v[i] = uint32_t(i * 2654435761u) & 0xFFFFFF;
        return v;
    }();
    return f;
}

std::vector<uint8_t>& surface() {
    static std::vector<uint8_t> s(size_t(W) * H * 4 + 64);
    return s;
}

double now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

// Seconds per memcpy of the frame: the best of many, so a busy moment does
// not make the limit look slower than it is.
double memcpy_seconds() {
    static double best = [] {
        double b = 1e9;
        for (int round = 0; round < 200; ++round) {
            double t0 = now();
            std::memcpy(surface().data(), frame().data(), size_t(W) * H * 4);
            benchmark::ClobberMemory();
            b = std::min(b, now() - t0);
        }
        return b;
    }();
    return best;
}

void BM_memcpy_frame(benchmark::State& state) {
    for (auto _ : state) {
        std::memcpy(surface().data(), frame().data(), size_t(W) * H * 4);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * W * H * 4);
}
BENCHMARK(BM_memcpy_frame);

void BM_convert(benchmark::State& state, display::RowConverter convert, int bytes, double limit) {
    const uint32_t* src = frame().data();
    uint8_t* dst = surface().data();
    double best = 1e9;
    for (auto _ : state) {
        double t0 = now();
        for (int r = 0; r < H; ++r) convert(src + r * W, dst + size_t(r) * W * bytes, W);
        benchmark::ClobberMemory();
        best = std::min(best, now() - t0);
    }
    state.counters["x_memcpy"] = best / memcpy_seconds();
    if (limit > 0) state.counters["limit"] = limit;
    state.counters["ms_per_frame"] = best * 1e3;
}

BENCHMARK_CAPTURE(BM_convert, xrgb8888, display::row_to_xrgb8888, 4, 1.1);
BENCHMARK_CAPTURE(BM_convert, xbgr8888, display::row_to_xbgr8888, 4, 1.5);
BENCHMARK_CAPTURE(BM_convert, rgb888, display::row_to_rgb888, 3, 1.5);
BENCHMARK_CAPTURE(BM_convert, bgr888, display::row_to_bgr888, 3, 1.5);
BENCHMARK_CAPTURE(BM_convert, rgb565, display::row_to_rgb565, 2, 1.5);
BENCHMARK_CAPTURE(BM_convert, bgr565, display::row_to_bgr565, 2, 1.5);
BENCHMARK_CAPTURE(BM_convert, rgb555, display::row_to_rgb555, 2, 1.5);
BENCHMARK_CAPTURE(BM_convert, bgr555, display::row_to_bgr555, 2, 1.5);

}  // namespace

BENCHMARK_MAIN();
