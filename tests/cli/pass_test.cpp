// The pass rule on small songs: where one pass (or several) ends for straight
// songs, jumps back, circles, pattern loops and restarts; the frame clock
// through tempo changes; --seconds as a frame count; the hard limit.
#include <gtest/gtest.h>

#include <functional>

#include "cli/common/pass.h"
#include "songs.h"
#include "tools/xmwriter/fixtures.h"

namespace {

using songs::frames_per_row;

struct Case {
    const char* name;
    int orders;
    std::function<void(xmw::Module&)> shape;
    int32_t passes;
    int64_t rows;  // rows of the render; every row here lasts frames_per_row
    int32_t passes_done;
};

cli::PassPlan plan(const xmw::Module& m, cli::PassLimits limits) {
    const std::vector<uint8_t> bytes = xmw::xm_write(m);
    cli::PassPlan p{};
    EXPECT_EQ(cli::pass_plan(bytes.data(), int32_t(bytes.size()), 1, limits, &p), 1);
    return p;
}

TEST(PassRule, EndsWhereTheSongComesBack) {
    const Case cases[] = {
        {"straight song, wraps to order 0", 2, [](xmw::Module&) {}, 1, 32, 1},
        {"straight song, three passes", 2, [](xmw::Module&) {}, 3, 96, 3},
        {"order 3 jumps back to order 2", 4, [](xmw::Module& m) { songs::fx(m, 3, 15, 1, 0x0B, 2); }, 1, 64, 1},
        {"second pass is orders 2 and 3", 4, [](xmw::Module& m) { songs::fx(m, 3, 15, 1, 0x0B, 2); }, 2, 96, 2},
        {"B00 on the first row circles at once", 1, [](xmw::Module& m) { songs::fx(m, 0, 0, 0, 0x0B, 0); }, 1, 1, 1},
        {"B00 circles, five passes", 1, [](xmw::Module& m) { songs::fx(m, 0, 0, 0, 0x0B, 0); }, 5, 5, 5},
        {"order 1 jumps to itself", 2, [](xmw::Module& m) { songs::fx(m, 1, 3, 0, 0x0B, 1); }, 1, 20, 1},
        // Rows 0..3 three times (the loop's repeats are not the end), then 4..15.
        {"pattern loop E60 / E62 from row 0", 1,
         [](xmw::Module& m) {
             songs::fx(m, 0, 0, 1, 0x0E, 0x60);
             songs::fx(m, 0, 3, 1, 0x0E, 0x62);
         },
         1, 24, 1},
        {"restart position 1", 3, [](xmw::Module& m) { m.restart = 1; }, 2, 48 + 32, 2},
        // Order 1 was skipped, so its row 0 is new, but play wrapped round to
        // the restart order: that is the end too.
        {"wrap to a restart order never played", 3,
         [](xmw::Module& m) {
             m.restart = 1;
             songs::fx(m, 0, 15, 0, 0x0B, 2);
         },
         1, 32, 1},
        // D08 enters order 1 at row 8; the wrap to order 1 row 0 (same order)
        // plays its first rows, and row 8 ends the pass.
        {"break into the restart order", 2,
         [](xmw::Module& m) {
             m.restart = 1;
             songs::fx(m, 0, 15, 0, 0x0D, 0x08);
         },
         1, 16 + 8 + 8, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        xmw::Module m = songs::plain(c.orders);
        c.shape(m);
        const cli::PassPlan p = plan(m, {c.passes, 0});
        EXPECT_EQ(p.rows, c.rows);
        EXPECT_EQ(p.ticks, c.rows * 6);
        EXPECT_EQ(p.frames, c.rows * frames_per_row);
        EXPECT_EQ(p.passes, c.passes_done);
        EXPECT_FALSE(p.hit_limit);
    }
}

TEST(PassRule, OtherTrackersLayoutsPlayTheirPatternsThrough) {
    // Orders 0 1 0 of 16 rows at speed 6, BPM 125 in every layout: one pass
    // is the 48 rows, none lost to a misread header.
    for (const xmw::Module& base : {xmw::overfull_module(), xmw::resized_module()}) {
        for (uint16_t version : {0x0102, 0x0103, 0x0104}) {
            SCOPED_TRACE(base.title + " " + std::to_string(version));
            xmw::Module m = base;
            m.version = version;
            const cli::PassPlan p = plan(m, {1, 0});
            EXPECT_EQ(p.rows, 48);
            EXPECT_EQ(p.frames, 48 * frames_per_row);
            EXPECT_EQ(p.passes, 1);
            EXPECT_FALSE(p.hit_limit);
        }
    }
}

TEST(PassRule, FramesFollowTempoAndSpeedChanges) {
    // Rows 0..7 at BPM 125 (882 frames a tick), F050 on row 8: BPM 80, 1,378
    // frames a tick; F003 on row 12: 3 ticks a row.
    xmw::Module m = songs::plain(1);
    songs::fx(m, 0, 8, 1, 0x0F, 0x50);
    songs::fx(m, 0, 12, 1, 0x0F, 0x03);
    const cli::PassPlan p = plan(m, {1, 0});
    EXPECT_EQ(p.rows, 16);
    EXPECT_EQ(p.ticks, 12 * 6 + 4 * 3);
    EXPECT_EQ(p.frames, 8 * 6 * 882 + 4 * 6 * 1378 + 4 * 3 * 1378);
}

TEST(PassRule, SecondsAndPassesTogetherEndAtTheFirst) {
    const xmw::Module m = songs::plain(2);  // 32 rows, 169,344 frames a pass
    struct {
        cli::PassLimits limits;
        int64_t frames, rows, ticks;
        int32_t passes;
    } cases[] = {
        {{0, 44100}, 44100, 9, 50, 0},                 // 1 s: rows and ticks begun within it
        {{0, 2 * 169344}, 2 * 169344, 64, 384, 1},     // exactly two passes of frames: the second is not yet seen ending
        {{5, 44100}, 44100, 9, 50, 0},                 // seconds first
        {{1, 10 * 44100}, 169344, 32, 192, 1},         // the pass first
    };
    for (const auto& c : cases) {
        const cli::PassPlan p = plan(m, c.limits);
        EXPECT_EQ(p.frames, c.frames);
        EXPECT_EQ(p.rows, c.rows);
        EXPECT_EQ(p.ticks, c.ticks);
        EXPECT_EQ(p.passes, c.passes);
        EXPECT_FALSE(p.hit_limit);
    }
}

TEST(PassRule, HardLimitEndsASongThatNeverComesBack) {
    // 65,535 ticks a row at BPM 32 (3,445 frames a tick): the first row alone
    // lasts an hour and more.
    xmw::Module m = songs::plain(1);
    m.speed = 65535;
    m.bpm = 32;
    const cli::PassPlan p = plan(m, {1, 0});
    EXPECT_TRUE(p.hit_limit);
    EXPECT_EQ(p.frames, cli::hard_limit_frames);
    EXPECT_EQ(p.rows, 1);
    EXPECT_EQ(p.passes, 0);
}

TEST(PassRule, RefusesWhatDoesNotLoad) {
    const uint8_t junk[64] = {'N', 'o', 't', ' ', 'X', 'M'};
    cli::PassPlan p{};
    EXPECT_EQ(cli::pass_plan(junk, sizeof junk, 1, {1, 0}, &p), 0);
}

}  // namespace
