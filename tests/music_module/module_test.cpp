// module_test.cpp: the built-in music as the player loads and plays
// it: its profile, its cells and samples against the text sources, the
// length of one pass against what the sources add up to, and a whole pass
// rendered at full volume without clipping, silence or a one-sided mix.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

#include "music/fill.h"
#include "music/loader.h"
#include "music/offline.h"
#include "music/player.h"
#include "music/replayer.h"
#include "music/source.h"
#include "music/state.h"
#include "platform/heap.h"
#include "tests/music_module/song_walk.h"
#include "tools/xmcompose/synth.h"

extern const unsigned char builtin_module[];
extern const unsigned int builtin_module_size;

namespace {

using namespace music;

const xmc::Song& sources() {
    static xmc::Song song;
    static bool read = false;
    if (!read) {
        std::string error;
        read = xmc::read_song(QUILLON_MUSIC_DIR, song, error);
        EXPECT_TRUE(read) << error;
    }
    return song;
}

// The start of the player without a wave device or thread: load the
// built-in module into a fresh heap and set the play state to its start.
void start_builtin() {
    if (stream.heap) platform::heap_destroy(stream.heap);
    song = SongState{};
    source_select(1, int32_t(builtin_module_size));
    stream.heap = platform::heap_create();
    ASSERT_NE(stream.heap, nullptr);
    ASSERT_EQ(module_load(builtin_module), 1);
    std::memset(channels, 0, sizeof channels);
    std::memset(voices, 0, sizeof voices);
    for (int32_t i = 0; i < voice_count; ++i) {
        voices[i].index = i;
        voices[i].step_integer = 1;
    }
    for (int32_t k = 0; k < max_channels; ++k) channels[k].voice = &voices[k];
    song.samples_left = 0;
    song.global_volume = 64;
    song.tick = 0;
    song.speed = song.default_speed;
    song.delay_ticks = 0;
    song.next_order = 0;
    song.next_row = 0;
    song.elapsed_ms = 0;
    set_bpm(song.default_bpm);
    stream.block_index = 0;
    stream.volume_divisor = 16;  // full volume
}

TEST(BuiltinModule, HeaderIsAVersion0104Xm) {
    ASSERT_GT(builtin_module_size, 336u);
    EXPECT_EQ(std::memcmp(builtin_module, "Extended Module: ", 17), 0);
    EXPECT_EQ(builtin_module[58] | builtin_module[59] << 8, 0x0104);
    uint32_t header_size = builtin_module[60] | builtin_module[61] << 8 | builtin_module[62] << 16 |
                           uint32_t(builtin_module[63]) << 24;
    EXPECT_EQ(header_size, 276u);
}

TEST(BuiltinModule, LoadsWithItsProfile) {
    start_builtin();
    EXPECT_EQ(song.channels, 12);
    EXPECT_EQ(song.song_length, 18);
    EXPECT_EQ(song.restart, 0);
    EXPECT_EQ(song.pattern_slots, 12);
    EXPECT_EQ(song.instrument_count, 6);
    EXPECT_EQ(song.flags & 1, 1) << "linear frequency table";
    EXPECT_EQ(song.default_speed, 8);
    EXPECT_EQ(song.default_bpm, 160);
    EXPECT_EQ(song.samples_per_tick, 689);
    EXPECT_EQ(*std::max_element(song.order_table, song.order_table + song.song_length), 11);
    EXPECT_STREQ(song_title, sources().title.c_str());
    for (int p = 0; p < song.pattern_slots; ++p) {
        EXPECT_EQ(song.pattern_table[p].rows, 64) << "pattern " << p;
        EXPECT_NE(song.pattern_table[p].cells, nullptr) << "pattern " << p;
    }
    int loops[4] = {};
    for (int i = 0; i < song.instrument_count; ++i) {
        const Instrument& ins = song.instruments[i];
        ASSERT_EQ(ins.sample_count, 1) << "instrument " << i + 1;
        const SampleRecord* s = ins.samples[0];
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->is_16bit, 0) << "instrument " << i + 1;
        EXPECT_NE(s->packing, 0xAD);
        ASSERT_LT(s->loop_type, 3);
        ++loops[s->loop_type];
        EXPECT_EQ(ins.volume_type & envelope_on, 0) << "no volume envelope";
        EXPECT_EQ(ins.panning_type & envelope_on, 0) << "no panning envelope";
        EXPECT_EQ(ins.vibrato_depth, 0) << "no auto-vibrato";
        EXPECT_EQ(ins.fadeout, 0);
        for (int n = 0; n < 96; ++n) EXPECT_EQ(ins.sample_map[n], 0);
        if (s->loop_type == 0) {
            EXPECT_EQ(s->loop_start, 0);
            EXPECT_EQ(s->loop_length, s->length);
        } else {
            EXPECT_GT(s->loop_length, 0);
            EXPECT_LE(s->loop_start + s->loop_length, s->length);
        }
    }
    EXPECT_EQ(loops[1], 1) << "one forward loop";
    EXPECT_EQ(loops[2], 1) << "one ping-pong loop";
    EXPECT_EQ(loops[0], 4) << "the others unlooped";
}

