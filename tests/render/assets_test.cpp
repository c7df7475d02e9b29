// The built-in assets and their decoding: the picture's file layout, the
// mirrored decode and the copy that undoes it, the palette, the font atlas,
// the cursor codes, and the picture agreeing with the interface geometry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "render/builtin_assets.h"
#include "render_fixture.h"

using render_test::at;

namespace {

uint32_t le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint32_t le16(const unsigned char* p) { return p[0] | p[1] << 8; }

// Picture pixel (x, y) read straight from the BMP bytes.
uint32_t picture(int x, int y) {
    const unsigned char* p = builtin_picture + 54 + (size_t(599 - y) * 800 + x) * 3;
    return uint32_t(p[2]) << 16 | p[1] << 8 | p[0];
}

float luma(uint32_t c) { return (0.3f * ((c >> 16) & 255) + 0.59f * ((c >> 8) & 255) + 0.11f * (c & 255)) / 255.f; }

}  // namespace

TEST(Picture, FileHasTheExpectedLayout) {
    ASSERT_EQ(builtin_picture_size, 1440054u);
    const unsigned char* b = builtin_picture;
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    const struct {
        int offset, width;
        uint32_t value;
    } fields[] = {{2, 4, 1440054}, {6, 4, 0},  {10, 4, 54},   {14, 4, 40},   {18, 4, 800}, {22, 4, 600}, {26, 2, 1},
                  {28, 2, 24},     {30, 4, 0}, {34, 4, 1440000}, {38, 4, 2835}, {42, 4, 2835}, {46, 4, 0}, {50, 4, 0}};
    for (const auto& f : fields)
        EXPECT_EQ(f.width == 4 ? le32(b + f.offset) : le16(b + f.offset), f.value) << "field at offset " << f.offset;
}

TEST(Picture, DecodeMirrorsRowsAndDrawBackgroundUndoesIt) {
    render_test::start_up();
    const uint32_t* bp = render::background_pixels;
    EXPECT_EQ(bp[0], picture(799, 0));
    EXPECT_EQ(bp[799], picture(0, 0));
    EXPECT_EQ(bp[800], picture(799, 1));
    EXPECT_EQ(bp[479999], picture(0, 599));
    EXPECT_EQ(bp[480000], 0u) << "the spare last entry is never written";

    render_test::clear(0xABCDEF);
    render::draw_background(0, 0);
    int wrong = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) wrong += at(x, y) != picture(x, y);
    EXPECT_EQ(wrong, 0);
    for (auto [x, y] : {std::pair{0, 0}, {799, 0}, {0, 599}, {799, 599}}) EXPECT_EQ(at(x, y), picture(x, y));
    for (uint32_t p : render::Framebuffer) ASSERT_EQ(p >> 24, 0u);
}

TEST(Picture, OffsetOriginIsClippedToTheFrame) {
    render_test::start_up();
    const struct {
        int x0, y0;
    } origins[] = {{5, 3}, {-7, -2}, {790, 590}, {-800, 0}, {0, 600}, {2000000000, -2000000000}};
    for (const auto& o : origins) {
        render_test::clear(0x123456);
        render::draw_background(o.x0, o.y0);
        int wrong = 0;
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x) {
                const int64_t px = int64_t(x) - o.x0, py = int64_t(y) - o.y0;
                const bool covered = px >= 0 && px < 800 && py >= 0 && py < 600;
                wrong += at(x, y) != (covered ? picture(int(px), int(py)) : 0x123456u);
            }
        EXPECT_EQ(wrong, 0) << "origin " << o.x0 << ", " << o.y0;
    }
}

TEST(Palette, FixedEntriesAndTheRule) {
    render_test::start_up();
    const uint32_t* pc = render::palette_colours;
    EXPECT_EQ(pc[0], 0x000000u);
    EXPECT_EQ(pc[1], 0x800000u);
    EXPECT_EQ(pc[10], 0x402000u);
    EXPECT_EQ(pc[255], 0xFFFFFFu);
    EXPECT_EQ(pc[9], 0xA6CAF0u);
    EXPECT_EQ(pc[246], 0xFFFBF0u);
    for (uint32_t i = 10; i <= 245; ++i)
        EXPECT_EQ(pc[i], (i % 8) * 32 << 16 | ((i / 8) % 8) * 32 << 8 | (i / 64) * 64) << "entry " << i;
    for (int i = 1; i < 256; ++i) EXPECT_NE(pc[i], 0u) << "only entry 0 is black, not " << i;
}

