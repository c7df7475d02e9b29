// Mouse controls: the half-open hot spots of the menu rows, the quit cross
// and the scroll arrows, the requests they make, and their hover boxes (two
// translucent triangles sharing the top-left to bottom-right diagonal), and
// the spots against the buttons painted on the built-in picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "viewer_fixture.h"

namespace {

constexpr uint32_t once = 0x0C1967;   // highlight over black, blended once
constexpr uint32_t twice = 0x1328A1;  // ... and twice

struct Box {
    int x0, y0, x1, y1;  // hover box corners; x0 > x1 for none
};
constexpr Box none = {1, 0, 0, 0};

TEST(Mouse, HotSpotsRequestsAndHoverBoxes) {
    struct Case {
        int x, y, left;
        int32_t menu, quit, scroll;  // after the handlers; -99: left as it was
        Box box;
    } cases[] = {
        // menu column: strictly between 582 and 782
        {582, 10, 1, -99, 0, 0, none},
        {782, 10, 1, -99, 0, 0, none},
        {583, 8, 1, 1, 0, 0, {582, 8, 782, 18}},
        {583, 18, 1, 1, 0, 0, {582, 8, 782, 18}},
        {700, 19, 1, 0, 0, 0, none},  // between rows: a click chooses nothing
        {600, 20, 1, 2, 0, 0, {582, 20, 782, 30}},
        {600, 42, 1, 3, 0, 0, {582, 32, 782, 42}},
        {600, 43, 1, 4, 0, 0, {582, 43, 782, 53}},
        {600, 65, 1, 0, 0, 0, none},
        {640, 88, 1, 0, 0, 0, none},
        {640, 100, 1, 9, 0, 0, {582, 100, 782, 110}},
        {640, 111, 1, 0, 0, 0, none},
        {781, 133, 1, 11, 0, 0, {582, 123, 782, 133}},
        {781, 134, 1, 0, 0, 0, none},
        {600, 25, 0, -99, 0, 0, {582, 20, 782, 30}},  // hovering only highlights
        // quit cross: 10 x 10, its box 12 x 8
        {5, 5, 1, -99, 1, 0, {0, 0, 12, 8}},
        {0, 0, 1, -99, 1, 0, {0, 0, 12, 8}},
        {9, 9, 0, -99, 0, 0, {0, 0, 12, 8}},
        {10, 5, 1, -99, 0, 0, none},
        {5, 10, 1, -99, 0, 0, none},
        // arrows: 17 x 16 from (712, 182) and (739, 182); they lie under the
        // menu column, where a click off the rows chooses nothing
        {728, 197, 1, 0, 0, -1, {712, 182, 729, 198}},
        {712, 182, 1, 0, 0, -1, {712, 182, 729, 198}},
        {711, 190, 1, 0, 0, 0, none},
        {729, 197, 1, 0, 0, 0, none},
        {739, 182, 1, 0, 0, 1, {739, 182, 756, 198}},
        {755, 197, 1, 0, 0, 1, {739, 182, 756, 198}},
        {756, 190, 1, 0, 0, 0, none},
        {745, 198, 1, 0, 0, 0, none},
        {745, 181, 0, -99, 0, 0, none},
        {400, 300, 1, -99, 0, 0, none},
    };
    for (const Case& c : cases) {
        viewer_test::fresh();
        app::ViewerState& v = app::viewer;
        v.pointer_x = c.x;
        v.pointer_y = c.y;
        v.pointer_left = c.left;
        v.menu_choice = -99;
        viewer_test::clear_frame(0);
        app::handle_menu();
        app::handle_buttons();
        const std::string at = "pointer (" + std::to_string(c.x) + ", " + std::to_string(c.y) + ")";
        EXPECT_EQ(v.menu_choice, c.menu) << at;
        EXPECT_EQ(v.quit_requested, c.quit) << at;
        EXPECT_EQ(v.scroll_request, c.scroll) << at;

        // Every pixel of the box, both corners included, is blended once,
        // except one per inner row next to the diagonal, blended twice.
        int ones = 0, twos = 0, other = 0, outside = 0;
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x) {
                uint32_t p = viewer_test::pixel(x, y);
                if (!p) continue;
                bool in = x >= c.box.x0 && x <= c.box.x1 && y >= c.box.y0 && y <= c.box.y1;
                if (!in) ++outside;
                else if (p == once) ++ones;
                else if (p == twice) ++twos;
                else ++other;
            }
        EXPECT_EQ(outside, 0) << at;
        EXPECT_EQ(other, 0) << at;
        if (c.box.x0 <= c.box.x1) {
            const int area = (c.box.x1 - c.box.x0 + 1) * (c.box.y1 - c.box.y0 + 1);
            const int inner_rows = c.box.y1 - c.box.y0 - 1;
            EXPECT_EQ(twos, inner_rows) << at;
            EXPECT_EQ(ones, area - inner_rows) << at;
        } else {
            EXPECT_EQ(ones + twos, 0) << at;
        }
    }
}

TEST(Mouse, HeldButtonRequestsInEveryFrameAndDraggingChoosesEachRow) {
    viewer_test::fresh();
    app::ViewerState& v = app::viewer;
    v.pointer_left = 1;
    v.pointer_x = 700;
    const int boxes[12][2] = {{0, 0},   {8, 18},  {20, 30}, {32, 42},   {43, 53},   {54, 64},
                              {66, 76}, {77, 87}, {89, 99}, {100, 110}, {112, 122}, {123, 133}};
    int32_t expected_row[140] = {};
    for (int k = 1; k <= 11; ++k)
        for (int y = boxes[k][0]; y <= boxes[k][1]; ++y) expected_row[y] = k;
    for (int y = 0; y < 140; ++y) {  // one frame per pixel row, button held
        v.menu_choice = 0;
        v.pointer_y = y;
        app::handle_menu();
        ASSERT_EQ(v.menu_choice, expected_row[y]) << "y " << y;
    }
    for (int f = 0; f < 3; ++f) {
        v.scroll_request = 0;
        v.pointer_x = 745;
        v.pointer_y = 190;
        app::handle_buttons();
        EXPECT_EQ(v.scroll_request, 1);
    }
}

