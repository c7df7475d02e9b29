// Pane text: the row gradient and its rounding, the pane's clip window, the
// behind mode near the top edge, and how a text row advances and ends.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <string>

#include "render_fixture.h"

using render_test::at;

namespace {

const uint8_t block = 219;  // the full block: ink in all 108 pixels of its cell

void draw(int x, int y, const std::string& s) {
    render::draw_pane_text(x, y, reinterpret_cast<const uint8_t*>(s.data()), int32_t(s.size()));
}

// Gives every row a colour of its own, so that writes of rows whose gradient
// colour is black can be seen; restored by the destructor.
struct MarkedRows {
    MarkedRows() {
        for (uint32_t y = 0; y <= 600; ++y) render::row_gradient[y] = 0x100000 | y;
    }
    ~MarkedRows() { render::build_row_gradient(); }
};

}  // namespace

TEST(RowGradient, Table) {
    render_test::start_up();
    const struct {
        int row;
        uint32_t colour;
    } rows[] = {{0, 0x000000},   {185, 0x000000}, {186, 0x050505}, {187, 0x090A0A}, {195, 0x2F3032},
                {215, 0x8C9196}, {234, 0xE4EEF5}, {235, 0xE4EEF5}, {554, 0xE4EEF5}, {555, 0xDBE4EB},
                {577, 0x0E0F0F}, {578, 0x050505}, {579, 0x050505}, {600, 0x050505}};
    for (const auto& r : rows) EXPECT_EQ(render::row_gradient[r.row], r.colour) << "row " << r.row;
}

TEST(RowGradient, IntegerFormsMatchTheExtendedPrecisionRounding) {
    // level x (nearest double to 0.93 or 0.97), formed exactly in extended
    // precision and rounded to nearest even: the rule the table is built by
    for (int level = 0; level <= 255; ++level) {
        const long double red = std::nearbyint((long double)level * (long double)0.93);
        const long double green = std::nearbyint((long double)level * (long double)0.97);
        EXPECT_EQ((level * 93 + 50) / 100, int(red)) << "level " << level;
        EXPECT_EQ((level * 97 + 49) / 100, int(green)) << "level " << level;
    }
    EXPECT_EQ((50 * 93 + 50) / 100, 47);
    EXPECT_EQ((50 * 97 + 49) / 100, 48);
    EXPECT_EQ((150 * 93 + 50) / 100, 140);
    EXPECT_EQ((150 * 97 + 49) / 100, 145);
}

TEST(PaneGlyph, ClipWindowRowsAndColumns) {
    render_test::start_up();
    MarkedRows marked;
    render_test::clear(0);
    for (int y : {178, 574}) draw(42, y, std::string(81, char(block)));  // reaching past every edge
    EXPECT_EQ(at(100, 184), 0u);
    EXPECT_EQ(at(100, 185), 0x100000u | 185);
    EXPECT_EQ(at(100, 579), 0x100000u | 579);
    EXPECT_EQ(at(100, 580), 0u);
    EXPECT_EQ(at(43, 186), 0u);
    EXPECT_EQ(at(44, 186), 0x100000u | 186);
    EXPECT_EQ(at(762, 186), 0x100000u | 186) << "an 81st character reaches column 762";
    EXPECT_EQ(at(763, 186), 0u);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            if (x < 44 || x > 762 || y < 185 || y > 579) {
                ASSERT_EQ(at(x, y), 0u) << x << ", " << y;
            }
}

TEST(PaneGlyph, EightyCharactersEndAtColumn761) {
    render_test::start_up();
    render_test::clear(0);
    draw(42, 300, std::string(80, char(block)));
    EXPECT_EQ(at(761, 305), render::row_gradient[305]);
    EXPECT_EQ(at(762, 305), 0u);
}

TEST(PaneGlyph, BehindModeAboveRow215) {
    render_test::start_up();
    // (glyph top, whether a lit background pixel under the ink survives)
    const struct {
        int y;
        bool kept;
    } cases[] = {{200, true}, {214, true}, {215, false}, {300, false}};
    for (const auto& c : cases) {
        render_test::clear(0);
        at(100, c.y + 11) = 0xFFFFFF;  // the glyph's last row: behind mode is chosen by its top row
        render::draw_pane_glyph(99, c.y, render::glyph_cell_column(block));
        EXPECT_EQ(at(100, c.y + 11), c.kept ? 0xFFFFFFu : render::row_gradient[c.y + 11]) << "glyph at " << c.y;
        EXPECT_EQ(at(101, c.y + 11), render::row_gradient[c.y + 11]) << "black pixels take the ink";
    }
}