TEST(Font, AtlasHoldsOnlyBlankAndInk) {
    render_test::start_up();
    for (int i = 0; i < 12 * 2048; ++i) ASSERT_TRUE(render::font_atlas[i] == 0 || render::font_atlas[i] == 255) << i;
    for (int r = 0; r < 12; ++r)
        for (int x = 2016; x < 2048; ++x) EXPECT_EQ(render::font_atlas[r * 2048 + x], 0u) << "unused column " << x;
}

TEST(Font, CellLookup) {
    render_test::start_up();
    EXPECT_EQ(render::glyph_cell_column(65), 297);
    EXPECT_EQ(render::glyph_cell_column(255), 2007);
    for (uint32_t c = 0; c <= 32; ++c) EXPECT_EQ(render::glyph_cell_column(c), 0) << c;
    // the space cell, which codes 0 to 31 share, is blank; every other
    // printable code below 255 has ink, and only inside its own cell
    auto ink_count = [](int column) {
        int n = 0;
        for (int r = 0; r < 12; ++r)
            for (int k = 0; k < 9; ++k) n += render::glyph_ink(column, k, r);
        return n;
    };
    EXPECT_EQ(ink_count(0), 0);
    EXPECT_EQ(ink_count(render::glyph_cell_column(255)), 0) << "255 is the no-break space";
    for (uint32_t c = 33; c < 255; ++c) EXPECT_GT(ink_count(render::glyph_cell_column(c)), 0) << "code " << c;
}

TEST(Font, BoxAndBlockPiecesReachTheirEdges) {
    render_test::start_up();
    // code, and which edges its ink must reach: top, bottom, left, right
    const struct {
        uint32_t code;
        bool top, bottom, left, right;
    } pieces[] = {{179, 1, 1, 0, 0}, {196, 0, 0, 1, 1}, {197, 1, 1, 1, 1}, {186, 1, 1, 0, 0}, {205, 0, 0, 1, 1},
                  {206, 1, 1, 1, 1}, {201, 0, 1, 0, 1}, {188, 1, 0, 1, 0}, {219, 1, 1, 1, 1}, {220, 0, 1, 1, 1},
                  {223, 1, 0, 1, 1}, {221, 1, 1, 1, 0}, {222, 1, 1, 0, 1}};
    for (const auto& p : pieces) {
        const int col = render::glyph_cell_column(p.code);
        bool top = false, bottom = false, left = false, right = false;
        for (int k = 0; k < 9; ++k) top |= render::glyph_ink(col, k, 0), bottom |= render::glyph_ink(col, k, 11);
        for (int r = 0; r < 12; ++r) left |= render::glyph_ink(col, 0, r), right |= render::glyph_ink(col, 8, r);
        EXPECT_EQ(top, p.top) << p.code;
        EXPECT_EQ(bottom, p.bottom) << p.code;
        EXPECT_EQ(left, p.left) << p.code;
        EXPECT_EQ(right, p.right) << p.code;
    }
    // straight pieces continue into their neighbours: the first and last
    // columns (rows) of a horizontal (vertical) piece carry the same ink
    for (uint32_t code : {196u, 205u, 197u, 206u, 219u, 220u, 223u}) {
        const int col = render::glyph_cell_column(code);
        for (int r = 0; r < 12; ++r) EXPECT_EQ(render::glyph_ink(col, 0, r), render::glyph_ink(col, 8, r)) << code;
    }
    for (uint32_t code : {179u, 186u, 197u, 206u, 219u, 221u, 222u}) {
        const int col = render::glyph_cell_column(code);
        for (int k = 0; k < 9; ++k) EXPECT_EQ(render::glyph_ink(col, k, 0), render::glyph_ink(col, k, 11)) << code;
    }
    // the shades repeat every 3 columns and every 4 rows, which divide the
    // 9 x 12 cell, so a field of them shows no seams
    for (uint32_t code : {176u, 177u, 178u}) {
        const int col = render::glyph_cell_column(code);
        int ink = 0;
        for (int r = 0; r < 12; ++r)
            for (int k = 0; k < 9; ++k) {
                ink += render::glyph_ink(col, k, r);
                EXPECT_EQ(render::glyph_ink(col, k, r), render::glyph_ink(col, (k + 3) % 9, r)) << code;
                EXPECT_EQ(render::glyph_ink(col, k, r), render::glyph_ink(col, k, (r + 4) % 12)) << code;
            }
        EXPECT_NEAR(ink, (code - 175) * 27, 1) << "shade " << code << " is a quarter, half or three quarters ink";
    }
}

