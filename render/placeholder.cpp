// placeholder.cpp: stand-ins for the renderer's drawing until the real ones
// land; they draw nothing.
#include "render/render.h"

namespace render {
uint32_t* background_pixels = nullptr;
uint32_t palette_colours[256];
uint32_t font_atlas[12 * 2048];
uint32_t row_gradient[601];

void decode_background() {}
void draw_background(int32_t, int32_t) {}
void prepare_palette_and_font() {}
int32_t read_cursor_code() { return 0; }
void build_row_gradient() {}
void draw_pane_text(int32_t, int32_t, const uint8_t*, int32_t) {}
void draw_pane_glyph(int32_t, int32_t, int32_t) {}
void blend_triangle(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t) {}
void draw_ticker_bar() {}
void draw_cursor(int32_t, int32_t) {}
}  // namespace render
