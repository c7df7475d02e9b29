// mixer_test: mix_voices on hand-made voices. Loops and ends are checked
// against a per-frame model (mixer_fixture.h); segment boundaries must not
// change a single accumulator; the fallback step, the hair-short passes near
// loop start 0 and the gain ramp are checked on exact values.
#include <gtest/gtest.h>

#include <cstdlib>

#include "mixer_fixture.h"

namespace {

using namespace mixer_test;

std::vector<int16_t> noise(int n, uint32_t seed) {
    std::vector<int16_t> v;
    for (int i = 0; i < n; ++i) {
        seed = seed * 1664525u + 1013904223u;
        v.push_back(int16_t(int32_t(seed >> 16) % 20000 - 10000));
    }
    return v;
}

struct LoopCase {
    const char* name;
    int length;
    uint8_t loop_type;
    int32_t loop_start, loop_length;
    double step;
    double start;  // position in frames
    int32_t direction;
};

const LoopCase loop_cases[] = {
    {"unlooped, ends within the call", 300, 0, 0, -1, 0.8, 0, 0},
    {"unlooped, from an offset", 300, 0, 0, -1, 1.5, 250.25, 0},
    {"forward loop", 64, 1, 16, 40, 0.37, 0, 0},
    {"forward loop shorter than the step", 8, 1, 2, 3, 7.5, 0, 0},
    {"forward loop of one frame, fast", 10, 1, 9, 1, 3.0625, 0, 0},
    {"forward loop, offset past the loop end", 48, 1, 4, 4, 1.25, 40, 0},
    {"ping-pong", 16, 2, 3, 4, 1.75, 0, 0},
    {"ping-pong, several reversals a frame", 6, 2, 1, 2, 5.25, 0, 0},
    {"ping-pong from loop start 0", 5, 2, 0, 5, 0.625, 0, 0},
    {"ping-pong, starting backwards", 40, 2, 10, 20, 2.125, 25.5, 1},
    {"ping-pong, offset past the sample end", 20, 2, 4, 6, 0.5, 30, 0},
};

TEST(Mixer, LoopsAndEndsFollowThePerFrameModel) {
    for (const LoopCase& c : loop_cases) {
        SCOPED_TRACE(c.name);
        reset();
        auto s = sample(noise(c.length, 7), c.loop_type, c.loop_start, c.loop_length);
        music::Voice& v = voice(0, s->record, c.step, 255, 255, fixed(c.start), c.direction);
        const Model m = model(s->record, position_of(v), c.direction, fixed(c.step), 1024);

        music::mix_voices(0, 1024);
        for (int f = 0; f < 1024; ++f) {
            ASSERT_NEAR(acc(f, 0), m.values[size_t(f)], 0.05) << "frame " << f;
            ASSERT_EQ(acc(f, 0), acc(f, 1)) << "frame " << f;
        }
        EXPECT_EQ(v.sample != nullptr, m.alive);
        if (m.alive) {
            // To a hair: the mixer brings a mirror that lands exactly on the
            // loop start back to it, the model leaves it one unit before.
            EXPECT_NEAR(double(position_of(v)), double(m.p), 1024.0);
            EXPECT_EQ(v.direction != 0, m.direction != 0);
        } else {
            EXPECT_EQ(position_of(v), 0);
        }
    }
}

// The same voice mixed in one call and in calls of awkward sizes (odd ones
// for the two-frames-a-turn loop, boundaries next to the loop ends) gives
// the same accumulators bit for bit.
TEST(Mixer, CallSizesDoNotChangeTheResult) {
    const int sizes[] = {1, 2, 3, 7, 64, 1, 255, 128, 5, 300, 258};
    for (const LoopCase& c : loop_cases) {
        SCOPED_TRACE(c.name);
        auto s = sample(noise(c.length, 11), c.loop_type, c.loop_start, c.loop_length);
        reset();
        voice(0, s->record, c.step, 200, 90, fixed(c.start), c.direction);
        music::mix_voices(0, 1024);
        std::vector<float> whole(music::stream.mix_buffer, music::stream.mix_buffer + 2048);

        reset();
        voice(0, s->record, c.step, 200, 90, fixed(c.start), c.direction);
        int at = 0;
        for (int n : sizes) {
            music::mix_voices(at, n);
            at += n;
        }
        ASSERT_EQ(at, 1024);
        for (int i = 0; i < 2048; ++i) ASSERT_EQ(music::stream.mix_buffer[i], whole[size_t(i)]) << "value " << i;
    }
}

TEST(Mixer, EmptySampleFallsSilentAtItsFirstMix) {
    reset();
    music::Voice& v = voice(3, music::empty_sample, 1.0, 128, 128, fixed(0.5));
    music::mix_voices(0, 16);
    EXPECT_EQ(v.sample, nullptr);
    EXPECT_EQ(v.position, 0);
    EXPECT_EQ(v.position_fraction, 0u);
    for (int f = 0; f < 16; ++f) EXPECT_EQ(acc(f, 0), 0.0f);
}

// Frames to the end use the step at 2^-24 precision; a step that vanishes
// there counts as 97391 units, so a voice that does not move still ends: a
// one-frame sample lasts ceil(2^24 / 97391) = 173 frames.
TEST(Mixer, VanishingStepEndsAfterTheFallbackCount) {
    reset();
    auto s = sample({1000});
    music::Voice& v = voice(0, s->record, 0.0, 255, 0);
    music::mix_voices(0, 1024);
    for (int f = 0; f < 173; ++f) ASSERT_EQ(acc(f, 0), 1000.0f) << f;
    for (int f = 173; f < 1024; ++f) ASSERT_EQ(acc(f, 0), 0.0f) << f;
    EXPECT_EQ(v.sample, nullptr);
}

// Passes that end on or a hair before loop start 0 would leave the position
// just before the sample; it is brought back to the loop start.
TEST(Mixer, PositionsBeforeLoopStartZeroComeBackToIt) {
    struct Case {
        const char* name;
        uint8_t loop_type;
        int64_t position;
        int32_t direction;
        int frames;
        int32_t direction_after;
    } cases[] = {
        // 3 frames to the loop end at 2^-24 precision, which stop 256 units short
        {"forward loop a hair short of its end", 1, (int64_t(1) << 32) - 255, 0, 3, 0},
        // backwards from 3.0 at step 1: the third frame lands exactly on 0
        {"ping-pong ending exactly on its start", 2, int64_t(3) << 32, 1, 3, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reset();
        auto s = sample({100, 200, 300, 400}, c.loop_type, 0, 4);
        music::Voice& v = voice(0, s->record, 1.0, 255, 255, c.position, c.direction);
        music::mix_voices(0, c.frames);
        EXPECT_EQ(v.position, 0);
        EXPECT_EQ(v.position_fraction, 0u);
        EXPECT_EQ(v.direction, c.direction_after);
        music::mix_voices(c.frames, 1);  // reads data[0] and data[1], nothing before
        EXPECT_EQ(acc(c.frames, 0), 100.0f);
    }
}

// Loop fields beyond the sample are never followed: the loop end is cut to
// the sample end, a loop starting outside the sample plays as unlooped.
TEST(Mixer, LoopFieldsOutsideTheSampleAreNotFollowed) {
    struct Case {
        const char* name;
        uint8_t loop_type;
        int32_t loop_start, loop_length;
        bool sounds_after;
    } cases[] = {
        {"forward loop ending past the sample", 1, 6, 1000, true},
        {"ping-pong ending past the sample", 2, 6, 1000, true},
        {"loop starting past the sample", 1, 50, 4, false},
        {"negative loop start", 2, -5, 8, false},
        {"loop type 3 past the sample", 3, 2, 1000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reset();
        auto s = sample(noise(10, 3), c.loop_type, c.loop_start, c.loop_length);
        music::Voice& v = voice(0, s->record, 2.75, 255, 255);
        for (int k = 0; k < 8; ++k) {
            music::mix_voices(k * 128, 128);
            if (v.sample) {
                EXPECT_LT(v.position, 10);
            }
        }
        EXPECT_EQ(v.sample != nullptr, c.sounds_after);
    }
}

// The ramp: from the trigger's zero gains to the new ones over 128 frames; a
// change during it starts a new 128-frame ramp from the gains reached; a
// ramp split across calls resumes from the gain reached, rounded.
TEST(Mixer, GainRampRunsAndRestarts) {
    reset();
    // A steady 1000 that does not end or wrap within the test: every pass of
    // the ramp ends where a call ends or the ramp does.
    auto s = sample(std::vector<int16_t>(1024, 1000));
    music::Voice& v = voice(0, s->record, 1.0, 0, 0);
    v.gain_left = 255;  // note on: ramp gains are 0
    v.gain_right = 60;

    music::mix_voices(0, 64);
    for (int f = 0; f < 64; ++f) {
        EXPECT_NEAR(acc(f, 0), 1000.0 * f / 128.0, 0.01) << f;
        EXPECT_NEAR(acc(f, 1), 1000.0 * 60.0 / 255.0 * f / 128.0, 0.01) << f;
    }
    EXPECT_EQ(v.ramp_left, 64);
    EXPECT_EQ(v.ramp_gain_left, 128);  // 127.5 to even
    EXPECT_EQ(v.ramp_gain_right, 30);

    v.gain_left = 0;  // note replaced: fade out from where the ramp got to
    music::mix_voices(64, 200);
    for (int f = 0; f < 128; ++f) {
        EXPECT_NEAR(acc(64 + f, 0), 1000.0 * 128.0 / 255.0 * (1.0 - f / 128.0), 0.01) << f;
        EXPECT_NEAR(acc(64 + f, 1), 1000.0 * (30.0 + (60.0 - 30.0) * f / 128.0) / 255.0, 0.01) << f;
    }
    for (int f = 192; f < 264; ++f) {
        EXPECT_EQ(acc(f, 0), 0.0f) << f;
        EXPECT_NEAR(acc(f, 1), 1000.0 * 60.0 / 255.0, 0.001) << f;
    }
    EXPECT_EQ(v.ramp_left, 0);
    EXPECT_EQ(v.ramp_gain_left, 0);
    EXPECT_EQ(v.ramp_gain_right, 60);
    EXPECT_EQ(v.ramp_step_left, 0.0f);
    EXPECT_EQ(v.mix_target_left, 0);

    // No change: no ramp starts.
    music::mix_voices(264, 10);
    EXPECT_EQ(v.ramp_left, 0);
}

// Every sounding voice adds into the same accumulators.
TEST(Mixer, VoicesAddUp) {
    reset();
    auto a = sample({1000}, 1, 0, 1);
    auto b = sample({-300}, 1, 0, 1);
    voice(0, a->record, 1.0, 255, 0);
    voice(40, b->record, 1.0, 255, 255);
    music::mix_voices(100, 4);
    for (int f = 100; f < 104; ++f) {
        EXPECT_EQ(acc(f, 0), 700.0f);
        EXPECT_EQ(acc(f, 1), -300.0f);
    }
    EXPECT_EQ(acc(99, 0), 0.0f);
    EXPECT_EQ(acc(104, 0), 0.0f);
}

// A voice with both gains at 0 adds nothing and is not mixed, but it must
// move, wrap and mirror exactly as the same voice with gains.
TEST(Mixer, SilentVoicesMoveLikeAudibleOnes) {
    for (const LoopCase& c : loop_cases) {
        SCOPED_TRACE(c.name);
        auto s = sample(noise(c.length, 5), c.loop_type, c.loop_start, c.loop_length);
        reset();
        music::Voice audible = voice(0, s->record, c.step, 200, 90, fixed(c.start), c.direction);
        music::mix_voices(0, 1000);
        audible = music::voices[0];
        reset();
        voice(0, s->record, c.step, 0, 0, fixed(c.start), c.direction);
        music::mix_voices(0, 1000);
        const music::Voice& silent = music::voices[0];
        EXPECT_EQ(silent.sample, audible.sample);
        EXPECT_EQ(silent.position, audible.position);
        EXPECT_EQ(silent.position_fraction, audible.position_fraction);
        EXPECT_EQ(silent.direction, audible.direction);
        for (int i = 0; i < 2048; ++i) ASSERT_EQ(music::stream.mix_buffer[i], 0.0f) << i;
    }
}

// The eight-frames-a-turn loops give the scalar loops' accumulators and
// voice state bit for bit: steady gains and ramps, steps below one frame (the
// neighbouring-values path) and above (the gather), both directions, ends
// close to the data's last values, odd call sizes.
TEST(Mixer, WideStepsMatchTheScalarLoops) {
    std::vector<LoopCase> cases(std::begin(loop_cases), std::end(loop_cases));
    cases.push_back({"long unlooped, slow", 3000, 0, 0, -1, 0.23, 2.75, 0});
    cases.push_back({"long forward loop, step 1", 2000, 1, 100, 1700, 1.0, 0, 0});
    cases.push_back({"ping-pong, slow backwards", 2000, 2, 40, 1900, 0.999, 1500.5, 1});
    cases.push_back({"ping-pong, fast", 4000, 2, 0, 4000, 3.3, 10, 0});
    const int sizes[] = {1000, 17, 9, 8, 300, 24, 700};
    for (const LoopCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto s = sample(noise(c.length, 3), c.loop_type, c.loop_start, c.loop_length);
        std::vector<float> out[2];
        music::Voice end[2];
        for (int wide = 0; wide < 2; ++wide) {
            const bool was = music::mixer_use_wide_steps(wide != 0);
            reset();
            music::Voice& v = voice(0, s->record, c.step, 200, 90, fixed(c.start), c.direction);
            int at = 0;
            for (int n : sizes) {
                if (at + n > 2048) break;
                v.gain_left = (at / 100) % 2 ? 40 : 250;  // ramps now and then
                music::mix_voices(at % 1024, std::min(n, 1024 - at % 1024));
                at += std::min(n, 1024 - at % 1024);
            }
            out[wide].assign(music::stream.mix_buffer, music::stream.mix_buffer + 2048);
            end[wide] = v;
            music::mixer_use_wide_steps(was);
        }
        for (int i = 0; i < 2048; ++i) ASSERT_EQ(out[1][size_t(i)], out[0][size_t(i)]) << "value " << i;
        EXPECT_EQ(end[1].position, end[0].position);
        EXPECT_EQ(end[1].position_fraction, end[0].position_fraction);
        EXPECT_EQ(end[1].direction, end[0].direction);
        EXPECT_EQ(end[1].ramp_gain_left, end[0].ramp_gain_left);
        EXPECT_EQ(end[1].ramp_left, end[0].ramp_left);
    }
}

}  // namespace
