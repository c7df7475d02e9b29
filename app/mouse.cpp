// mouse.cpp: the menu and the three buttons (quit cross, down and up arrow).
// Both handlers are stateless: a hot spot under the pointer gets its hover
// box, and while the left button is down over it its request is made for
// this frame (menu_choice, quit_requested, scroll_request), to be carried
// out by handle_keyboard later in the frame or by the next exit test.
//
// Button hot spots are half-open rectangles (right and bottom excluded); a
// menu row spans menu_row_top .. menu_row_top + menu_row_height inclusive.
#include "app/state/viewer_state.h"
#include "app/viewer.h"
#include "render/render.h"

namespace app {

namespace {

constexpr uint32_t highlight_colour = 0x6E1E3CF0;  // weight 110 of 256 over 0x1E3CF0

// A hover box: two triangles sharing the diagonal from top left to bottom right.
void highlight(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    render::blend_triangle(x0, y0, x1, y0, x1, y1, highlight_colour);
    render::blend_triangle(x0, y0, x0, y1, x1, y1, highlight_colour);
}

struct Button {
    int32_t left, top, right, bottom;      // hot spot, half-open
    int32_t box_x0, box_y0, box_x1, box_y1;  // hover box corners
    int32_t* request;
    int32_t value;
};

}  // namespace

void handle_menu() {
    ViewerState& v = viewer;
    int32_t x = v.pointer_x, y = v.pointer_y;
    if (!(v.menu_left < x && x < v.menu_left + v.menu_width)) return;

    int32_t chosen = 0;
    for (int32_t k = 1; k <= 11; ++k) {
        int32_t top = v.menu_row_top[k];
        if (top <= y && y <= top + v.menu_row_height) {
            highlight(v.menu_left, top, v.menu_left + v.menu_width, top + v.menu_row_height);
            chosen = k;
        }
    }
    if (v.pointer_left == 1) v.menu_choice = chosen;
}

void handle_buttons() {
    ViewerState& v = viewer;
    const Button buttons[3] = {
        {0, 0, 10, 10, 0, 0, 12, 8, &v.quit_requested, 1},
        {712, 182, 729, 198, 712, 182, 729, 198, &v.scroll_request, -1},
        {739, 182, 756, 198, 739, 182, 756, 198, &v.scroll_request, 1},
    };
    for (const Button& b : buttons) {
        if (v.pointer_x < b.left || v.pointer_x >= b.right || v.pointer_y < b.top || v.pointer_y >= b.bottom) continue;
        highlight(b.box_x0, b.box_y0, b.box_x1, b.box_y1);
        if (v.pointer_left == 1) *b.request = b.value;
    }
}

}  // namespace app
