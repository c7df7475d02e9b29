// render_fixture.h: puts the renderer into the state the viewer's start-up
// leaves it in (geometry, decoded picture, palette and font, gradient,
// cursor colours), for the renderer's tests.
//
//   TEST(Glyphs, X) { render_test::start_up(); render_test::clear(0); ... }
#pragma once
#include <cstdint>

#include "app/state/viewer_state.h"
#include "render/render.h"

namespace render_test {

inline void start_up() {
    static bool done = false;
    if (done) return;
    done = true;
    render::rewind_cursor_codes();
    app::set_cursor_colours();
    render::rewind_cursor_codes();
    app::set_fixed_geometry();
    app::decode_background();
    render::build_row_gradient();
    render::prepare_palette_and_font();
}

inline void clear(uint32_t colour) {
    for (uint32_t& p : render::Framebuffer) p = colour;
}
inline uint32_t& at(int x, int y) { return render::Framebuffer[y * render::frame_width + x]; }

}  // namespace render_test
