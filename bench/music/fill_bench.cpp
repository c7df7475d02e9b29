// fill_bench: render speed of the buffer fill (replayer ticks, voice updates,
// mixing and conversion) on one core, as a real-time factor: seconds of
// 44,100 Hz stereo rendered per second of work.
//
//   build/default/bench/music/fill_bench
//
// Modules: the program's built-in one and the three longest modules of the
// shared XM corpus that load. Each reports `realtime` (the factor), `limit` (3,000, the
// target for the built-in module) and `x_limit`, the factor over the limit.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "music/fill.h"
#include "music/offline.h"
#include "music/state.h"
#include "tests/support/xm_corpus.h"

extern const unsigned char builtin_module[];
extern const unsigned int builtin_module_size;

namespace {

constexpr double limit = 3000.0;

void render(benchmark::State& state, const std::vector<uint8_t>& module) {
    if (!music::offline_start(module.data(), int32_t(module.size()), 1)) {
        state.SkipWithError("the module does not load");
        return;
    }
    music::stream.volume_divisor = music::unity_divisor;
    // Past the first ticks, so the voices are sounding.
    for (int k = 0; k < 64; ++k) music::offline_block();
    int64_t frames = 0;
    for (auto _ : state) {
        for (int k = 0; k < 16; ++k) music::fill_block();
        benchmark::DoNotOptimize(music::stream.wave_buffer);
        frames += 16 * music::block_frames;
    }
    music::offline_stop();
    state.counters["realtime"] = benchmark::Counter(double(frames) / music::output_rate, benchmark::Counter::kIsRate);
    state.counters["limit"] = limit;
    state.counters["x_limit"] =
        benchmark::Counter(double(frames) / music::output_rate / limit, benchmark::Counter::kIsRate);
}

std::vector<std::pair<std::string, std::vector<uint8_t>>> corpus_longest(size_t count) {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
    for (const auto& path : xm_corpus::files()) {
        std::vector<uint8_t> bytes = xm_corpus::read(path);
        // Only modules that load.
        if (!music::offline_start(bytes.data(), int32_t(bytes.size()), 1)) continue;
        music::offline_stop();
        files.emplace_back(path.filename().string(), std::move(bytes));
    }
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a.second.size() > b.second.size(); });
    if (files.size() > count) files.resize(count);
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    static std::vector<uint8_t> builtin(builtin_module, builtin_module + builtin_module_size);
    static auto corpus = corpus_longest(3);
    benchmark::RegisterBenchmark("fill/builtin", [](benchmark::State& s) { render(s, builtin); })->UseRealTime();
    for (auto& [name, bytes] : corpus) {
        const std::vector<uint8_t>* m = &bytes;
        benchmark::RegisterBenchmark(("fill/corpus/" + name).c_str(), [m](benchmark::State& s) { render(s, *m); })
            ->UseRealTime();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
