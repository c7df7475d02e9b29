// envelope_test.cpp: volume and panning envelopes through the replayer:
// slopes between points, sustain, loops and how they meet, key-off and
// fade-out, effect L, and envelopes whose stored counts and points are wrong.
#include <gtest/gtest.h>

#include "tests/replayer/song_fixture.h"

using namespace music;

namespace {

// One channel, speed 8; instrument 1 with the given volume envelope; row 0
// plays C-4; row 1 holds key-off (K00) when key_off is set.
xmw::Module with_volume_envelope(const xmw::Envelope& e, bool key_off = false) {
    xmw::Module m = one_channel();
    m.speed = 8;
    m.instruments[0].volume = e;
    xmw::cell(m, 0, 0, 0) = {49, 1, 0, 0, 0};
    if (key_off) xmw::cell(m, 0, 1, 0) = {0, 0, 0, 0x14, 0};
    return m;
}

std::vector<int> envelope_values(size_t ticks) {
    std::vector<int> out;
    for (size_t i = 0; i < ticks; i++) {
        tick();
        out.push_back(channels[0].vol_env_value);
    }
    return out;
}

TEST(Envelope, TwoPointsSlopeDown) {
    start(with_volume_envelope({.points = {{0, 64}, {10, 0}}, .type = envelope_on}));
    EXPECT_EQ(envelope_values(12), (std::vector<int>{64, 57, 51, 44, 38, 32, 25, 19, 12, 6, 0, 0}));
    EXPECT_TRUE(channels[0].vol_env_done);
    EXPECT_EQ(channels[0].vol_env_tick, 10);
    EXPECT_EQ(voices[0].volume, 0);
}

TEST(Envelope, SustainAndLoop) {
    // Points (0, 64), (4, 32), (8, 0), (12, 32): 8 per tick between them.
    const std::vector<xmw::EnvelopePoint> points = {{0, 64}, {4, 32}, {8, 0}, {12, 32}};
    const uint8_t on = envelope_on, sustain = envelope_sustain, loop = envelope_loop;
    struct Case {
        const char* name;
        uint8_t type, sustain_point, loop_start, loop_end;
        bool key_off;  // on row 1, tick 8
        std::vector<int> values;
    } cases[] = {
        {"sustain holds", uint8_t(on | sustain), 1, 0, 0, false,
         {64, 56, 48, 40, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32}},
        {"key-off leaves the sustain", uint8_t(on | sustain), 1, 0, 0, true,
         {64, 56, 48, 40, 32, 32, 32, 32, 32, 24, 16, 8, 0, 8, 16, 24, 32, 32}},
        {"loop", uint8_t(on | loop), 0, 0, 1, false,
         {64, 56, 48, 40, 64, 56, 48, 40, 64, 56, 48, 40, 64, 56, 48, 40}},
        {"loop end on the sustain point loops", uint8_t(on | sustain | loop), 1, 0, 1, false,
         {64, 56, 48, 40, 64, 56, 48, 40, 64, 56, 48, 40, 64, 56, 48, 40}},
        {"loop start and end on the sustain point hold there", uint8_t(on | sustain | loop), 1, 1, 1, false,
         {64, 56, 48, 40, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32}},
        {"sustain before a loop, then key-off", uint8_t(on | sustain | loop), 1, 2, 3, true,
         {64, 56, 48, 40, 32, 32, 32, 32, 32, 24, 16, 8, 0, 8, 16, 24, 0, 8}},
    };
    for (const Case& c : cases) {
        xmw::Envelope e{.points = points, .sustain = c.sustain_point, .loop_start = c.loop_start,
                        .loop_end = c.loop_end, .type = c.type};
        start(with_volume_envelope(e, c.key_off));
        EXPECT_EQ(envelope_values(c.values.size()), c.values) << c.name;
    }
}

TEST(Envelope, KeyOffFadesOut) {
    // A held envelope: key-off does not silence the note, the fade-out
    // (file value 4096, 8192 a tick) takes it down over eight ticks.
    xmw::Module m = with_volume_envelope(
        {.points = {{0, 64}, {10, 64}}, .sustain = 0, .type = uint8_t(envelope_on | envelope_sustain)});
    m.speed = 4;
    m.instruments[0].fadeout = 4096;
    xmw::cell(m, 0, 1, 0) = {97, 0, 0, 0, 0};
    start(m);
    finish_row();
    std::vector<int> fade, final;
    for (int i = 0; i < 8; i++) {
        tick();
        fade.push_back(channels[0].fadeout_volume);
        final.push_back(voices[0].volume);
    }
    EXPECT_EQ(fade, (std::vector<int>{57344, 49152, 40960, 32768, 24576, 16384, 8192, 0}));
    EXPECT_EQ(final, (std::vector<int>{112, 96, 80, 64, 48, 32, 16, 0}));
}

TEST(Envelope, SetPositionWithEffectL) {
    struct Case {
        const char* name;
        uint8_t parameter;
        uint8_t type;
        std::vector<int> values;  // ticks 0 and 1
        bool done;
    } cases[] = {
        {"L05 halfway", 0x05, envelope_on, {32, 25}, false},
        {"L0A on the last point", 0x0A, envelope_on, {0, 0}, true},
        {"L20 beyond the last point", 0x20, envelope_on, {0, 0}, true},
        {"no envelope: nothing", 0x05, 0, {64, 64}, false},
    };
    for (const Case& c : cases) {
        xmw::Module m = with_volume_envelope({.points = {{0, 64}, {10, 0}}, .type = c.type});
        xmw::cell(m, 0, 0, 0) = {49, 1, 0, 0x15, c.parameter};
        start(m);
        EXPECT_EQ(envelope_values(2), c.values) << c.name;
        EXPECT_EQ(bool(channels[0].vol_env_done), c.done) << c.name;
    }
}

TEST(Envelope, PanningEnvelopeMovesTheVoicePanning) {
    // A constant panning envelope of value y on a sample panning p.
    struct Case {
        uint8_t panning;
        uint16_t y;
        int voice_panning;
    } cases[] = {
        {128, 64, 255}, {0, 64, 0}, {128, 0, 0}, {255, 0, 255}, {192, 48, 224}, {64, 16, 32}, {128, 32, 128},
    };
    for (const Case& c : cases) {
        xmw::Module m = one_channel();
        m.instruments[0].samples[0].panning = c.panning;
        m.instruments[0].panning = {.points = {{0, c.y}, {10, c.y}}, .type = envelope_on};
        xmw::cell(m, 0, 0, 0) = {49, 1, 0, 0, 0};
        start(m);
        tick();
        EXPECT_EQ(channels[0].pan_env_value, c.y);
        EXPECT_EQ(voices[0].panning, c.voice_panning) << int(c.panning) << " " << c.y;
    }
}

TEST(Envelope, StoredCountsAndPointsOutOfRange) {
    std::vector<xmw::EnvelopePoint> twelve;
    for (uint16_t i = 0; i < 12; i++) twelve.push_back({uint16_t(2 * i), uint16_t(64 - 4 * i)});
    struct Case {
        const char* name;
        xmw::Envelope envelope;
        int final_value;
    } cases[] = {
        {"20 points claimed, 12 stored; loop start beyond them",
         {.points = twelve, .sustain = 15, .loop_start = 15, .loop_end = 11,
          .type = uint8_t(envelope_on | envelope_sustain | envelope_loop), .point_count = 20},
         64 - 44},
        {"values above 64 count as 64", {.points = {{0, 200}, {4, 1000}}, .type = envelope_on}, 64},
        {"a point before the one reached", {.points = {{0, 64}, {10, 32}, {5, 0}}, .type = envelope_on}, 0},
        {"two points on one tick", {.points = {{0, 64}, {4, 32}, {4, 0}}, .type = envelope_on}, 0},
    };
    for (const Case& c : cases) {
        start(with_volume_envelope(c.envelope));
        for (int i = 0; i < 40; i++) {
            tick();
            ASSERT_GE(channels[0].vol_env_value, 0) << c.name;
            ASSERT_LE(channels[0].vol_env_value, 64) << c.name;
        }
        EXPECT_TRUE(channels[0].vol_env_done) << c.name;
        EXPECT_EQ(channels[0].vol_env_value, c.final_value) << c.name;
    }
}

}  // namespace
