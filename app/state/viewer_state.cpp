// viewer_state.cpp: the one ViewerState of the program and the start-up steps
// that fill its fixed parts.
#include "app/state/viewer_state.h"

#include <vector>

#include "render/render.h"

namespace app {

ViewerState viewer;

namespace {
uint32_t cursor_colour(int32_t code) {
    switch (code) {
        case 1: return 0xFFFFFF;
        case 2: return 0x111111;
        case 3: return 0x777777;
        default: return 0;
    }
}
}  // namespace

void set_cursor_colours() {
    for (uint32_t& c : viewer.cursor_table) c = cursor_colour(render::read_cursor_code());
    render::cursor_table = viewer.cursor_table;
}

void set_fixed_geometry() {
    ViewerState& v = viewer;
    v.ticker_left = layout::ticker_left;
    v.ticker_right = layout::ticker_right;
    v.pane_left = layout::pane_left;
    v.pane_right = layout::pane_right;
    v.pane_top = layout::pane_top;
    v.pane_bottom = layout::pane_bottom;
}

void decode_background() {
    static std::vector<uint32_t> background(size_t(render::background_width) * render::background_height + 1, 0);
    render::background_pixels = background.data();
    render::decode_background();
}

}  // namespace app
