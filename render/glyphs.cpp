// glyphs.cpp: page text in the pane. Each character is one 9 x 12 cell of the
// font atlas; its ink takes the colour of the screen row it lands on, from
// the row gradient that fades the text in below the pane's top edge and out
// above its bottom edge.
//
//   build_row_gradient();                        // once, after the pane geometry is set
//   draw_pane_text(42, y, bytes, length);        // one page row
//
// Near the top edge (glyph tops above pane_top + 30) text is drawn only over
// pure black, so artwork of the picture that reaches into the pane stays in
// front of it.
#include <algorithm>

#include "app/state/viewer_state.h"
#include "render/render.h"

namespace render {

alignas(64) uint32_t row_gradient[601];

void build_row_gradient() {
    const app::ViewerState& v = app::viewer;
    int32_t level = 0;
    for (int32_t row = 0; row <= 600; ++row) {
        if (v.pane_top < row && row < v.pane_top + 50) level += 5;
        if (v.pane_bottom - 25 < row && row < v.pane_bottom) level -= 10;
        // level x 0.93 and level x 0.97, rounded as the nearest doubles to
        // those factors round in extended precision (level 50: 47 and 48)
        const int32_t red = (level * 93 + 50) / 100;
        const int32_t green = (level * 97 + 49) / 100;
        row_gradient[row] = uint32_t(red) << 16 | uint32_t(green) << 8 | uint32_t(level);
    }
}

void draw_pane_glyph(int32_t x, int32_t y, int32_t cell_column) {
    const app::ViewerState& v = app::viewer;
    if (cell_column < 0 || cell_column > 2048 - 9) return;
    const bool behind = int64_t(y) < int64_t(v.pane_top) + 30;
    // The pane window (and, should the geometry ever leave it, the frame),
    // as ranges of cell rows r and cell columns k.
    const int64_t r0 = std::max<int64_t>({0, int64_t(v.pane_top) - y, -int64_t(y)});
    const int64_t r1 = std::min<int64_t>({11, int64_t(v.pane_bottom) - y, frame_height - 1 - int64_t(y)});
    const int64_t k0 = std::max<int64_t>({0, int64_t(v.pane_left) - x, -int64_t(x)});
    const int64_t k1 = std::min<int64_t>({8, int64_t(v.pane_right) - x, frame_width - 1 - int64_t(x)});
    if (r0 > r1 || k0 > k1) return;
    for (int64_t r = r0; r <= r1; ++r) {
        const int64_t Y = y + r;
        const uint32_t* cell = font_atlas + r * 2048 + cell_column;
        uint32_t* row = Framebuffer + Y * frame_width;
        const uint32_t colour = row_gradient[Y];
        for (int64_t k = k0; k <= k1; ++k) {
            if (palette_colours[cell[k] & 255] == 0) continue;
            uint32_t& d = row[x + k];
            if (behind && d != 0) continue;
            d = colour;
        }
    }
}

void draw_pane_text(int32_t x, int32_t y, const uint8_t* text, int32_t length) {
    const app::ViewerState& v = app::viewer;
    if (text == nullptr || length <= 0) return;
    // A row wholly above or below the pane draws nothing.
    if (int64_t(y) + 11 < v.pane_top || int64_t(y) > v.pane_bottom) return;
    int64_t cx = x;
    for (int32_t i = 0; i < length && text[i] != 0; ++i, cx += 9) {
        if (cx > v.pane_right) break;     // this and every later cell lie right of the pane
        if (cx + 8 < v.pane_left) continue;
        draw_pane_glyph(int32_t(cx), y, glyph_cell_column(text[i]));
    }
}

}  // namespace render
