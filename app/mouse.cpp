// mouse.cpp: the menu and the three buttons (quit cross, down and up arrow).
// Both handlers are stateless: a hot spot under the pointer gets its hover
// box, and while the left button is down over it its request is made for
// this frame (menu_choice, quit_requested, scroll_request), to be carried
// out by handle_keyboard later in the frame or by the next exit test.
//
// The hot spots, their hover boxes and the highlight colour come from
// render/layout.h, the numbers the picture's buttons are painted from.
// Button hot spots are half-open rectangles (right and bottom excluded); a
// menu row spans menu_row_top .. menu_row_top + menu_row_height inclusive.
#include "app/state/viewer_state.h"
#include "app/viewer.h"
#include "render/layout.h"
#include "render/render.h"

namespace app {

namespace {

// A hover box: two triangles sharing the diagonal from top left to bottom right.
void highlight(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    render::blend_triangle(x0, y0, x1, y0, x1, y1, layout::highlight_colour);
    render::blend_triangle(x0, y0, x0, y1, x1, y1, layout::highlight_colour);
}

struct Button {
    layout::Spot spot;
    int32_t box_x1, box_y1;  // hover box from the spot's top-left corner to here
    int32_t* request;
    int32_t value;
};

// The first column and row past a spot; an arrow's hover box ends there.
constexpr int32_t right_of(const layout::Spot& s) { return s.x + s.width; }
constexpr int32_t below(const layout::Spot& s) { return s.y + s.height; }

}  // namespace

void handle_menu() {
    ViewerState& v = viewer;
    int32_t x = v.pointer_x, y = v.pointer_y;
    if (!(v.menu_left < x && x < v.menu_left + v.menu_width)) return;

    int32_t chosen = 0;
    for (int32_t k = 1; k <= layout::menu_rows; ++k) {
        int32_t top = v.menu_row_top[k];
        if (top <= y && y <= top + v.menu_row_height) {
            highlight(v.menu_left, top, v.menu_left + v.menu_width, top + v.menu_row_height);
            chosen = k;
        }
    }
    if (v.pointer_left == 1) v.menu_choice = chosen;
}

void handle_buttons() {
    using namespace layout;
    ViewerState& v = viewer;
    const Button buttons[3] = {
        {quit_spot, quit_highlight_right, quit_highlight_bottom, &v.quit_requested, 1},
        {down_arrow, right_of(down_arrow), below(down_arrow), &v.scroll_request, -1},
        {up_arrow, right_of(up_arrow), below(up_arrow), &v.scroll_request, 1},
    };
    for (const Button& b : buttons) {
        if (!inside(b.spot, v.pointer_x, v.pointer_y)) continue;
        highlight(b.spot.x, b.spot.y, b.box_x1, b.box_y1);
        if (v.pointer_left == 1) *b.request = b.value;
    }
}

}  // namespace app
