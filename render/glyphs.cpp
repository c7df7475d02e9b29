// glyphs.cpp: page text in the pane. Each character is one 9 x 12 cell of the
// font atlas; its ink takes the colour of the screen row it lands on, from
// the row gradient that fades the text in below the pane's top edge and out
// above its bottom edge.
//
//   build_row_gradient();                        // once, at start-up
//   draw_pane_text(42, y, bytes, length);        // one page row
//
// Near the top edge (glyph tops above pane_top + 30) text is drawn only over
// pure black, so artwork of the picture that reaches into the pane stays in
// front of it. The pane's bounds are render/layout.h's.
#include <algorithm>

#include "render/glyph_masks.h"
#include "render/layout.h"
#include "render/render.h"

namespace render {

alignas(64) uint32_t row_gradient[601];
alignas(64) uint16_t glyph_ink_masks[224][12];

void build_glyph_ink_masks() {
    for (int g = 0; g < 224; ++g)
        for (int r = 0; r < 12; ++r) {
            uint16_t m = 0;
            for (int k = 0; k < 9; ++k) m |= uint16_t(glyph_ink(g * 9, k, r)) << k;
            glyph_ink_masks[g][r] = m;
        }
}

// The fade-in ramp ends (pane_top + 49) before the fade-out begins (pane_bottom - 24).
static_assert(layout::pane_top + 50 <= layout::pane_bottom - 25, "the row gradient's ramps overlap");

void build_row_gradient() {
    int32_t level = 0;
    for (int32_t row = 0; row <= 600; ++row) {
        if (layout::pane_top < row && row < layout::pane_top + 50) level += 5;
        if (layout::pane_bottom - 25 < row && row < layout::pane_bottom) level -= 10;
        // level x 0.93 and level x 0.97, rounded as the nearest doubles to
        // those factors round in extended precision (level 50: 47 and 48)
        const int32_t red = (level * 93 + 50) / 100;
        const int32_t green = (level * 97 + 49) / 100;
        row_gradient[row] = uint32_t(red) << 16 | uint32_t(green) << 8 | uint32_t(level);
    }
}

uint32_t glyph_row_mask(int32_t column, int32_t r) {
    if (r < 0 || r > 11 || column < 0 || column > 2048 - 9) return 0;
    if (column % 9 == 0 && column / 9 < 224) return glyph_ink_masks[column / 9][r];
    uint32_t m = 0;
    for (int k = 0; k < 9; ++k) m |= uint32_t(glyph_ink(column, k, r)) << k;
    return m;
}

namespace {

// Cells that start at a glyph's first column use the ink masks and visit
// only their ink pixels; any other start column is looked up pixel by pixel.
template <bool behind>
inline void glyph_rows(int64_t x, int64_t y, int32_t cell_column, int64_t r0, int64_t r1, int64_t k0, int64_t k1) {
    const uint32_t window = ((1u << (k1 + 1)) - 1) & ~((1u << k0) - 1);
    const uint16_t* masks = cell_column % 9 == 0 && cell_column / 9 < 224 ? glyph_ink_masks[cell_column / 9] : nullptr;
    for (int64_t r = r0; r <= r1; ++r) {
        uint32_t ink;
        if (masks) {
            ink = masks[r] & window;
        } else {
            ink = 0;
            for (int64_t k = k0; k <= k1; ++k) ink |= uint32_t(glyph_ink(cell_column, int32_t(k), int32_t(r))) << k;
        }
        if (ink == 0) continue;
        const int64_t Y = y + r;
        uint32_t* row = Framebuffer + Y * frame_width;
        const uint32_t colour = row_gradient[Y];
        do {
            uint32_t& d = row[x + __builtin_ctz(ink)];
            if (!behind || d == 0) d = colour;
            ink &= ink - 1;
        } while (ink);
    }
}

}  // namespace

void draw_pane_glyph(int32_t x, int32_t y, int32_t cell_column) {
    if (cell_column < 0 || cell_column > 2048 - 9) return;
    // The pane window (and, should the geometry ever leave it, the frame),
    // as ranges of cell rows r and cell columns k.
    const int64_t r0 = std::max<int64_t>({0, int64_t(layout::pane_top) - y, -int64_t(y)});
    const int64_t r1 = std::min<int64_t>({11, int64_t(layout::pane_bottom) - y, frame_height - 1 - int64_t(y)});
    const int64_t k0 = std::max<int64_t>({0, int64_t(layout::pane_left) - x, -int64_t(x)});
    const int64_t k1 = std::min<int64_t>({8, int64_t(layout::pane_right) - x, frame_width - 1 - int64_t(x)});
    if (r0 > r1 || k0 > k1) return;
    // behind mode, chosen once from the glyph's top row: ink only over pure black
    if (int64_t(y) < int64_t(layout::pane_top) + 30) glyph_rows<true>(x, y, cell_column, r0, r1, k0, k1);
    else glyph_rows<false>(x, y, cell_column, r0, r1, k0, k1);
}

void draw_pane_text(int32_t x, int32_t y, const uint8_t* text, int32_t length) {
    if (text == nullptr || length <= 0) return;
    // A row wholly above or below the pane draws nothing.
    if (int64_t(y) + 11 < layout::pane_top || int64_t(y) > layout::pane_bottom) return;
    int64_t cx = x;
    for (int32_t i = 0; i < length && text[i] != 0; ++i, cx += 9) {
        if (cx > layout::pane_right) break;     // this and every later cell lie right of the pane
        if (cx + 8 < layout::pane_left) continue;
        draw_pane_glyph(int32_t(cx), y, glyph_cell_column(text[i]));
    }
}

}  // namespace render
