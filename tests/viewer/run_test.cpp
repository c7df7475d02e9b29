// The whole viewer on the scripted back end: start-up, the frame loop and
// its exit rules, and one reader's session end to end, checked on the
// presented frames and the state each frame left.
//
// Timing on this back end: loop iteration k runs with the input scripted for
// frame k - 1 and presents frame k; a change made by iteration k shows in
// the picture of frame k + 1. The window's first paint, while iteration 1
// pumps its messages, presents once more before that iteration's own frame,
// so presented()[k] is iteration k's frame.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "display/display_state.h"
#include "fake_player.h"
#include "platform/keys.h"
#include "platform/window.h"
#include "viewer_fixture.h"

namespace {

using namespace platform;

void fresh_run(const script::Config& config = script::Config()) {
    script::reset(config);
    app::viewer = app::ViewerState{};
    display::display_state = display::DisplayState{};
    render::rewind_cursor_codes();
    viewer_test::player_calls.clear();
}

uint32_t presented_pixel(const script::Presented& p, int x, int y) {
    const uint8_t* b = p.bytes.data() + size_t(p.pitch) * size_t(y) + size_t(x) * 4;
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16;
}

// Whether two presented frames agree over a rectangle (right and bottom excluded).
bool same_region(const script::Presented& a, const script::Presented& b, int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (presented_pixel(a, x, y) != presented_pixel(b, x, y)) return false;
    return true;
}

void expect_music_started_then_stopped() {
    ASSERT_EQ(viewer_test::player_calls.size(), 2u);
    EXPECT_EQ(viewer_test::player_calls[0].data, static_cast<const void*>(builtin_module));
    EXPECT_EQ(viewer_test::player_calls[0].size, int32_t(builtin_module_size));
    EXPECT_EQ(viewer_test::player_calls[0].kind, 1);
    EXPECT_EQ(viewer_test::player_calls[1].data, nullptr);
    EXPECT_EQ(viewer_test::player_calls[1].kind, 0);
}

TEST(ViewerRun, ExitRules) {
    struct Case {
        const char* name;
        void (*script)();
        int iterations;  // loop iterations that presented their frame
    } cases[] = {
        {"Escape pressed", [] { script::key_down(VK_ESCAPE, 20, 25); }, 20},
        {"Escape held but already reported, then tapped, then pressed",
         [] {
             script::key_down(VK_ESCAPE, 20, 25);
             // someone else queries the key first: the loop sees 0x8000 only
             script::on_present([](const script::Presented& p) {
                 if (p.frame == 20) get_async_key_state(VK_ESCAPE);
             });
             script::key_tap(VK_ESCAPE, 30);  // 0x0001 only
             script::key_down(VK_ESCAPE, 40, 40);
         },
         40},
        {"click on the quit cross", [] { script::mouse(3, 5, 5, true); }, 4},
        {"click just outside it", [] {
             script::mouse(3, 10, 5, true);
             script::key_down(VK_ESCAPE, 8, 8);
         },
         8},
        {"close request", [] {
             script::post(2, WM_CLOSE);
             script::key_down(VK_ESCAPE, 6, 6);
         },
         6},
    };
    for (const Case& c : cases) {
        fresh_run();
        c.script();
        EXPECT_EQ(app::viewer_run(), 0) << c.name;
        EXPECT_EQ(script::presented_count(), 1 + c.iterations) << c.name;
        EXPECT_FALSE(script::window_exists()) << c.name;
        expect_music_started_then_stopped();
    }

    // The frame with the click is presented, with the quit box drawn (row 0
    // lies outside the cursor in both frames).
    // The pointer starts at (0, 0), inside the quit spot: move it away first.
    fresh_run();
    script::mouse(2, 400, 300, false);
    script::mouse(3, 5, 5, true);
    ASSERT_EQ(app::viewer_run(), 0);
    const auto& frames = script::presented();
    ASSERT_EQ(frames.size(), 5u);
    const uint32_t under = presented_pixel(frames[3], 8, 0);
    EXPECT_EQ(presented_pixel(frames[4], 8, 0), render::blend_colour(under, 0x1E3CF0, 110));
}

TEST(ViewerRun, WithoutADisplayEndsWithMinusOneAndNoMusic) {
    script::Config c;
    c.video_available = false;
    fresh_run(c);
    EXPECT_EQ(app::viewer_run(), -1);
    EXPECT_EQ(script::presented_count(), 0);
    EXPECT_TRUE(viewer_test::player_calls.empty());
}

struct Seen {
    int32_t page_length, top_row, row_offset, scroll_velocity;
};

TEST(ViewerRun, AReadersSession) {
    fresh_run();
    const int F2 = VK_F1 + 1;
    script::key_down(F2, 5, 5);          // iteration 6 selects page 2
    script::key_down(VK_UP, 10, 109);    // iterations 11..110 hold Up
    script::key_down(VK_END, 120, 120);  // iteration 121
    script::mouse(125, 700, 37, false);  // hovering menu row 3 from iteration 126
    script::mouse(130, 700, 37, true);   // clicked in iteration 131
    script::mouse(131, 700, 37, false);
    script::mouse(135, 5, 5, false);
    script::mouse(140, 5, 5, true);      // quit requested in iteration 141

    std::map<int, Seen> seen;
    script::on_present([&](const script::Presented& p) {
        const app::ViewerState& v = app::viewer;
        seen[p.frame] = {v.page_length, v.top_row, v.row_offset, v.scroll_velocity};
    });
    ASSERT_EQ(app::viewer_run(), 0);
    expect_music_started_then_stopped();

    const auto& frames = script::presented();
    ASSERT_EQ(frames.size(), 1u + 141u);
    for (size_t i = 0; i < frames.size(); ++i) {
        ASSERT_EQ(frames[i].frame, i == 0 ? 1 : int(i));
        ASSERT_EQ(frames[i].width, 800u);
        ASSERT_EQ(frames[i].height, 600u);
    }
    const auto frame = [&](int n) -> const script::Presented& { return frames[size_t(n)]; };

    // The page 1 (518 rows) until iteration 6 selects page 2 (1,887).
    EXPECT_EQ(seen[5].page_length, 518);
    EXPECT_EQ(seen[6].page_length, 1887);
    EXPECT_EQ(seen[6].top_row, 0);
    EXPECT_EQ(seen[6].row_offset, 13);
    // The page change of iteration 6 shows from frame 7 on.
    EXPECT_TRUE(same_region(frame(5), frame(6), 44, 185, 763, 580));
    EXPECT_FALSE(same_region(frame(6), frame(7), 44, 185, 763, 580));

    // 100 frames of Up: 1 + 2 + ... + 7 pixels, then 7 a frame, 679 in all
    // from the offset of 13: row 56 at offset 6.
    EXPECT_EQ(seen[110].top_row, 56);
    EXPECT_EQ(seen[110].row_offset, 6);
    EXPECT_EQ(seen[110].scroll_velocity, -7);
    EXPECT_FALSE(same_region(frame(109), frame(110), 44, 185, 763, 580));
    // Released: the text stops at once, the speed decays over 7 frames.
    EXPECT_EQ(seen[111].top_row, 56);
    EXPECT_EQ(seen[111].row_offset, 6);
    EXPECT_EQ(seen[111].scroll_velocity, -6);
    EXPECT_EQ(seen[117].scroll_velocity, 0);
    EXPECT_TRUE(same_region(frame(112), frame(120), 44, 185, 763, 580));
    // End: row 1,854 in slot 0, the offset kept.
    EXPECT_EQ(seen[121].top_row, 1854);
    EXPECT_EQ(seen[121].row_offset, 6);

    // Hover over menu row 3 from frame 126, without a click nothing changes.
    EXPECT_EQ(presented_pixel(frame(126), 750, 37),
              render::blend_colour(presented_pixel(frame(125), 750, 37), 0x1E3CF0, 110));
    EXPECT_EQ(seen[130].page_length, 1887);
    EXPECT_EQ(seen[131].page_length, 54);
    EXPECT_EQ(seen[131].top_row, 0);
    EXPECT_EQ(seen[131].row_offset, 13);

    // The cursor is the last thing drawn: its sprite sits at the pointer.
    int cursor_pixels = 0;
    for (int k = 0; k < 14; ++k)
        for (int r = 0; r < 14; ++r) {
            const uint32_t c = app::viewer.cursor_table[r * 14 + k];
            if (c) {
                ++cursor_pixels;
                EXPECT_EQ(presented_pixel(frame(141), 5 + k, 5 + r), c);
            }
        }
    EXPECT_GT(cursor_pixels, 0);
}

}  // namespace
