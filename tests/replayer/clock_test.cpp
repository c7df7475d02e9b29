// clock_test.cpp: the song's clock: frames per tick from the BPM, speed and
// BPM from effect F, the pattern delay's extra ticks, and the first pass of a
// module with the built-in module's profile counted in rows, ticks and frames.
#include <gtest/gtest.h>

#include "tests/replayer/song_fixture.h"

using namespace music;

namespace {

TEST(Clock, FramesPerTickFromBpm) {
    struct Case {
        int bpm, frames;
    } cases[] = {{125, 882}, {160, 689}, {255, 432}, {32, 3445}, {1, 110250}, {0, 110250}};
    for (const Case& c : cases) {
        set_bpm(c.bpm);
        EXPECT_EQ(song.samples_per_tick, c.frames) << "bpm " << c.bpm;
    }
}

TEST(Clock, EffectFSetsSpeedOrBpm) {
    struct Case {
        uint8_t parameter;
        int speed, frames;
    } cases[] = {{0x1F, 31, 882}, {0x20, 6, 3445}, {0xFF, 6, 432}, {0x03, 3, 882}};
    for (const Case& c : cases) {
        xmw::Module m = one_channel();
        xmw::cell(m, 0, 0, 0) = {0, 0, 0, 0xF, c.parameter};
        start(m);
        tick();
        EXPECT_EQ(song.speed, c.speed) << int(c.parameter);
        EXPECT_EQ(song.samples_per_tick, c.frames) << int(c.parameter);
        EXPECT_EQ(song.samples_left, c.frames) << int(c.parameter);
    }
}

TEST(Clock, SpeedZeroStartsARowEveryTick) {
    xmw::Module m = one_channel();
    xmw::cell(m, 0, 0, 0) = {0, 0, 0, 0xF, 0x00};
    start(m);
    for (int row = 0; row < 4; row++) {
        tick();
        EXPECT_EQ(song.row, row);
        EXPECT_EQ(song.tick, 0);
    }
    EXPECT_EQ(song.speed, 0);
}

TEST(Clock, PatternDelayKeepsTheEffectsRunning) {
    // EE2 at speed 6: the row lasts 6 + 2 x 6 ticks, and the volume slide of
    // the other channel acts on every one of them but the first.
    xmw::Module m = one_channel(2);
    xmw::cell(m, 0, 0, 0) = {0, 0, 0, 0xE, 0xE2};
    xmw::cell(m, 0, 0, 1) = {49, 1, 0, 0xA, 0x01};
    start(m);
    std::vector<int> ticks;
    for (int i = 0; i < 18; i++) {
        tick();
        ticks.push_back(song.tick);
        EXPECT_EQ(song.row, 0);
    }
    EXPECT_EQ(ticks.back(), 0);
    EXPECT_EQ(ticks[16], 17);
    EXPECT_EQ(channels[1].volume, 64 - 17);
    tick();
    EXPECT_EQ(song.row, 1);
    EXPECT_EQ(song.delay_ticks, 0);
}

// A module with the built-in module's profile: 12 channels, speed 8, BPM 160,
// 18 orders over 12 patterns of 64 rows; order 0 loops its pattern once with
// E60 / E61; the other patterns start at speed 5 and switch back to 8.
struct Profile {
    xmw::Module module;
    std::vector<int> switch_row;  // per pattern: the row of F08 (pattern 0: none, speed 8 throughout)
};

Profile builtin_profile() {
    Profile p;
    xmw::Module& m = p.module;
    m.channels = 12;
    m.speed = 8;
    m.bpm = 160;
    m.orders = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 1, 2, 3, 4, 5, 6};
    m.patterns.resize(12);
    xmw::Instrument& ins = m.instruments.emplace_back();
    ins.samples.push_back({.data = std::vector<int16_t>(64, 500), .loop_start = 0, .loop_length = 64, .loop_type = 1});
    p.switch_row.assign(12, 0);
    xmw::cell(m, 0, 0, 0) = {0, 0, 0, 0xF, 0x08};
    xmw::cell(m, 0, 0, 11) = {0, 0, 0, 0xE, 0x60};
    xmw::cell(m, 0, 63, 11) = {0, 0, 0, 0xE, 0x61};
    for (int pattern = 1; pattern < 12; pattern++) {
        p.switch_row[pattern] = pattern <= 6 ? 34 : 40;
        xmw::cell(m, pattern, 0, 0) = {0, 0, 0, 0xF, 0x05};
        xmw::cell(m, pattern, p.switch_row[pattern], 0) = {0, 0, 0, 0xF, 0x08};
    }
    // Some notes and slides, so the channels have work on every row.
    for (int pattern = 0; pattern < 12; pattern++)
        for (int row = 0; row < 64; row += 4)
            xmw::cell(m, pattern, row, 1 + (row / 4) % 10) = {uint8_t(37 + row / 4), 1, 0x40, 0xA, 0x01};
    return p;
}

TEST(Clock, FirstPassOfTheBuiltInProfile) {
    Profile p = builtin_profile();
    // What the patterns add up to: order 0 twice at speed 8, then every other
    // order's rows at 5 before its switch row and 8 from there.
    int64_t rows = 0, ticks = 0;
    for (size_t i = 0; i < p.module.orders.size(); i++) {
        int pattern = p.module.orders[i];
        for (int pass = 0; pass < (i == 0 ? 2 : 1); pass++)
            for (int row = 0; row < 64; row++) {
                rows++;
                ticks += pattern == 0 || row >= p.switch_row[pattern] ? 8 : 5;
            }
    }
    EXPECT_EQ(rows, 1216);
    EXPECT_EQ(ticks, 7904);

    start(p.module);
    EXPECT_EQ(song.samples_per_tick, 689);
    // Run the clock as the buffer fill does, until the song comes back to
    // order 0, row 0.
    int64_t played_rows = 0, played_ticks = 0, frames = 0;
    for (int guard = 0; guard < 20000; guard++) {
        if (song.tick == 0) {
            if (played_ticks > 0 && song.next_order == 0 && song.next_row == 0) break;
            played_rows++;
        }
        replayer_tick();
        played_ticks++;
        frames += song.samples_left;
        song.samples_left = 0;
    }
    EXPECT_EQ(song.order, 17);
    EXPECT_EQ(song.row, 63);
    EXPECT_EQ(played_rows, rows);
    EXPECT_EQ(played_ticks, ticks);
    EXPECT_EQ(frames, 5445856);
    EXPECT_EQ(frames, ticks * 689);
    tick();
    EXPECT_EQ(song.order, 0);
    EXPECT_EQ(song.row, 0);
}

}  // namespace
