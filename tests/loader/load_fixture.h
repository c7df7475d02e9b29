// load_fixture.h: loading a module for the loader's tests, and what a loaded
// module must satisfy whatever the file said.
//
//   LoaderTest fixture: each case gets a fresh private heap, dropped after it.
//   load(bytes)         memory source; 1 on success
//   check_tables()      every pointer and index the replayer and mixer follow stays in bounds
//   dump_tables()       the loaded tables as text, to compare two loads
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "music/loader.h"
#include "music/state.h"
#include "platform/heap.h"
#include "tools/xmwriter/xmwriter.h"

namespace loader_test {

using namespace music;

inline void fresh_heap() {
    if (stream.heap) platform::heap_destroy(stream.heap);
    stream.heap = platform::heap_create();
}

inline void drop_heap() {
    if (stream.heap) platform::heap_destroy(stream.heap);
    stream.heap = nullptr;
}

// Loads from memory into a fresh heap.
inline int32_t load(const std::vector<uint8_t>& bytes) {
    fresh_heap();
    source_select(1, int32_t(bytes.size()));
    return module_load(bytes.data());
}

inline int32_t load(const xmw::Module& m) { return load(xmw::xm_write(m)); }

class LoaderTest : public ::testing::Test {
protected:
    void TearDown() override { drop_heap(); }
};

// A small sound module: 2 channels, orders 0 1 0, two stored 4-row patterns,
// one instrument with one sample.
inline xmw::Module small_module() {
    xmw::Module m;
    m.title = "small";
    m.channels = 2;
    m.orders = {0, 1, 0};
    m.patterns.assign(2, xmw::Pattern{.rows = 4});
    xmw::cell(m, 0, 0, 0) = {49, 1, 0x40, 0x0F, 0x06};
    xmw::cell(m, 1, 3, 1) = {97, 0, 0, 0x0C, 0x20};
    xmw::Instrument& ins = m.instruments.emplace_back();
    ins.name = "tone";
    ins.samples.push_back({.data = {0, 4096, 8192, 4096, 0, -4096}, .loop_start = 1, .loop_length = 4, .loop_type = 1});
    return m;
}

inline const SampleRecord* sample(int instrument, int index) {
    return song.instruments[instrument].samples[index];
}

inline std::vector<int16_t> values(const SampleRecord* s, int count) { return {s->data, s->data + count}; }

// What the replayer and the mixer rely on: slot cells present exactly when
// rows x channels is not 0, instrument numbers within the count, at most 16
// samples per instrument, loops inside the frames.
inline void check_tables() {
    ASSERT_LE(song.channels, max_channels);
    ASSERT_GE(song.channels, 0);
    ASSERT_NE(song.pattern_table, nullptr);
    const uint8_t instrument_count = uint8_t(song.instrument_count);
    for (int k = 0; k < song.pattern_slots; ++k) {
        const PatternSlot& p = song.pattern_table[k];
        const size_t cells = size_t(p.rows) * size_t(song.channels);
        ASSERT_EQ(p.cells == nullptr, cells == 0) << "slot " << k;
        for (size_t i = 0; i < cells; ++i) ASSERT_LE(p.cells[i].instrument, instrument_count) << "slot " << k;
    }
    for (int i = 0; i < instrument_count; ++i) {
        const Instrument& ins = song.instruments[i];
        ASSERT_GE(ins.sample_count, 0);
        ASSERT_LE(ins.sample_count, 16);
        for (int j = 0; j < 16; ++j) {
            const SampleRecord* s = ins.samples[j];
            ASSERT_EQ(s != nullptr, j < ins.sample_count) << "instrument " << i << " sample " << j;
            if (!s) continue;
            ASSERT_GE(s->length, 0);
            ASSERT_NE(s->data, nullptr);
            if (s->loop_type == 0) {
                EXPECT_EQ(s->loop_start, 0);
                EXPECT_EQ(s->loop_length, s->length);
            } else {
                ASSERT_GE(s->loop_start, 0);
                ASSERT_GT(s->loop_length, 0);
                ASSERT_LE(int64_t(s->loop_start) + s->loop_length, int64_t(s->length));
            }
            // The guard and the two values after it are readable.
            volatile int16_t tail = s->data[s->length + 2];
            (void)tail;
        }
    }
}

inline std::string dump_tables() {
    std::string out = std::string(song_title) + "|";
    auto add = [&](const void* p, size_t n) { out.append(static_cast<const char*>(p), n); };
    add(&song.header_size, sizeof song.header_size);
    for (uint16_t v : {song.song_length, song.restart, song.pattern_slots, song.instrument_count, song.flags,
                       song.default_speed, song.default_bpm})
        add(&v, sizeof v);
    add(&song.channels, sizeof song.channels);
    add(song.order_table, sizeof song.order_table);
    for (int k = 0; k < song.pattern_slots; ++k) {
        const PatternSlot& p = song.pattern_table[k];
        add(&p.rows, 2);
        add(&p.packed_size, 2);
        if (p.cells) add(p.cells, size_t(p.rows) * size_t(song.channels) * sizeof(Cell));
    }
    for (int i = 0; i < uint8_t(song.instrument_count); ++i) {
        const Instrument& ins = song.instruments[i];
        add(&ins.sample_count, sizeof ins.sample_count);
        add(ins.sample_map, 208);
        for (int j = 0; j < ins.sample_count; ++j) {
            const SampleRecord* s = ins.samples[j];
            add(s, offsetof(SampleRecord, data));
            add(s->data, (size_t(s->length) + 3) * 2);
        }
    }
    return out;
}

}  // namespace loader_test
