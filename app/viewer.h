// viewer.h: the viewer's procedures. viewer_main is the program: start-up,
// the frame loop and shutdown; the others are its per-frame steps and the
// page table they work on.
#pragma once
#include <cstdint>

#include "app/text.h"

namespace app {

// Runs the viewer and returns its exit code: 0 after Escape or the quit mark,
// -1 when the display cannot be opened.
int viewer_run();
// The program's entry: viewer_run, then ends the process with its code.
[[noreturn]] void viewer_main();

// Pages (page table and selection).
void build_page_table();
void select_page(int32_t page);

// Keyboard navigation and scroll motion.
void draw_page_rows();
void handle_keyboard();

// Mouse controls.
void handle_menu();
void handle_buttons();

// Message ticker.
void queue_ticker_messages();  // start-up: 101 spaces, then the built-in messages
void draw_ticker();            // per frame: draws the window and moves it on
// Draws text from (x, y), 8 pixels per character, hiding the tags and
// following the colour tags.
void draw_ticker_text(int32_t x, int32_t y, Text text);
// One glyph cell (first atlas column) in ticker_draw_colour, clipped to the
// ticker's columns.
void draw_ticker_glyph(int32_t x, int32_t y, int32_t cell_column);
// Whether a colour tag starts at 1-based `position` of t; sets *colour if so.
bool ticker_tag_colour(Text t, int32_t position, uint32_t* colour);

}  // namespace app

// The built-in music module (data/).
extern const unsigned char builtin_module[];
extern const unsigned int builtin_module_size;