// The effects are the profile's: 0, 2, 3, 4, 6, 8, A, E6 (the loop on order
// 0's pattern only) and F switching the speed between 8 and 5; the volume
// column only sets the volume or slides it finely down; notes are C-0..B-7
// or key-off; every cell's instrument exists.
TEST(BuiltinModule, UsesTheProfilesEffects) {
    start_builtin();
    std::set<int> effects, speeds, volume_kinds;
    int loops_outside_order_0 = 0, key_offs = 0;
    for (int p = 0; p < song.pattern_slots; ++p) {
        const PatternSlot& slot = song.pattern_table[p];
        for (int i = 0; i < slot.rows * song.channels; ++i) {
            const Cell& c = slot.cells[i];
            if (c.effect == 0xE) {
                effects.insert(0xE0 | c.parameter >> 4);
                if (c.parameter >> 4 == 6 && p != song.order_table[0]) ++loops_outside_order_0;
            } else if (c.effect != 0 || c.parameter != 0) {
                effects.insert(c.effect);
            }
            if (c.effect == 0xF) speeds.insert(c.parameter);
            if (c.volume) volume_kinds.insert(c.volume >= 0x10 && c.volume <= 0x50 ? 1 : c.volume >> 4);
            EXPECT_TRUE(c.note <= 97) << "pattern " << p << " cell " << i;
            key_offs += c.note == 97;
            EXPECT_LE(c.instrument, song.instrument_count);
        }
    }
    EXPECT_EQ(effects, (std::set<int>{0x0, 0x2, 0x3, 0x4, 0x6, 0x8, 0xA, 0xE6, 0xF}));
    EXPECT_EQ(speeds, (std::set<int>{5, 8}));
    EXPECT_EQ(volume_kinds, (std::set<int>{1, 0x8})) << "set volume and fine volume down";
    EXPECT_EQ(loops_outside_order_0, 0);
    EXPECT_GT(key_offs, 0);
    for (int o = 1; o < song.song_length; ++o)
        EXPECT_NE(song.order_table[o], song.order_table[0]) << "the looped pattern plays at order 0 only";
}

// Every cell and every sample value the player holds is the one the sources say.
TEST(BuiltinModule, MatchesItsSources) {
    start_builtin();
    const xmc::Song& src = sources();
    ASSERT_EQ(int(src.patterns.size()), song.pattern_slots);
    for (int o = 0; o < song.song_length; ++o) EXPECT_EQ(song.order_table[o], src.orders[o]) << "order " << o;
    for (int p = 0; p < song.pattern_slots; ++p) {
        const PatternSlot& slot = song.pattern_table[p];
        ASSERT_EQ(int(slot.rows) * song.channels, int(src.patterns[p].cells.size()));
        for (size_t i = 0; i < src.patterns[p].cells.size(); ++i) {
            const xmc::Cell& want = src.patterns[p].cells[i];
            const Cell& got = slot.cells[i];
            ASSERT_TRUE(got.note == want.note && got.instrument == want.instrument && got.volume == want.volume &&
                        got.effect == want.effect && got.parameter == want.parameter)
                << "pattern " << p << " row " << i / song.channels << " channel " << i % song.channels + 1;
        }
    }
    for (int i = 0; i < song.instrument_count; ++i) {
        const xmc::InstrumentSource& ins = src.instruments[i];
        xmc::SampleData want;
        std::string error;
        ASSERT_TRUE(xmc::synthesise(ins, want, error)) << error;
        const SampleRecord* s = song.instruments[i].samples[0];
        ASSERT_EQ(s->length, int32_t(want.data.size())) << ins.name;
        EXPECT_EQ(s->volume, ins.volume);
        EXPECT_EQ(s->panning, ins.panning);
        EXPECT_EQ(s->relative_note, ins.relative_note);
        EXPECT_EQ(s->finetune, ins.finetune);
        EXPECT_TRUE(std::equal(want.data.begin(), want.data.end(), s->data)) << ins.name;
    }
}

// One pass rendered through the buffer fill, block by block, with what the
// tests below look at.
struct Render {
    int64_t blocks = 0;
    float peak_left = 0, peak_right = 0;
    double energy_left = 0, energy_right = 0;
    int64_t longest_quiet = 0;  // frames in the longest run of near-silent blocks
    bool last_order_before_end = false, order_0_after_end = false;
};

