// panel.cpp: the opaque panel primitives: the framed ticker bar at the foot
// of the screen and the mouse cursor sprite, drawn last in every frame.
//
//   draw_ticker_bar();          // before the ticker text
//   draw_cursor(x, y);          // the sprite's top-left pixel is the hot spot
#include <algorithm>

#include "app/state/viewer_state.h"
#include "render/render.h"

namespace render {

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
    const app::ViewerState& v = app::viewer;
    for (int32_t y = 584; y <= 599; ++y) fill_run(y, int64_t(v.pane_left) - 4, int64_t(v.pane_right) - 3, 0xFFFFFF);
    for (int32_t y = 585; y <= 598; ++y) fill_run(y, int64_t(v.pane_left) - 2, int64_t(v.pane_right) - 5, 0x001122);
}

void draw_cursor(int32_t x, int32_t y) {
    const uint32_t* table = app::viewer.cursor_table;
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
