// render_fixture.h: puts the renderer into the state the viewer's start-up
// leaves it in (geometry, decoded picture, palette and font, gradient,
// cursor colours), for the renderer's tests.
//
//   TEST(Glyphs, X) { render_test::start_up(); render_test::clear(0); ... }
#pragma once
#include <cstdint>
#include <vector>

#include "app/state/viewer_state.h"
#include "render/layout.h"
#include "render/render.h"

namespace render_test {

inline uint32_t cursor_colour(int32_t code) {
    return code == 1 ? 0xFFFFFF : code == 2 ? 0x111111 : code == 3 ? 0x777777 : 0;
}

inline void start_up() {
    static bool done = false;
    if (done) return;
    done = true;
    app::ViewerState& v = app::viewer;
    render::rewind_cursor_codes();
    for (int i = 0; i < 197; ++i) v.cursor_table[i] = cursor_colour(render::read_cursor_code());
    render::cursor_table = v.cursor_table;
    render::rewind_cursor_codes();
    v.ticker_left = layout::ticker_left;
    v.ticker_right = layout::ticker_right;
    v.pane_left = layout::pane_left;
    v.pane_right = layout::pane_right;
    v.pane_top = layout::pane_top;
    v.pane_bottom = layout::pane_bottom;
    static std::vector<uint32_t> background(size_t(render::background_width) * render::background_height + 1, 0);
    render::background_pixels = background.data();
    render::decode_background();
    render::build_row_gradient();
    render::prepare_palette_and_font();
}

inline void clear(uint32_t colour) {
    for (uint32_t& p : render::Framebuffer) p = colour;
}
inline uint32_t& at(int x, int y) { return render::Framebuffer[y * render::frame_width + x]; }

}  // namespace render_test
