// viewer.h: the viewer's procedures. viewer_main is the program: start-up,
// the frame loop and shutdown; the others are its per-frame steps and the
// page table they work on.
#pragma once
#include <cstdint>

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
void draw_ticker();

}  // namespace app

// The built-in music module (data/).
extern const unsigned char builtin_module[];
extern const unsigned int builtin_module_size;