// Every place in the top of the screen where the viewer reacts, probed
// through the handlers, against the decoded picture: each action's spot is
// one rectangle lying exactly on one painted button, so no colour inside the
// spot appears in the ring of pixels just outside it (where the ring is not
// another spot: menu rows can touch). A spot one pixel off its button takes
// in the button's edge or leaves it in the ring; menu rows that touch are
// held in place by their labels, which are centred in their rows.
TEST(Mouse, HotSpotsLieExactlyOnThePaintedButtons) {
    static std::vector<uint32_t> background(size_t(render::background_width) * render::background_height + 1, 0);
    render::background_pixels = background.data();
    render::decode_background();
    render::draw_background(0, 0);
    const std::vector<uint32_t> picture(std::begin(render::Framebuffer), std::end(render::Framebuffer));
    auto colour = [&](int x, int y) { return picture[size_t(y) * render::frame_width + x]; };

    // action of each pixel: 1..11 menu rows, 12 quit, 13 down arrow, 14 up arrow
    constexpr int probe_rows = 240, actions = 15;
    struct Spot {
        int x0 = 800, y0 = 600, x1 = -1, y1 = -1, pixels = 0;
    } spots[actions];
    static int action_at[probe_rows][800];
    viewer_test::fresh();
    app::ViewerState& v = app::viewer;
    v.pointer_left = 1;
    for (int y = 0; y < probe_rows; ++y)
        for (int x = 0; x < render::frame_width; ++x) {
            v.pointer_x = x;
            v.pointer_y = y;
            v.menu_choice = v.quit_requested = v.scroll_request = 0;
            app::handle_menu();
            app::handle_buttons();
            const int made = (v.menu_choice != 0) + v.quit_requested + (v.scroll_request != 0);
            ASSERT_LE(made, 1) << "two hot spots at " << x << ", " << y;
            if (made == 0) continue;
            const int a = v.menu_choice != 0 ? v.menu_choice : v.quit_requested ? 12 : v.scroll_request < 0 ? 13 : 14;
            action_at[y][x] = a;
            Spot& s = spots[a];
            s.x0 = std::min(s.x0, x), s.y0 = std::min(s.y0, y), s.x1 = std::max(s.x1, x), s.y1 = std::max(s.y1, y);
            ++s.pixels;
        }

    for (int a = 1; a < actions; ++a) {
        const Spot& s = spots[a];
        const std::string name = "action " + std::to_string(a);
        ASSERT_GT(s.pixels, 0) << name;
        ASSERT_LT(s.y1, probe_rows - 1) << name;
        EXPECT_EQ(s.pixels, (s.x1 - s.x0 + 1) * (s.y1 - s.y0 + 1)) << name << " is not one rectangle";
        std::set<uint32_t> inside;
        for (int y = s.y0; y <= s.y1; ++y)
            for (int x = s.x0; x <= s.x1; ++x) inside.insert(colour(x, y));
        int ring = 0;
        for (int y = s.y0 - 1; y <= s.y1 + 1; ++y)
            for (int x = s.x0 - 1; x <= s.x1 + 1; ++x) {
                const bool on_ring = x < s.x0 || x > s.x1 || y < s.y0 || y > s.y1;
                if (!on_ring || x < 0 || y < 0 || x >= render::frame_width || action_at[y][x] != 0) continue;
                ++ring;
                EXPECT_EQ(inside.count(colour(x, y)), 0u)
                    << name << " spot " << s.x0 << ", " << s.y0 << " to " << s.x1 << ", " << s.y1
                    << ": the picture at " << x << ", " << y << " continues the button";
            }
        EXPECT_GT(ring, 0) << name;
    }

    // Each menu row's label lies centred between the spot's top and bottom.
    for (int a = 1; a <= 11; ++a) {
        const Spot& s = spots[a];
        int first = -1, last = -1;
        for (int y = s.y0; y <= s.y1; ++y)
            for (int x = s.x0; x <= s.x1; ++x) {
                const uint32_t c = colour(x, y);
                if ((c >> 16 & 255) + (c >> 8 & 255) + (c & 255) <= 384) continue;
                if (first < 0) first = y;
                last = y;
            }
        ASSERT_GE(first, 0) << "menu row " << a << " shows no label";
        EXPECT_EQ(first - s.y0, s.y1 - last) << "menu row " << a << " spot " << s.y0 << " to " << s.y1;
    }

    // The arrows' marks: the one that scrolls down points down.
    for (int a : {13, 14}) {
        const Spot& s = spots[a];
        std::vector<int> widths;
        for (int y = s.y0; y <= s.y1; ++y) {
            int n = 0;
            for (int x = s.x0; x <= s.x1; ++x) n += colour(x, y) == 0xF4F8FF;
            if (n) widths.push_back(n);
        }
        ASSERT_GE(widths.size(), 2u) << "action " << a;
        if (a == 13) EXPECT_GT(widths.front(), widths.back());
        else EXPECT_LT(widths.front(), widths.back());
    }
}

}  // namespace