TEST(PaneText, AdvanceCodesBelow32AndTheZeroByte) {
    render_test::start_up();
    auto frame_of = [](auto draw_it) {
        render_test::clear(0);
        draw_it();
        return std::vector<uint32_t>(std::begin(render::Framebuffer), std::end(render::Framebuffer));
    };
    const auto a_at_9 = frame_of([] { draw(109, 300, "A"); });
    EXPECT_EQ(frame_of([] { draw(100, 300, "\x01" "A"); }), a_at_9) << "a control code is a blank cell, 9 wide";
    EXPECT_EQ(frame_of([] { draw(100, 300, "\tA"); }), a_at_9) << "no tab expansion";
    EXPECT_EQ(frame_of([] { draw(100, 300, " A"); }), a_at_9);
    const uint8_t with_zero[] = {'A', 0, 'B'};
    EXPECT_EQ(frame_of([&] { render::draw_pane_text(100, 300, with_zero, 3); }),
              frame_of([] { draw(100, 300, "A"); }))
        << "drawing stops at a zero byte";
    EXPECT_EQ(frame_of([] { draw(100, 300, "AB"); }), frame_of([] {
                  draw(100, 300, "A");
                  draw(109, 300, "B");
              }));
    const auto blank = frame_of([] {});
    EXPECT_EQ(frame_of([] { draw(100, 300, std::string("\0\x1F", 2)); }), blank);
    EXPECT_EQ(frame_of([] { render::draw_pane_text(100, 300, reinterpret_cast<const uint8_t*>("AB"), 0); }), blank);
    EXPECT_EQ(frame_of([] { render::draw_pane_text(100, 300, nullptr, 5); }), blank);
    // each ink pixel takes the colour of its screen row, whatever the character
    render_test::clear(0);
    draw(100, 230, "Hg");
    for (int y = 230; y < 242; ++y)
        for (int x = 100; x < 118; ++x)
            if (at(x, y) != 0) {
                EXPECT_EQ(at(x, y), render::row_gradient[y]);
            }
}

TEST(PaneGlyph, EveryCellDrawsExactlyItsInk) {
    render_test::start_up();
    // every glyph's first column, and a few columns between glyphs
    std::vector<int> columns;
    for (int c = 0; c < 224; ++c) columns.push_back(c * 9);
    for (int c : {1, 4, 300, 2030, 2039}) columns.push_back(c);
    for (int column : columns) {
        for (int y : {200, 300}) {  // behind mode over black and normal mode
            render_test::clear(0);
            render::draw_pane_glyph(100, y, column);
            for (int r = 0; r < 12; ++r) {
                EXPECT_EQ(render::glyph_row_mask(column, r), [&] {
                    uint32_t m = 0;
                    for (int k = 0; k < 9; ++k) m |= uint32_t(render::glyph_ink(column, k, r)) << k;
                    return m;
                }()) << "column " << column << " row " << r;
                for (int k = -1; k <= 9; ++k) {
                    const bool ink = k >= 0 && k < 9 && render::glyph_ink(column, k, r);
                    ASSERT_EQ(at(100 + k, y + r), ink ? render::row_gradient[y + r] : 0u)
                        << "column " << column << " pixel " << k << ", " << r;
                }
            }
        }
    }
}

TEST(PaneText, FarOffScreenPositionsAreSafe) {
    render_test::start_up();
    render_test::clear(0);
    const std::string row(81, char(block));
    for (int x : {INT_MIN, INT_MIN + 5, -1000, 800, INT_MAX - 8, INT_MAX})
        for (int y : {INT_MIN, -12, 600, INT_MAX - 3, INT_MAX}) draw(x, y, row);
    draw(INT_MAX - 100, 300, row);
    draw(INT_MIN + 1, 300, row);
    for (int x : {INT_MIN, -1000, INT_MAX - 4})
        for (int y : {INT_MIN, 0, 300, INT_MAX - 4}) render::draw_pane_glyph(x, y, render::glyph_cell_column(block));
    render::draw_pane_glyph(100, 300, -9);
    render::draw_pane_glyph(100, 300, 2045);
    for (uint32_t p : render::Framebuffer) ASSERT_EQ(p, 0u);
}
