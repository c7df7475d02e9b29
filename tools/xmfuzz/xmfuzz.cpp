// xmfuzz.cpp: a libFuzzer target for the music pipeline. Each input is a
// module in memory: it is loaded through offline_start (memory source, fresh
// private heap), the loaded tables are walked the way the replayer and the
// mixer follow them, and then up to render_blocks blocks (about three
// seconds) are rendered with fill_block, or fewer when the song's ticks are
// short: a header BPM of thousands gives a tick every few frames, so the
// render also stops after about tick_budget ticks (130 blocks hold 151
// ticks at BPM 125), which keeps such inputs as fast as the others. AddressSanitizer reports any access
// outside what the loader and the heap handed out, UBSan any undefined step,
// libFuzzer's -timeout any row loop that never ends a block.
//
//   scripts/fuzz xmfuzz 600            (builds the fuzz preset, seeds, runs)
//   build/fuzz/tools/xmfuzz/xmfuzz -rss_limit_mb=2048 -timeout=10 CORPUS_DIR
//
// QUILLON_FUZZ_BLOCKS=n in the environment renders n blocks instead.
#include <cstdint>
#include <cstdlib>

#include "music/offline.h"
#include "music/state.h"

using namespace music;

namespace {
int render_blocks = 130;
constexpr int64_t tick_budget = 400;

void check(bool ok) {
    if (!ok) std::abort();
}

// What the loader promises its readers (loader.h).
void walk_tables() {
    check(song.channels >= 0 && song.channels <= max_channels);
    volatile int sink = 0;
    for (int k = 0; k < song.pattern_slots; ++k) {
        const PatternSlot& p = song.pattern_table[k];
        const size_t cells = size_t(p.rows) * size_t(song.channels);
        check((p.cells == nullptr) == (cells == 0));
        for (size_t i = 0; i < cells; ++i) check(p.cells[i].instrument <= uint8_t(song.instrument_count));
    }
    for (int i = 0; i < uint8_t(song.instrument_count); ++i) {
        const Instrument& ins = song.instruments[i];
        check(ins.sample_count >= 0 && ins.sample_count <= 255);
        check((ins.samples != nullptr) == (ins.sample_count > 0));
        for (int j = 0; j < ins.sample_count; ++j) {
            const SampleRecord* s = ins.samples[j];
            check(s && s->length >= 0);
            if (s->loop_type) check(s->loop_length > 0 && int64_t(s->loop_start) + s->loop_length <= s->length);
            else check(s->loop_start == 0 && s->loop_length == s->length);
            // The ends of the data: the first frame and the two zeros past the guard.
            sink = sink + s->data[0] + s->data[s->length + 2];
        }
    }
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const char* n = std::getenv("QUILLON_FUZZ_BLOCKS")) render_blocks = std::atoi(n);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (size_t(1) << 24)) return 0;
    // libFuzzer's buffer is exactly size bytes, so a read past it is caught.
    if (!offline_start(size ? data : reinterpret_cast<const uint8_t*>(""), int32_t(size), 1)) return 0;
    walk_tables();
    volatile uint8_t sink = 0;
    int64_t ticks = 0;
    for (int b = 0; b < render_blocks && ticks < tick_budget; ++b) {
        const int64_t per_tick = song.samples_per_tick > 0 ? song.samples_per_tick : 1;
        ticks += (block_frames + per_tick - 1) / per_tick;
        const uint8_t* out = offline_block();
        sink = sink ^ out[0] ^ out[4095];
    }
    offline_stop();
    return 0;
}
