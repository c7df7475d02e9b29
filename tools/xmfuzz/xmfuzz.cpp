// xmfuzz.cpp: a libFuzzer target for the XM loader. Each input is loaded from
// a block of exactly its size into a fresh heap; AddressSanitizer reports
// any access outside it, and the loaded tables are walked the way the
// replayer and the mixer follow them.
//
//   cmake --preset fuzz && cmake --build --preset fuzz --target xmfuzz
//   build/fuzz/tools/xmfuzz/xmfuzz -max_total_time=60 CORPUS_DIR
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "music/loader.h"
#include "music/state.h"

using namespace music;

namespace {
void check(bool ok) {
    if (!ok) std::abort();
}

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
        check(ins.sample_count >= 0 && ins.sample_count <= 16);
        for (int j = 0; j < ins.sample_count; ++j) {
            const SampleRecord* s = ins.samples[j];
            check(s && s->length >= 0);
            if (s->loop_type) check(s->loop_length > 0 && int64_t(s->loop_start) + s->loop_length <= s->length);
            for (int32_t f = 0; f < s->length + 3; ++f) sink = sink + s->data[f];
        }
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (size_t(1) << 24)) return 0;
    std::unique_ptr<uint8_t[]> block(new uint8_t[size ? size : 1]);
    if (size) std::memcpy(block.get(), data, size);
    stream.heap = platform::heap_create();
    source_select(1, int32_t(size));
    if (module_load(block.get())) walk_tables();
    platform::heap_destroy(stream.heap);
    stream.heap = nullptr;
    return 0;
}