const Render& render_one_pass() {
    static Render r;
    static bool done = false;
    if (done) return r;
    done = true;
    const PassLength pass = walk_one_pass(sources());
    start_builtin();
    const int64_t full_blocks = pass.frames / block_frames;
    int64_t quiet = 0;
    for (int64_t b = 0; b <= full_blocks; ++b) {
        const int32_t index = stream.block_index;
        fill_block();
        const float* block = stream.mix_buffer + size_t(index) * block_frames * 2;
        float block_peak = 0;
        for (int32_t f = 0; f < block_frames; ++f) {
            float l = block[2 * f], rr = block[2 * f + 1];
            r.peak_left = std::max(r.peak_left, std::fabs(l));
            r.peak_right = std::max(r.peak_right, std::fabs(rr));
            r.energy_left += double(l) * l;
            r.energy_right += double(rr) * rr;
            block_peak = std::max({block_peak, std::fabs(l), std::fabs(rr)});
        }
        quiet = block_peak < 256 ? quiet + block_frames : 0;  // below 1% of full scale
        r.longest_quiet = std::max(r.longest_quiet, quiet);
        ++r.blocks;
        if (b == full_blocks - 1)
            r.last_order_before_end = song.order == song.song_length - 1 && song.row == 63;
        if (b == full_blocks) r.order_0_after_end = song.order == song.restart && song.row == 0;
    }
    return r;
}

TEST(BuiltinModule, PassLengthMatchesItsPatternsAndSpeeds) {
    const PassLength pass = walk_one_pass(sources());
    start_builtin();
    // Tick by tick: a row starts on every tick 0; the pass ends when the
    // row about to start is the restart position, reached from the last order.
    int64_t rows = 0, ticks = 0, frames = 0;
    bool on_last_order = false;
    for (int64_t guard = 0; guard < 1 << 22; ++guard) {
        if (song.tick == 0) {
            int next = song.next_order >= 0 ? song.next_order : song.order;
            if (on_last_order && next == song.restart && song.next_row == 0) break;
            ++rows;
        }
        replayer_tick();
        ++ticks;
        frames += song.samples_per_tick;
        on_last_order = song.order == song.song_length - 1;
    }
    EXPECT_EQ(rows, pass.rows);
    EXPECT_EQ(ticks, pass.ticks);
    EXPECT_EQ(frames, pass.frames);
    // Order 0 plays twice through its pattern loop, then orders 1 to 17 once each.
    EXPECT_EQ(pass.rows, 64 * (int64_t(sources().orders.size()) + 1));

    // The buffer fill reaches the pass's end at the same output frame.
    const Render& r = render_one_pass();
    EXPECT_TRUE(r.last_order_before_end) << "still on the last row just before frame " << pass.frames;
    EXPECT_TRUE(r.order_0_after_end) << "back at order 0, row 0 just after frame " << pass.frames;
}

TEST(BuiltinModule, OnePassAtFullVolumeNeitherClipsNorFallsSilent) {
    const Render& r = render_one_pass();
    EXPECT_LT(r.peak_left, 32767.0f);
    EXPECT_LT(r.peak_right, 32767.0f);
    EXPECT_GT(r.peak_left, 8000.0f) << "the mix uses the range";
    EXPECT_GT(r.peak_right, 8000.0f);
    EXPECT_LT(r.longest_quiet, 44100) << "no silent stretch of a second or more";
    // Both sides carry the music: neither has less than half the other's energy.
    EXPECT_GT(r.energy_left, 0.5 * r.energy_right);
    EXPECT_GT(r.energy_right, 0.5 * r.energy_left);
}

// The first pass as the player hands it to the sound card, hashed (64-bit
// FNV-1a over its 16-bit little-endian frames). The value is that of the
// pass rendered before the loader learnt the older layouts, so any change to
// the loader, replayer or mixer that moves one sample of the built-in music
// fails here; a change meant to do so updates the value and says why.
TEST(BuiltinModule, FirstPassRendersTheBytesItAlwaysHas) {
    const PassLength pass = walk_one_pass(sources());
    player_set_volume(64);  // as xmrender renders by default
    ASSERT_EQ(offline_start(builtin_module, int32_t(builtin_module_size), 1), 1);
    uint64_t hash = 0xcbf29ce484222325ull;
    for (int64_t left = pass.frames * frame_bytes; left > 0; left -= block_bytes) {
        const uint8_t* block = offline_block();
        ASSERT_NE(block, nullptr);
        const int64_t n = std::min<int64_t>(left, block_bytes);
        for (int64_t i = 0; i < n; ++i) hash = (hash ^ block[i]) * 0x100000001b3ull;
    }
    offline_stop();
    EXPECT_EQ(hash, 0xffbf82da4564d0e0ull);
}

}  // namespace
