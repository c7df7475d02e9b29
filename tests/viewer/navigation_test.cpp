// Keyboard navigation and scroll motion, frame by frame: each table row is
// one frame's input (keys held, the menu item and scroll arrow the mouse
// chose) and the scroll state after handle_keyboard. Also the page rows'
// placement in the pane and the music switch's 40-frame lock.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fake_player.h"
#include "platform/keys.h"
#include "render/glyph_masks.h"
#include "viewer_fixture.h"

namespace {

using namespace platform;

constexpr int U = VK_UP, D = VK_DOWN, H = VK_HOME, E = VK_END;

struct Step {
    std::vector<int> keys;
    int32_t velocity, offset, top;
    int32_t menu = 0, request = 0;  // from the mouse in this frame
    int32_t length = 0;             // page_length after the frame, 0: not checked
};

// Runs the steps from the state after select_page(page) on a page of `rows`.
// With `arrows`, a lone Up or Down is given as the scroll arrow's request
// instead, which must act the same.
void run(const char* name, int32_t rows, const std::vector<Step>& steps, bool arrows = false) {
    viewer_test::fresh();
    viewer_test::make_page(1, rows);
    app::select_page(1);
    const app::ViewerState& v = app::viewer;
    int n = 0;
    for (const Step& s : steps) {
        ++n;
        int32_t request = s.request;
        std::vector<int> keys = s.keys;
        if (arrows && keys.size() == 1 && (keys[0] == U || keys[0] == D)) {
            request = keys[0] == U ? 1 : -1;
            keys.clear();
        }
        int next = script::frame() + 1;
        for (int vk : keys) script::key_down(vk, next, next);
        viewer_test::frame({}, s.menu, request);
        ASSERT_EQ(v.scroll_velocity, s.velocity) << name << ", frame " << n << (arrows ? " (arrows)" : "");
        ASSERT_EQ(v.row_offset, s.offset) << name << ", frame " << n << (arrows ? " (arrows)" : "");
        ASSERT_EQ(v.top_row, s.top) << name << ", frame " << n << (arrows ? " (arrows)" : "");
        if (s.length) {
            ASSERT_EQ(v.page_length, s.length) << name << ", frame " << n;
        }
    }
}

TEST(ScrollMotion, UpAfterSelectionThenDecayReversalHomeAndBothKeys) {
    const std::vector<Step> steps = {
        {{U}, -1, 12, 0}, {{U}, -2, 10, 0}, {{U}, -3, 7, 0}, {{U}, -4, 3, 0},
        {{U}, -5, 10, 1},  // -2 becomes the next row at 10
        {{U}, -6, 4, 1},  {{U}, -7, 9, 2},  {{U}, -7, 2, 2}, {{U}, -7, 7, 3},
        // released: the text stops, the speed decays
        {{}, -6, 7, 3}, {{}, -5, 7, 3},
        // Down: the text stands while the speed runs up through zero
        {{D}, -4, 7, 3}, {{D}, -3, 7, 3}, {{D}, -2, 7, 3}, {{D}, -1, 7, 3}, {{D}, 0, 7, 3},
        {{D}, 1, 8, 3}, {{D}, 2, 10, 3}, {{D}, 3, 1, 2}, {{D}, 4, 5, 2},
        {{}, 3, 5, 2},
        // Home keeps the offset and the speed (which decays, no scroll key)
        {{H}, 2, 5, 0},
        // both keys: Up first, then Down
        {{U, D}, 2, 7, 0}, {{U, D}, 2, 9, 0}, {{}, 1, 9, 0}, {{}, 0, 9, 0}, {{}, 0, 9, 0},
    };
    run("keys", 100, steps);
    run("arrows", 100, steps, true);
}

TEST(ScrollMotion, DownAtTheTopOnlyBuildsSpeed) {
    run("down after selection", 100,
        {
            {{D}, 1, 13, 0}, {{D}, 2, 13, 0}, {{D}, 3, 13, 0}, {{}, 2, 13, 0}, {{}, 1, 13, 0}, {{}, 0, 13, 0},
            {{U}, -1, 12, 0}, {{U}, -2, 10, 0}, {{U}, -3, 7, 0}, {{U}, -4, 3, 0},
            {{D}, -3, 3, 0}, {{D}, -2, 3, 0}, {{D}, -1, 3, 0}, {{D}, 0, 3, 0},
            {{D}, 1, 4, 0}, {{D}, 2, 6, 0}, {{D}, 3, 9, 0}, {{D}, 4, 13, 0}, {{D}, 5, 13, 0}, {{D}, 6, 13, 0},
        });
}

TEST(ScrollMotion, EndAndUpLimitsByPageLength) {
    // End puts top_row at length - 33 (at least 0) and keeps the offset;
    // scrolling up stops at length - 34, so Up moves nothing after End.
    struct Case {
        int32_t rows, end_top;
    } cases[] = {{20, 0}, {33, 0}, {34, 1}, {35, 2}, {1887, 1854}};
    for (const Case& c : cases) {
        viewer_test::fresh();
        viewer_test::make_page(1, c.rows);
        app::select_page(1);
        viewer_test::frame({E});
        EXPECT_EQ(app::viewer.top_row, c.end_top) << c.rows << " rows";
        EXPECT_EQ(app::viewer.row_offset, 13) << c.rows << " rows";
        for (int f = 0; f < 60; ++f) viewer_test::frame({U});
        EXPECT_EQ(app::viewer.top_row, c.end_top) << c.rows << " rows";
        EXPECT_EQ(app::viewer.row_offset, 13) << c.rows << " rows";
        EXPECT_EQ(app::viewer.scroll_velocity, 0) << c.rows << " rows";
    }

    // Pages of 34 rows or fewer never move up; longer ones stop at length - 34.
    struct Held {
        int32_t rows, top, offset;
    } held[] = {{33, 0, 13}, {34, 0, 13}, {35, 1, -5}};
    for (const Held& c : held) {
        viewer_test::fresh();
        viewer_test::make_page(1, c.rows);
        app::select_page(1);
        for (int f = 0; f < 100; ++f) viewer_test::frame({U});
        EXPECT_EQ(app::viewer.top_row, c.top) << c.rows << " rows";
        EXPECT_EQ(app::viewer.row_offset, c.offset) << c.rows << " rows";
    }
}

TEST(ScrollMotion, LongPageScrollsToItsLastRowAndEndThenDownComesBack) {
    viewer_test::fresh();
    viewer_test::make_page(1, 1887);
    app::select_page(1);
    script::key_down(U, script::frame() + 1, script::frame() + 4000);  // held for 4,000 frames
    for (int f = 0; f < 4000; ++f) viewer_test::frame({});
    const app::ViewerState& v = app::viewer;
    EXPECT_EQ(v.top_row, 1853);
    EXPECT_GE(v.row_offset, -7);
    EXPECT_LE(v.row_offset, -1);  // the last row, in slot 33, ends above the pane's bottom
    EXPECT_LE(v.pane_top + v.row_offset + 12 * 33 - 12 + 11, v.pane_bottom);

    run("end on 1,887 rows", 1887,
        {
            {{U}, -1, 12, 0}, {{U}, -2, 10, 0}, {{U}, -3, 7, 0}, {{U}, -4, 3, 0},
            {{E}, -3, 3, 1854},  // End keeps the offset; the speed decays
            {{U}, -3, 0, 1854}, {{U}, -3, -3, 1854}, {{U}, -3, -3, 1854},  // falls while >= 0, then rests
            {{D}, -2, -3, 1854}, {{D}, -1, -3, 1854}, {{D}, 0, -3, 1854}, {{D}, 1, -2, 1854},
            {{D}, 2, 0, 1854}, {{D}, 3, 3, 1854}, {{D}, 4, 7, 1854}, {{D}, 5, 12, 1854}, {{D}, 6, 6, 1853},
            {{H}, 5, 6, 0},
        });
    run("end then down", 1887, {{{E}, 0, 13, 1854}, {{D}, 1, 1, 1853}, {{D}, 2, 3, 1853}, {{D}, 3, 6, 1853}});
}

TEST(PageChoice, FunctionKeysBeatTheMouseAndTheHighestWins) {
    viewer_test::fresh();
    for (int page = 1; page <= 10; ++page) viewer_test::make_page(page, 40 + page);
    app::select_page(1);
    const int F1 = VK_F1;
    struct Case {
        std::vector<int> keys;
        int32_t menu, length;
    } cases[] = {
        {{}, 3, 43},              {{F1 + 1}, 3, 42},          {{F1 + 1, F1 + 6}, 0, 47},
        {{F1 + 9, F1}, 5, 50},    {{}, 0, 50},                {{}, 11, 50},
        {{F1 + 4}, 11, 45},       {{F1}, 0, 41},
    };
    int n = 0;
    for (const Case& c : cases) {
        ++n;
        int next = script::frame() + 1;
        for (int vk : c.keys) script::key_down(vk, next, next);
        viewer_test::frame({}, c.menu);
        EXPECT_EQ(app::viewer.page_length, c.length) << "case " << n;
    }

    // A held key selects its page in every frame, so Up never gets past the
    // first step.
    for (int f = 0; f < 5; ++f) {
        viewer_test::frame({F1 + 4, U});
        EXPECT_EQ(app::viewer.top_row, 0);
        EXPECT_EQ(app::viewer.row_offset, 12);
        EXPECT_EQ(app::viewer.scroll_velocity, -1);
    }
}

TEST(MusicSwitch, LocksForFortyFramesAfterEverySwitch) {
    viewer_test::fresh();
    viewer_test::player_calls.clear();
    const app::ViewerState& v = app::viewer;

    // frame -> (F11 key, menu row 11 held)
    auto f11_at = [](int f) { return f == 1 || f == 20 || f == 40 || f == 41; };
    auto menu_at = [](int f) { return f >= 42 && f <= 125; };
    // frames in which the switch acts, and the state it leaves
    struct Switch {
        int frame, music_off;
    } switches[] = {{1, 1}, {41, 0}, {81, 1}, {121, 0}};

    size_t seen = 0;
    for (int f = 1; f <= 130; ++f) {
        int next = script::frame() + 1;
        if (f == 1)
            script::key_tap(VK_F11, next);  // pressed and released within the frame
        else if (f11_at(f))
            script::key_down(VK_F11, next, next);
        viewer_test::frame({}, menu_at(f) ? 11 : 0);

        const Switch* expected = nullptr;
        for (const Switch& s : switches)
            if (s.frame == f) expected = &s;
        if (expected) {
            ASSERT_EQ(viewer_test::player_calls.size(), seen + 1) << "frame " << f;
            const viewer_test::PlayerCall& call = viewer_test::player_calls[seen++];
            EXPECT_EQ(v.music_off, expected->music_off) << "frame " << f;
            EXPECT_EQ(v.music_toggle_wait, 40) << "frame " << f;
            if (expected->music_off) {
                EXPECT_EQ(call.data, nullptr);
                EXPECT_EQ(call.kind, 0);
            } else {  // the module again, from its start, as at start-up
                EXPECT_EQ(call.data, static_cast<const void*>(builtin_module));
                EXPECT_EQ(call.size, 65853);
                EXPECT_EQ(call.kind, 1);
            }
        } else {
            ASSERT_EQ(viewer_test::player_calls.size(), seen) << "frame " << f;
        }
    }
    // The switch never touches the page.
    EXPECT_EQ(v.page_length, 1);
}

// --- page rows in the pane ---

// A font whose only ink is the centre pixel (4, 6) of the glyph 'X', and a
// gradient that paints it white on every row: each drawn row then leaves
// exactly one pixel, and row r's 'X' stands after r % 70 spaces.
void one_pixel_font() {
    for (uint32_t& p : render::font_atlas) p = 0;
    for (uint32_t& c : render::palette_colours) c = 0;
    render::palette_colours[1] = 0xFFFFFF;
    render::font_atlas[6 * 2048 + render::glyph_cell_column('X') + 4] = 1;
    for (uint32_t& c : render::row_gradient) c = 0xFFFFFF;
    render::build_glyph_ink_masks();
}

TEST(PageRows, DrawsTheRowsFromTopRowShiftedByTheOffsetUpToPageLength) {
    static std::vector<std::string> rows;
    for (int r = 0; r < 200; ++r) rows.push_back(std::string(size_t(r % 70), ' ') + "X");
    struct Case {
        int32_t top, offset, length;
        int first_row, last_row, first_centre_y;  // the rows seen, and where row first_row's centre lies
    } cases[] = {
        {0, 13, 40, 0, 32, 192},   // as after selection: 33 rows in view
        {0, 13, 5, 0, 4, 192},     // rows at and after page_length are not drawn
        {7, -7, 100, 9, 40, 196},  // slots 0 and 1 lie above the pane
        {0, 19, 100, 0, 31, 198},
        {2, 13, 20, 2, 19, 192},
        {30, 13, 20, 0, -1, 0},    // nothing left to draw
    };
    for (const Case& c : cases) {
        viewer_test::fresh();
        one_pixel_font();
        for (int r = 0; r < 200; ++r)
            app::CurrentPage[r] = app::text_of(reinterpret_cast<const uint8_t*>(rows[size_t(r)].data()),
                                               int32_t(rows[size_t(r)].size()));
        app::viewer.top_row = c.top;
        app::viewer.row_offset = c.offset;
        app::viewer.page_length = c.length;
        viewer_test::clear_frame(0);
        app::draw_page_rows();

        std::vector<std::pair<int, int>> expected, seen;
        for (int r = c.first_row; r <= c.last_row; ++r)
            expected.push_back({42 + 9 * (r % 70) + 4, c.first_centre_y + 12 * (r - c.first_row)});
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x)
                if (viewer_test::pixel(x, y)) seen.push_back({x, y});
        std::sort(expected.begin(), expected.end(), [](auto a, auto b) { return a.second < b.second; });
        EXPECT_EQ(seen, expected) << "top " << c.top << ", offset " << c.offset << ", length " << c.length;
    }
}

}  // namespace
