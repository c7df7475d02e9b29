// render.h: the software renderer. Every frame is drawn from scratch into the
// one 800 x 600 Framebuffer of 0x00RRGGBB words by a handful of primitives,
// each with its own clip window, from tables built once at start-up:
//
//   start-up:  decode_background(); build_row_gradient(); prepare_palette_and_font();
//   per frame: draw_background(0, 0); draw_pane_text(...); blend_triangle(...);
//              draw_ticker_bar(); ...ticker glyphs...; draw_cursor(x, y);
//
// The pane's bounds are render/layout.h's, the constants the background
// picture is painted from; the cursor colours are handed over at start-up
// (cursor_table). The renderer includes nothing of the viewer. Nothing here
// allocates while drawing.
#pragma once
#include <cstdint>

namespace render {

constexpr int32_t frame_width = 800;
constexpr int32_t frame_height = 600;
constexpr int32_t background_width = 800;
constexpr int32_t background_height = 600;

// The frame: pixel (x, y) is element y * 800 + x. All zero before the first frame.
extern uint32_t Framebuffer[frame_width * frame_height];

// --- built-in assets and their prepared forms ---
extern uint32_t* background_pixels;  // 800 x 600 + 1 entries, allocated by the viewer at start-up
extern uint32_t palette_colours[256];
extern uint32_t font_atlas[12 * 2048];
extern uint32_t row_gradient[601];

void decode_background();                      // fills background_pixels from the built-in picture
void draw_background(int32_t x0, int32_t y0);  // copies the picture into the Framebuffer
void prepare_palette_and_font();               // fills palette_colours and font_atlas
// The built-in cursor codes, one per call, row by row; a read after the last yields 0.
int32_t read_cursor_code();
// Starts the cursor codes over from the first (for tests and tools).
void rewind_cursor_codes();

// --- glyphs ---
// First atlas column of the glyph cell of a character code (0..255).
inline int32_t glyph_cell_column(uint32_t code) { return (code < 32 ? 0 : int32_t(code) - 32) * 9; }
// Whether cell pixel (k, r) of the cell starting at atlas column `column` is ink.
inline bool glyph_ink(int32_t column, int32_t k, int32_t r) {
    return palette_colours[font_atlas[r * 2048 + column + k] & 255] != 0;
}
// The ink of cell row r (0..11) as 9 bits, bit k = glyph_ink(column, k, r):
// from the table prepare_palette_and_font builds when the column is a
// glyph's first, else tested pixel by pixel. For loops that draw many cells.
uint32_t glyph_row_mask(int32_t column, int32_t r);
void build_row_gradient();
// Draws `length` bytes (up to a zero byte) from (x, y), 9 pixels apart, with the
// row gradient, clipped to the pane.
void draw_pane_text(int32_t x, int32_t y, const uint8_t* text, int32_t length);
void draw_pane_glyph(int32_t x, int32_t y, int32_t cell_column);

// --- primitives ---
// Translucent triangle: colour is 0xAARRGGBB with the blend weight in the top byte.
void blend_triangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, uint32_t colour);
// One pixel of the blend: each channel (s * a + d * (256 - a)) >> 8, alpha 0..255.
uint32_t blend_colour(uint32_t dst, uint32_t src, uint32_t alpha);
// Nearest integer, exact halves to the even neighbour (values beyond +-1e9 clamp there).
int64_t round_half_even(double v);
void draw_ticker_bar();
// The cursor sprite's colours: 197 entries, 14 per sprite row, 0 transparent.
// The viewer points this at its table at start-up; while it is null
// draw_cursor draws nothing.
extern const uint32_t* cursor_table;
void draw_cursor(int32_t x, int32_t y);

}  // namespace render
