// The translucent triangle fill: the blend arithmetic, the vertex order and
// fill schemes, span rounding and clamps, and the hover box the mouse
// handlers draw as two triangles.
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <vector>

#include "render_fixture.h"

using render_test::at;

namespace {

constexpr uint32_t highlight = layout::highlight_colour;

// The x ranges of a row that differ from a cleared frame, as "a-b" pieces.
std::string row_runs(int y, uint32_t background = 0) {
    std::string s;
    for (int x = 0; x < 800; ++x) {
        if (at(x, y) == background) continue;
        int e = x;
        while (e + 1 < 800 && at(e + 1, y) != background) ++e;
        s += (s.empty() ? "" : " ") + std::to_string(x) + "-" + std::to_string(e);
        x = e;
    }
    return s;
}

int touched_outside_rows(int y0, int y1) {
    int n = 0;
    for (int y = 0; y < 600; ++y)
        if (y < y0 || y > y1)
            for (int x = 0; x < 800; ++x) n += at(x, y) != 0;
    return n;
}

}  // namespace

TEST(Blend, HighlightValues) {
    const struct {
        uint32_t dst, times, expect;
    } cases[] = {{0x000000, 1, 0x0C1967}, {0x000000, 2, 0x1328A1}, {0xFFFFFF, 1, 0x9EABF8}};
    for (const auto& c : cases) {
        uint32_t p = c.dst;
        for (uint32_t i = 0; i < c.times; ++i) p = render::blend_colour(p, highlight & 0xFFFFFF, highlight >> 24);
        EXPECT_EQ(p, c.expect) << std::hex << c.dst << " x" << c.times;
    }
    // and through the fill itself
    render_test::clear(0);
    render::blend_triangle(10, 10, 30, 10, 30, 30, highlight);
    EXPECT_EQ(at(29, 11), 0x0C1967u);
}

TEST(Blend, AlphaZeroLeavesEveryPixel) {
    render_test::clear(0x00345678);
    render::blend_triangle(-50, -50, 900, 100, 300, 700, 0x00FFFFFF);
    for (uint32_t p : render::Framebuffer) ASSERT_EQ(p, 0x00345678u);
}

TEST(Blend, PerChannelFormulaForEveryWeight) {
    // weights past 127 are taken as 128..255 too: each lane stays below 65,536
    const uint32_t pairs[][2] = {{0x000000, 0xFFFFFF}, {0xFFFFFF, 0x000000}, {0x12F0A5, 0xC30B7E}, {0xFFFFFF, 0xFFFFFF}};
    for (uint32_t a = 0; a < 256; ++a)
        for (const auto& pr : pairs) {
            const uint32_t d = pr[0], s = pr[1];
            uint32_t expect = 0;
            for (int shift : {16, 8, 0}) {
                const uint32_t dc = (d >> shift) & 255, sc = (s >> shift) & 255;
                expect |= ((sc * a + dc * (256 - a)) >> 8) << shift;
            }
            ASSERT_EQ(render::blend_colour(d, s, a), expect) << "alpha " << a;
        }
}

TEST(RoundHalfEven, Cases) {
    const struct {
        double v;
        int64_t r;
    } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4999, 2}, {2.5001, 3}, {-2.6, -3}, {799.5, 800}};
    for (const auto& c : cases) EXPECT_EQ(render::round_half_even(c.v), c.r) << c.v;
}

TEST(Triangle, FlatTopNarrowsOnePixelPerSide) {
    render_test::clear(0);
    render::blend_triangle(0, 0, 20, 0, 10, 10, highlight);
    EXPECT_EQ(row_runs(0), "0-20");
    EXPECT_EQ(row_runs(1), "1-19");
    EXPECT_EQ(row_runs(5), "5-15");
    EXPECT_EQ(row_runs(9), "9-11");
    EXPECT_EQ(row_runs(10), "") << "a span that rounds to one pixel is not drawn";
    EXPECT_EQ(touched_outside_rows(0, 9), 0);
}

TEST(Triangle, SingleRowWhenAllYAreEqual) {
    // (vertices, expected runs of row 5)
    const struct {
        int x1, x2, x3;
        const char* runs;
    } cases[] = {{10, 50, 30, "10-30"}, {10, 11, 12, "10-12"}, {50, 10, 30, "30-50"}, {7, 7, 7, ""}};
    for (const auto& c : cases) {
        render_test::clear(0);
        render::blend_triangle(c.x1, 5, c.x2, 5, c.x3, 5, highlight);
        EXPECT_EQ(row_runs(5), c.runs) << c.x1 << " " << c.x2 << " " << c.x3;
        EXPECT_EQ(touched_outside_rows(5, 5), 0);
    }
}

