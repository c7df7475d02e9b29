// The frame beat of the SDL back end: 60 frames a second whatever the
// display, short jitter absorbed, a real stall restarting the beat, and the
// retrace followed only where it gives 60 a second.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "platform/sdl/beat.h"

using namespace platform::sdl;

namespace {

constexpr int64_t T = frame_interval_ns;
constexpr int64_t ms = 1000000;

// Runs `frames` frames of the loop: each takes work(i) ns, then paces by
// sleeping to the deadline. Returns the time the last frame ended.
template <typename Work>
int64_t run(Beat& b, int64_t start, int frames, Work work) {
    int64_t now = start;
    for (int i = 0; i < frames; ++i) {
        now += work(i);
        int64_t due = beat_next(b, now, T, beat_stall_ns);
        if (due > now) now = due;
    }
    return now;
}

}  // namespace

TEST(FrameBeat, SixtyFramesASecondWithVaryingWork) {
    // Frames of 0.3 to 15 ms of work, with a 25 ms spike every second: the
    // beat holds, and 600 frames take 10 s to within one frame.
    std::mt19937 rng(13);
    std::uniform_int_distribution<int64_t> work(300000, 15 * ms);
    Beat b;
    int64_t start = 1000 * ms;
    int64_t first = run(b, start, 1, [](int) { return int64_t(0); });
    int64_t end = run(b, first, 600, [&](int i) { return i % 60 == 30 ? 25 * ms : work(rng); });
    EXPECT_NEAR(double(end - first), 600.0 * double(T), double(T));
}

TEST(FrameBeat, ShortJitterKeepsTheGridAndAStallRestartsIt) {
    Beat b;
    int64_t t0 = 5000 * ms;
    EXPECT_EQ(beat_next(b, t0, T, beat_stall_ns), t0) << "the first frame does not wait";
    EXPECT_EQ(beat_next(b, t0 + 2 * ms, T, beat_stall_ns), t0 + T);
    // Frame 2 comes 20 ms late: no wait, and frame 3 is still due on the grid.
    EXPECT_EQ(beat_next(b, t0 + 2 * T + 20 * ms, T, beat_stall_ns), t0 + 2 * T);
    EXPECT_EQ(beat_next(b, t0 + 2 * T + 21 * ms, T, beat_stall_ns), t0 + 3 * T);
    // A 200 ms stall: the beat starts again from the late frame.
    int64_t late = t0 + 4 * T + 200 * ms;
    EXPECT_EQ(beat_next(b, late, T, beat_stall_ns), late);
    EXPECT_EQ(beat_next(b, late + ms, T, beat_stall_ns), late + T);
}

TEST(FrameBeat, RetraceIsFollowedOnlyWhenItWaited) {
    Beat b;
    int64_t t0 = 7000 * ms;
    beat_next(b, t0, T, beat_stall_ns);
    // A present that waited for the retrace a little after the deadline: no
    // sleep, the next deadline follows the retrace.
    int64_t vblank = t0 + T + 300000;
    EXPECT_EQ(beat_after_retrace(b, vblank, T, beat_stall_ns), vblank);
    EXPECT_EQ(b.next, vblank + T);
    // A "retrace wait" that came back at once: the deadline still holds.
    EXPECT_EQ(beat_after_retrace(b, vblank + ms, T, beat_stall_ns), vblank + T);
}

TEST(FrameBeat, OnlyA60HzRetraceSetsTheRate) {
    const struct {
        int hz;
        bool follow;
    } cases[] = {{0, false}, {50, false}, {59, true}, {60, true}, {61, true}, {75, false}, {120, false}, {144, false}};
    for (const auto& c : cases) EXPECT_EQ(retrace_gives_60(c.hz), c.follow) << c.hz << " Hz";
}
