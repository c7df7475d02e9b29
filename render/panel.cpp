// panel.cpp: the opaque panel primitives: the framed ticker bar at the foot
// of the screen and the mouse cursor sprite, drawn last in every frame.
//
//   draw_ticker_bar();          // before the ticker text
//   cursor_table = colours;     // once, at start-up (197 entries, 14 a row)
//   draw_cursor(x, y);          // the sprite's top-left pixel is the hot spot
//
// The bar sits under the pane (render/layout.h); the cursor's colours are the
// viewer's, which it fills from the cursor codes and points cursor_table at.
#include <algorithm>

#include "render/layout.h"
#include "render/render.h"

namespace render {

const uint32_t* cursor_table = nullptr;

namespace {
// One run of opaque pixels on a row, kept inside the frame.
void fill_run(int32_t y, int64_t x0, int64_t x1, uint32_t colour) {
    if (y < 0 || y >= frame_height) return;
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, frame_width - 1);
    uint32_t* row = Framebuffer + y * frame_width;
    for (int64_t x = x0; x <= x1; ++x) row[x] = colour;
}
}  // namespace

void draw_ticker_bar() {
    using namespace layout;
    for (int32_t y = ticker_bar_top; y <= ticker_bar_bottom; ++y)
        fill_run(y, int64_t(pane_left) - 4, int64_t(pane_right) - 3, 0xFFFFFF);
    for (int32_t y = ticker_bar_top + 1; y < ticker_bar_bottom; ++y)
        fill_run(y, int64_t(pane_left) - 2, int64_t(pane_right) - 5, 0x001122);
}

void draw_cursor(int32_t x, int32_t y) {
    const uint32_t* table = cursor_table;
    if (table == nullptr) return;
    int64_t k = 0, r = 0;
    for (int i = 0; i < 197; ++i) {
        const uint32_t c = table[i];
        const int64_t X = int64_t(x) + k, Y = int64_t(y) + r;
        if (c != 0 && X > 0 && X < frame_width && Y > 0 && Y < frame_height) Framebuffer[Y * frame_width + X] = c;
        if (++k == 14) {
            k = 0;
            ++r;
        }
    }
}

}  // namespace render