TEST(Cursor, CodesAndTheReadPastTheEnd) {
    render::rewind_cursor_codes();
    int codes[197];
    for (int& c : codes) c = render::read_cursor_code();
    render::rewind_cursor_codes();
    for (int k = 0; k < 14; ++k) EXPECT_EQ(codes[k], 2) << "row 0 is outline";
    EXPECT_EQ(codes[13 * 14], 2);
    for (int k = 1; k < 14; ++k) EXPECT_EQ(codes[13 * 14 + k], 0) << "row 13 column " << k;
    for (int row : {0, 12, 13})
        for (int k = 0; k < 14; ++k) EXPECT_NE(codes[row * 14 + k], 3);
    EXPECT_EQ(codes[1 * 14 + 1], 3);
    EXPECT_EQ(codes[1 * 14 + 2], 1);
    EXPECT_EQ(codes[196], 0) << "the 197th read finds the codes exhausted";
    for (int c : codes) EXPECT_TRUE(c >= 0 && c <= 3);
}

// What the viewer's mouse tests and text pane assume of the picture.
TEST(Picture, AgreesWithTheInterfaceGeometry) {
    using namespace layout;
    const uint32_t frame_colour = picture(frame_left, 300);
    EXPECT_GT(luma(frame_colour), 0.5f) << "the pane's frame is light";
    for (int y = frame_top; y <= frame_bottom; ++y) {
        EXPECT_GT(luma(picture(frame_left, y)), 0.5f) << y;
        EXPECT_GT(luma(picture(frame_right, y)), 0.5f) << y;
    }
    for (int x = frame_left; x <= frame_right; ++x) {
        if (inside(down_arrow, x, frame_top) || inside(up_arrow, x, frame_top)) continue;
        EXPECT_GT(luma(picture(x, frame_bottom)), 0.5f) << x;
    }
    // inside the frame: pure black, except artwork in the first rows, which
    // is never pure black (so text there goes behind it)
    int art = 0, art_below_first_rows = 0;
    for (int y = frame_top + 1; y < frame_bottom; ++y)
        for (int x = frame_left + 1; x < frame_right; ++x) {
            if (picture(x, y) == 0) continue;
            ++art;
            art_below_first_rows += y >= pane_top + 30;
        }
    EXPECT_GT(art, 0);
    EXPECT_EQ(art_below_first_rows, 0);
    // the scroll arrows fill their hot spots, with a bright mark inside
    for (const Spot& s : {down_arrow, up_arrow}) {
        int bright = 0, black = 0;
        for (int y = s.y; y < s.y + s.height; ++y)
            for (int x = s.x; x < s.x + s.width; ++x) {
                bright += luma(picture(x, y)) > 0.8f;
                black += picture(x, y) == 0;
            }
        EXPECT_GT(bright, 20);
        EXPECT_EQ(black, 0);
        EXPECT_EQ(picture(s.x - 1, s.y + 8), 0u) << "left of the arrow button is the black pane";
    }
    // the quit cross: a bright mark inside its 10 x 10 spot
    int bright = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) bright += luma(picture(x, y)) > 0.7f;
    EXPECT_GT(bright, 8);
}

TEST(Picture, MenuLabelsSitInsideTheirRows) {
    using namespace layout;
    auto bright_in_row = [](int y) {
        int n = 0;
        for (int x = menu_left + 1; x < menu_left + menu_width; ++x) n += luma(picture(x, y)) > 0.55f;
        return n;
    };
    for (int k = 1; k <= menu_rows; ++k) {
        int ink = 0;
        for (int y = menu_row_top[k]; y <= menu_row_top[k] + menu_row_height; ++y) ink += bright_in_row(y);
        EXPECT_GT(ink, 40) << "row " << k << " has a label";
        // the label keeps a blank pixel row at the top and bottom of its box
        EXPECT_EQ(bright_in_row(menu_row_top[k]), 0) << "row " << k;
        EXPECT_EQ(bright_in_row(menu_row_top[k] + menu_row_height), 0) << "row " << k;
    }
    for (int y : {19, 31, 65, 88, 111}) EXPECT_EQ(bright_in_row(y), 0) << "gap row " << y;
    // nothing bright outside the column's hot area on the label rows
    for (int y = menu_row_top[1]; y <= menu_row_top[menu_rows] + menu_row_height; ++y) {
        EXPECT_LT(luma(picture(menu_left, y)), 0.55f);
        EXPECT_LT(luma(picture(menu_left + menu_width, y)), 0.55f);
    }
}