TEST(Triangle, FlatBottomAndGeneral) {
    render_test::clear(0);
    render::blend_triangle(10, 20, 0, 30, 20, 30, highlight);  // apex on top, flat bottom
    EXPECT_EQ(row_runs(20), "") << "the apex row rounds to one pixel";
    EXPECT_EQ(row_runs(21), "9-11");
    EXPECT_EQ(row_runs(30), "0-20");
    EXPECT_EQ(touched_outside_rows(20, 30), 0);

    render_test::clear(0);
    render::blend_triangle(100, 100, 140, 110, 100, 120, highlight);  // y1 < y2 < y3, middle vertex right
    EXPECT_EQ(row_runs(100), "");
    EXPECT_EQ(row_runs(105), "100-120");
    EXPECT_EQ(row_runs(110), "100-140");
    EXPECT_EQ(row_runs(115), "100-120");
    EXPECT_EQ(row_runs(120), "");
    EXPECT_EQ(touched_outside_rows(100, 120), 0);
}

TEST(Triangle, ClampsAtTheFrameEdges) {
    render_test::clear(0);
    render::blend_triangle(700, 10, 1000, 10, 1000, 20, highlight);
    EXPECT_EQ(row_runs(10), "700-799") << "a span past x = 800 is drawn up to 799";
    EXPECT_EQ(row_runs(11), "730-799");
    EXPECT_EQ(touched_outside_rows(10, 20), 0) << "nothing spills into the next row";

    render_test::clear(0);
    render::blend_triangle(-100, 590, 100, 590, 100, 700, highlight);
    EXPECT_EQ(row_runs(590), "0-100");
    EXPECT_EQ(row_runs(599), "0-100");
    EXPECT_EQ(touched_outside_rows(590, 599), 0);

    render_test::clear(0);
    render::blend_triangle(-10, -30, 50, -30, 50, 10, highlight);  // starts above the frame
    EXPECT_EQ(row_runs(0), "35-50");
    EXPECT_EQ(touched_outside_rows(0, 10), 0);
}

TEST(Triangle, RejectedAndExtremeVertices) {
    render_test::clear(0);
    render::blend_triangle(-5, 10, -1, 20, -9, 30, highlight);       // all left of the frame
    render::blend_triangle(801, 10, 900, 20, 1000, 30, highlight);   // all right of it
    render::blend_triangle(10, 601, 20, 700, 30, 800, highlight);    // all below it
    render::blend_triangle(10, -50, 20, -10, 30, -1, highlight);     // all above it
    for (uint32_t p : render::Framebuffer) ASSERT_EQ(p, 0u);
    // coordinates at the ends of the 32-bit range neither overflow nor hang
    render::blend_triangle(INT_MIN, 0, INT_MAX, 0, 0, INT_MAX, highlight);
    render::blend_triangle(INT_MIN, INT_MIN, INT_MAX, INT_MIN, 0, INT_MAX, 0x01000000);
    EXPECT_NE(at(400, 0), 0u);
}

TEST(Triangle, HoverBoxCoversItsRectangleWithTheDiagonalTwice) {
    // (rectangle, pixels touched, pixels blended twice)
    const struct {
        int x0, y0, x1, y1, touched, twice;
    } boxes[] = {{712, 182, 729, 198, 18 * 17, 15}, {582, 8, 782, 18, 201 * 11, 9}, {0, 0, 12, 8, 13 * 9, 7}};
    for (const auto& b : boxes) {
        render_test::clear(0);
        render::blend_triangle(b.x0, b.y0, b.x1, b.y0, b.x1, b.y1, highlight);
        render::blend_triangle(b.x0, b.y0, b.x0, b.y1, b.x1, b.y1, highlight);
        int touched = 0, twice = 0, outside = 0;
        std::map<int, int> twice_per_row;
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x) {
                const uint32_t p = at(x, y);
                if (p == 0) continue;
                ++touched;
                outside += x < b.x0 || x > b.x1 || y < b.y0 || y > b.y1;
                EXPECT_TRUE(p == 0x0C1967 || p == 0x1328A1) << x << ", " << y;
                if (p == 0x1328A1) ++twice, ++twice_per_row[y];
            }
        EXPECT_EQ(touched, b.touched) << b.x0 << ", " << b.y0;
        EXPECT_EQ(twice, b.twice);
        EXPECT_EQ(outside, 0);
        for (int y = b.y0 + 1; y < b.y1; ++y) EXPECT_EQ(twice_per_row[y], 1) << "row " << y;
    }
}
