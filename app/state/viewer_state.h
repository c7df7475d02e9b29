// viewer_state.h: ViewerState, the viewer's one global state record: the fixed
// interface geometry, the selected page's scroll state, the per-frame copy of
// the mouse, the one-frame requests, the music switch, the ticker and the
// cursor colours. The geometry fields are set at start-up from render/layout.h,
// the constants the background picture is painted from. Touched by the main
// thread only; nothing in it is ever freed.
#pragma once
#include <cstdint>

#include "app/text.h"
#include "render/layout.h"

namespace app {

struct ViewerState {
    // Fixed geometry (set at start-up, never changed afterwards).
    int32_t pane_left = 0, pane_right = 0, pane_top = 0, pane_bottom = 0;
    int32_t ticker_left = 0, ticker_right = 0;

    // Scroll state of the selected page.
    int32_t top_row = 0;
    int32_t row_offset = 0;
    int32_t page_length = 0;
    int32_t top_row_min = 0;
    int32_t scroll_velocity = 0;

    // The mouse, read once per frame.
    int32_t pointer_x = 0, pointer_y = 0;
    int32_t pointer_left = 0;

    // One-frame requests.
    int32_t quit_requested = 0;
    int32_t menu_choice = 0;
    int32_t scroll_request = 0;

    // The music switch.
    int32_t music_off = 0;
    int32_t music_toggle_wait = 0;

    // Menu geometry; menu_row_top[1..11] is set by build_page_table.
    int32_t menu_left = layout::menu_left, menu_width = layout::menu_width;
    int32_t menu_row_height = layout::menu_row_height;
    int32_t menu_row_top[layout::menu_rows + 1] = {};

    // The message ticker.
    Text ticker_text;  // built once at start-up (queue_ticker_messages)
    int32_t ticker_pos = 0;
    int32_t ticker_x = 0;
    uint32_t ticker_colour = 0xFFFFFF;
    uint32_t ticker_draw_colour = 0xFFFFFF;

    int32_t module_size = 0;
    uint32_t cursor_table[197] = {};
};

extern ViewerState viewer;

// Start-up steps that leave the renderer as the viewer draws with it; the
// tests and benchmarks of the renderer call the same ones.
void set_cursor_colours();   // 197 reads of the cursor codes into cursor_table, published to render::cursor_table
void set_fixed_geometry();   // the pane and ticker fields from render/layout.h
void decode_background();    // the background picture into a buffer of its own, once; never freed

}  // namespace app
