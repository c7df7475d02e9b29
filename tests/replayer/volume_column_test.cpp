// volume_column_test.cpp: the volume column's commands on the first tick and
// on the other ticks of a row (sample volume 32, panning 128, speed 3).
#include <gtest/gtest.h>

#include "tests/replayer/song_fixture.h"

using namespace music;

namespace {

xmw::Module with_volume_32() {
    xmw::Module m = one_channel();
    m.speed = 3;
    m.instruments[0].samples[0].volume = 32;
    return m;
}

TEST(VolumeColumn, FirstTickAndOtherTicks) {
    struct Case {
        uint8_t byte;
        int volume_first, volume_end, panning_first, panning_end;
    } cases[] = {
        {0x10, 0, 0, 128, 128},    {0x20, 16, 16, 128, 128},  {0x50, 64, 64, 128, 128},
        {0x51, 32, 32, 128, 128},  {0x65, 27, 17, 128, 128},  {0x73, 35, 41, 128, 128},
        {0x85, 27, 27, 128, 128},  {0x93, 35, 35, 128, 128},  {0xA5, 32, 32, 128, 128},
        {0xC4, 32, 32, 64, 64},    {0xD4, 32, 32, 124, 116},  {0xE4, 32, 32, 132, 140},
    };
    for (const Case& c : cases) {
        xmw::Module m = with_volume_32();
        xmw::cell(m, 0, 0, 0) = {49, 1, c.byte, 0, 0};
        start(m);
        tick();
        EXPECT_EQ(channels[0].volume, c.volume_first) << std::hex << int(c.byte);
        EXPECT_EQ(channels[0].panning, c.panning_first) << std::hex << int(c.byte);
        tick(2);
        EXPECT_EQ(channels[0].volume, c.volume_end) << std::hex << int(c.byte);
        EXPECT_EQ(channels[0].panning, c.panning_end) << std::hex << int(c.byte);
    }
}

TEST(VolumeColumn, SlideDownOverARowOfSpeedSix) {
    xmw::Module m = one_channel();
    xmw::cell(m, 0, 0, 0) = {49, 1, 0x65, 0, 0};
    start(m);
    finish_row();
    EXPECT_EQ(channels[0].volume, 64 - 30);
}

TEST(VolumeColumn, VibratoSpeedAndDepth) {
    // Row 0 sets the speed (A8); row 1 sets the depth (B4) and vibrates on
    // its other ticks, as effect 4 with 0x84 would.
    xmw::Module m = with_volume_32();
    m.speed = 4;
    xmw::cell(m, 0, 0, 0) = {49, 1, 0xA8, 0, 0};
    xmw::cell(m, 0, 1, 0) = {0, 0, 0xB4, 0, 0};
    start(m);
    finish_row();
    EXPECT_EQ(channels[0].vib_speed, 8);
    std::vector<int> offsets;
    for (int i = 0; i < 4; i++) {
        tick();
        offsets.push_back(channels[0].pitch_offset);
    }
    EXPECT_EQ(offsets, (std::vector<int>{0, 0, -20, -32}));
    EXPECT_EQ(channels[0].vib_depth, 4);
}

TEST(VolumeColumn, PanningSlidesStopAtTheEnds) {
    // Eight slides of 15 a row (speed 8) from near an end: the panning stops
    // at the end, and the slide back the next row starts from there.
    const struct {
        int start;
        uint8_t towards_end, back;
        int at_end, after_back;
    } cases[] = {{250, 0xEF, 0xDF, 255, 255 - 8 * 15}, {5, 0xDF, 0xEF, 0, 8 * 15}};
    for (const auto& c : cases) {
        xmw::Module m = with_volume_32();
        m.speed = 8;
        m.instruments[0].samples[0].panning = uint8_t(c.start);
        xmw::cell(m, 0, 0, 0) = {49, 1, c.towards_end, 0, 0};
        xmw::cell(m, 0, 1, 0) = {0, 0, c.back, 0, 0};
        start(m);
        finish_row();
        EXPECT_EQ(channels[0].panning, c.at_end) << c.start;
        EXPECT_EQ(voices[0].panning, c.at_end) << c.start;
        EXPECT_EQ(c.at_end == 255 ? voices[0].gain_left : voices[0].gain_right, 0) << c.start;
        finish_row();
        EXPECT_EQ(channels[0].panning, c.after_back) << c.start;
        EXPECT_EQ(voices[0].panning, c.after_back) << c.start;
    }
}

}  // namespace
