// render_bench: how fast whole modules render, as real-time factors in
// processor time and in wall time (seconds of 44,100 Hz stereo per second of
// work), for the built-in module and the largest multi-channel modules of
// the shared XM corpus, side by side with libxmp as a black-box reference
// when it was found at configure time.
//
//   build/default/bench/music/render_bench [--benchmark_min_time=5]
//
// Each iteration renders 16 blocks (16,384 frames) with the player's own
// offline path and then, when the reference is built in, the same frames of
// the same module with libxmp at 44,100 Hz, 16-bit stereo, linear
// interpolation; the two are timed separately (the thread's processor clock
// and the steady clock), interleaved so that the machine's load falls on both
// alike. Counters: cpu_rt and wall_rt (ours), ref_cpu_rt and ref_wall_rt
// (libxmp), x_ref (cpu_rt / ref_cpu_rt), limit (2.5, the target for x_ref)
// and x_limit (x_ref / limit: at least 1 when the target is met).
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "music/offline.h"
#include "music/player.h"
#include "music/state.h"
#include "tests/support/xm_corpus.h"

#ifdef QUILLON_HAVE_LIBXMP
#include <xmp.h>
#endif

extern const unsigned char builtin_module[];
extern const unsigned int builtin_module_size;

namespace {

constexpr double limit = 2.5;
constexpr int blocks_per_iteration = 16;
constexpr int warm_up_blocks = 64;  // past the first ticks, so the voices sound
constexpr int32_t min_channels = 4;
constexpr size_t corpus_modules = 4;

struct Clock {
    double cpu = 0, wall = 0;  // seconds
};

double thread_seconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Runs f once and adds its processor and wall time to c.
template <typename F>
void timed(Clock& c, F f) {
    const double cpu = thread_seconds();
    const auto wall = std::chrono::steady_clock::now();
    f();
    c.cpu += thread_seconds() - cpu;
    c.wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
}

#ifdef QUILLON_HAVE_LIBXMP
struct Reference {
    xmp_context context = nullptr;
    std::vector<uint8_t> pcm = std::vector<uint8_t>(size_t(blocks_per_iteration) * music::block_frames * 4);

    bool start(const std::vector<uint8_t>& module) {
        context = xmp_create_context();
        if (xmp_load_module_from_memory(context, module.data(), long(module.size())) != 0) return false;
        if (xmp_start_player(context, music::output_rate, 0) != 0) return false;
        xmp_set_player(context, XMP_PLAYER_INTERP, XMP_INTERP_LINEAR);
        for (int k = 0; k < warm_up_blocks / blocks_per_iteration; ++k) render();
        return true;
    }
    bool failed = false;

    void render() {
        // Loop count 0: the song repeats, as the player's does.
        failed |= xmp_play_buffer(context, pcm.data(), int(pcm.size()), 0) != 0;
        benchmark::DoNotOptimize(pcm.data());
    }
    void stop() {
        if (!context) return;
        xmp_end_player(context);
        xmp_release_module(context);
        xmp_free_context(context);
        context = nullptr;
    }
};
#endif

void render(benchmark::State& state, const std::vector<uint8_t>& module) {
    music::player_set_volume(64);
    if (!music::offline_start(module.data(), int32_t(module.size()), 1)) {
        state.SkipWithError("the module does not load");
        return;
    }
    for (int k = 0; k < warm_up_blocks; ++k) music::offline_block();
#ifdef QUILLON_HAVE_LIBXMP
    Reference ref;
    if (!ref.start(module)) {
        ref.stop();
        music::offline_stop();
        state.SkipWithError("libxmp does not load the module");
        return;
    }
    Clock theirs;
#endif
    Clock ours;
    int64_t frames = 0;
    for (auto _ : state) {
        timed(ours, [] {
            for (int k = 0; k < blocks_per_iteration; ++k) benchmark::DoNotOptimize(music::offline_block());
        });
#ifdef QUILLON_HAVE_LIBXMP
        timed(theirs, [&ref] { ref.render(); });
#endif
        frames += int64_t(blocks_per_iteration) * music::block_frames;
    }
    music::offline_stop();
    const double audio = double(frames) / music::output_rate;
    state.counters["cpu_rt"] = audio / ours.cpu;
    state.counters["wall_rt"] = audio / ours.wall;
#ifdef QUILLON_HAVE_LIBXMP
    ref.stop();
    if (ref.failed) state.SkipWithError("libxmp stopped rendering");
    const double x_ref = theirs.cpu / ours.cpu;
    state.counters["ref_cpu_rt"] = audio / theirs.cpu;
    state.counters["ref_wall_rt"] = audio / theirs.wall;
    state.counters["x_ref"] = x_ref;
    state.counters["limit"] = limit;
    state.counters["x_limit"] = x_ref / limit;
#endif
}

// The largest corpus modules of at least min_channels channels that load.
std::vector<std::pair<std::string, std::vector<uint8_t>>> corpus_modules_chosen() {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
    for (const auto& path : xm_corpus::files()) {
        std::vector<uint8_t> bytes = xm_corpus::read(path);
        if (!music::offline_start(bytes.data(), int32_t(bytes.size()), 1)) continue;
        const int32_t channels = music::song.channels;
        music::offline_stop();
        if (channels >= min_channels) files.emplace_back(path.filename().string(), std::move(bytes));
    }
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a.second.size() > b.second.size(); });
    if (files.size() > corpus_modules) files.resize(corpus_modules);
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    static std::vector<uint8_t> builtin(builtin_module, builtin_module + builtin_module_size);
    static auto corpus = corpus_modules_chosen();
    benchmark::RegisterBenchmark("render/builtin", [](benchmark::State& s) { render(s, builtin); });
    for (auto& [name, bytes] : corpus) {
        const std::vector<uint8_t>* m = &bytes;
        benchmark::RegisterBenchmark(("render/corpus/" + name).c_str(), [m](benchmark::State& s) { render(s, *m); });
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
