// fill_test: fill_block's tick clock across block boundaries, the song time,
// the conversion of the accumulators (rounding, clamp, master volume), the
// two ring entries and the advance of block_index.
#include <gtest/gtest.h>

#include "mixer_fixture.h"

namespace mixer_test {
extern std::vector<int32_t> tick_frames;
}

namespace {

using namespace mixer_test;

int16_t output(int block, int frame, int side) {
    const uint8_t* b = music::stream.wave_buffer + block * 4096 + frame * 4 + side * 2;
    return int16_t(uint16_t(b[0] | b[1] << 8));
}

// Voice 63 runs over a long silent sample at one frame per frame, so its
// position counts the frames rendered; the stand-in tick logs it.
std::unique_ptr<TestSample> clock_voice() {
    auto s = sample(std::vector<int16_t>(100000, 0));
    voice(63, s->record, 1.0, 0, 0);
    return s;
}

void start_song(int32_t samples_per_tick) {
    music::song = music::SongState{};
    music::song.samples_per_tick = samples_per_tick;
    tick_frames.clear();
}

TEST(Fill, TicksFallOnTheirFramesAcrossBlocks) {
    reset();
    auto clock = clock_voice();
    start_song(689);  // BPM 160

    music::fill_block();
    EXPECT_EQ(tick_frames, (std::vector<int32_t>{0, 689}));
    EXPECT_EQ(music::song.samples_left, 354);  // of the second tick, for the next block
    EXPECT_EQ(music::stream.block_index, 1);
    // 689 frames give 15 ms, 335 give 7: the remainders are dropped per stretch.
    EXPECT_EQ(music::song.elapsed_ms, 22);
    EXPECT_EQ(music::stream.info_ring[0].time, 22);

    music::fill_block();
    EXPECT_EQ(tick_frames, (std::vector<int32_t>{0, 689, 1378}));
    EXPECT_EQ(music::song.samples_left, 2067 - 2048);
    EXPECT_EQ(music::stream.info_ring[1].time, 22 + 8 + 15);

    for (int k = 2; k < 16; ++k) music::fill_block();
    EXPECT_EQ(music::stream.block_index, 0);  // round the ring
    EXPECT_EQ(int(tick_frames.size()), 16 * 1024 / 689 + 1);
    for (size_t k = 0; k < tick_frames.size(); ++k) EXPECT_EQ(tick_frames[k], int32_t(689 * k));
}

// A tick shorter than a stretch: several ticks in one block, none skipped.
TEST(Fill, ShortTicksAllRun) {
    reset();
    auto clock = clock_voice();
    start_song(100);
    music::fill_block();
    ASSERT_EQ(tick_frames.size(), 11u);
    EXPECT_EQ(tick_frames.back(), 1000);
    EXPECT_EQ(music::song.samples_left, 76);
}

// A voice that contributes `value` to every frame of both sides; halves come
// from interpolating halfway between neighbours.
std::unique_ptr<TestSample> steady(int k, double value) {
    const int16_t low = int16_t(std::floor(value));
    auto s = value == low ? sample({low}, 1, 0, 1) : sample({low, int16_t(low + 1)}, 1, 0, 2);
    voice(k, s->record, 1.0, 255, 255, value == low ? 0 : fixed(0.5));
    return s;
}

TEST(Fill, OutputIsRoundedClampedAndScaled) {
    struct Case {
        int32_t divisor;
        std::vector<double> voices;  // the value each voice adds
        int16_t expected;
    } cases[] = {
        {16, {2.5}, 2},    {16, {3.5}, 4},    {16, {-2.5}, -2},
        {16, {-3.5}, -4},  {16, {1234}, 1234}, {16, {30000, 30000}, 32767},
        {16, {-30000, -30000}, -32768},
        {48, {30000, 30000}, 10922},  // volume 32: the bound on both sides
        {48, {-30000, -30000}, -10922},
        {79, {1000}, 202},  // volume 1, truncated
        {79, {-1000}, -202},
        {0x7FFFFFD0, {30000, 30000}, 0},  // volume 0
        {0x7FFFFFD0, {-30000, -30000}, 0},
        {0x7FFFFFD0, {1}, 0},
    };
    // Both ways of converting a block: four frames a turn and one.
    for (int wide = 0; wide < 2; ++wide)
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "divisor " << c.divisor << ", first voice " << c.voices[0] << ", wide " << wide);
        const bool was = music::mixer_use_wide_steps(wide != 0);
        reset();
        start_song(100000);
        music::stream.volume_divisor = c.divisor;
        std::vector<std::unique_ptr<TestSample>> keep;
        for (size_t k = 0; k < c.voices.size(); ++k) keep.push_back(steady(int(k), c.voices[k]));
        music::fill_block();
        for (int f = 0; f < 1024; f += 97) {
            ASSERT_EQ(output(0, f, 0), c.expected) << "frame " << f;
            ASSERT_EQ(output(0, f, 1), c.expected) << "frame " << f;
        }
        // The mean absolute output goes into the next block's ring entry.
        const uint32_t mean = uint32_t(c.expected < 0 ? -c.expected : c.expected);
        EXPECT_EQ(uint32_t(music::stream.info_ring[1].levels.load()), mean << 16 | mean);
        music::mixer_use_wide_steps(was);
    }
}

TEST(Fill, LevelsAreMeanAbsoluteValuesPerSide) {
    reset();
    start_song(100000);
    auto left = sample({1000, -3000}, 1, 0, 2);  // alternating, mean 2000
    voice(0, left->record, 1.0, 255, 0);
    auto right = sample({-700}, 1, 0, 1);
    voice(1, right->record, 1.0, 0, 255);
    music::stream.block_index = 15;
    music::fill_block();
    EXPECT_EQ(output(15, 0, 0), 1000);
    EXPECT_EQ(output(15, 1, 0), -3000);
    EXPECT_EQ(output(15, 0, 1), -700);
    EXPECT_EQ(music::stream.block_index, 0);
    EXPECT_EQ(uint32_t(music::stream.info_ring[0].levels.load()), 2000u << 16 | 700u);
}

// Each block starts from clear accumulators, also when it was rendered before.
TEST(Fill, BlocksStartFromSilence) {
    reset();
    start_song(100000);
    auto s = sample({500}, 1, 0, 1);
    music::Voice& v = voice(0, s->record, 1.0, 255, 255);
    for (int k = 0; k < 16; ++k) music::fill_block();
    v.sample = nullptr;
    music::fill_block();
    for (int f = 0; f < 1024; ++f) ASSERT_EQ(output(0, f, 0), 0) << f;
    EXPECT_EQ(output(1, 0, 0), 500);
}

}  // namespace
