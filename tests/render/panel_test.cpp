// The ticker bar and the mouse cursor.
#include <gtest/gtest.h>

#include <climits>

#include "render_fixture.h"

using render_test::at;

TEST(TickerBar, FrameAndFill) {
    render_test::start_up();
    render_test::clear(0x00ABCDEF);
    render::draw_ticker_bar();
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            uint32_t expect = 0xABCDEF;
            if (y >= 584 && x >= 40 && x <= 759) expect = 0xFFFFFF;
            if (y >= 585 && y <= 598 && x >= 42 && x <= 757) expect = 0x001122;
            ASSERT_EQ(at(x, y), expect) << x << ", " << y;
        }
}

TEST(Cursor, SpriteAndItsWindowStartingAt1) {
    render_test::start_up();
    const uint32_t* table = app::viewer.cursor_table;
    // (position, the window of sprite pixels that must be drawn)
    const struct {
        int x, y, k_from, k_to, r_from, r_to;
    } cases[] = {{100, 100, 0, 13, 0, 13}, {0, 0, 1, 13, 1, 13}, {795, 595, 0, 4, 0, 4}, {-5, -5, 6, 13, 6, 13}};
    for (const auto& c : cases) {
        render_test::clear(0x00445566);
        render::draw_cursor(c.x, c.y);
        int drawn = 0;
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x) {
                const int k = x - c.x, r = y - c.y;
                uint32_t expect = 0x445566;
                if (k >= c.k_from && k <= c.k_to && r >= c.r_from && r <= c.r_to && table[r * 14 + k] != 0)
                    expect = table[r * 14 + k];
                ASSERT_EQ(at(x, y), expect) << "cursor at " << c.x << ", " << c.y << ": pixel " << x << ", " << y;
                drawn += expect != 0x445566;
            }
        EXPECT_GT(drawn, 0);
    }
    // column 0 and row 0 are never painted
    render_test::clear(0);
    render::draw_cursor(0, 0);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(at(i, 0) | at(0, i), 0u);
    EXPECT_EQ(at(1, 1), 0x777777u);
    // far off the frame
    render_test::clear(0);
    for (int v : {INT_MIN, -14, 800, INT_MAX}) render::draw_cursor(v, v), render::draw_cursor(v, 300), render::draw_cursor(300, v);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            if (at(x, y) != 0) {
                ASSERT_TRUE((x >= 300 && x < 314) || (y >= 300 && y < 314)) << x << ", " << y;
            }
}
