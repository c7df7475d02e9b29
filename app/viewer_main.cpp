// viewer_main.cpp: the program's start-up, frame loop and shutdown, the only
// place where the order of work is decided. Every table is prepared before
// any window exists; each frame is then drawn from scratch and presented.
#include <cstdlib>

#include "app/state/viewer_state.h"
#include "app/viewer.h"
#include "display/display.h"
#include "music/player.h"
#include "platform/keys.h"
#include "platform/window.h"
#include "render/render.h"

namespace app {

namespace {

void start_music() { music::player_start(builtin_module, viewer.module_size, 1); }

}  // namespace

int viewer_run() {
    ViewerState& v = viewer;

    // 2. The built-in module's size.
    v.module_size = int32_t(builtin_module_size);

    // 3. Cursor colours: 197 reads of the cursor codes, the last past the end.
    set_cursor_colours();

    // 4. Fixed geometry (the numbers the background picture is painted from)
    // and scroll state.
    set_fixed_geometry();
    v.scroll_velocity = 0;
    v.row_offset = 0;
    v.top_row = 0;
    v.page_length = 1;
    v.top_row_min = 0;

    // 5. The background picture, decoded once; never freed.
    decode_background();

    // 6 to 9.
    build_page_table();
    render::build_row_gradient();
    queue_ticker_messages();
    render::prepare_palette_and_font();

    // 10 to 12: the display. Only this loop ends the program.
    display::display_set_close_allowed(0);
    display::display_set_question(1, "GO FULL SCREEN?", 0, 1);
    if (!display::display_open("QUILLON", 800, 600)) return -1;

    // 13 to 15.
    platform::show_cursor(0);
    start_music();
    select_page(1);

    // The frame loop.
    for (;;) {
        if (platform::get_async_key_state(platform::VK_ESCAPE) == 0x8001 || v.quit_requested != 0) break;
        v.menu_choice = 0;
        if (v.music_toggle_wait >= 1) v.music_toggle_wait -= 1;
        v.scroll_request = 0;
        v.quit_requested = 0;
        render::draw_background(0, 0);
        v.pointer_x = display::display_mouse_x();
        v.pointer_y = display::display_mouse_y();
        v.pointer_left = display::display_mouse_left();
        draw_page_rows();
        handle_menu();
        handle_buttons();
        render::draw_ticker_bar();
        draw_ticker();
        handle_keyboard();
        render::draw_cursor(v.pointer_x, v.pointer_y);
        display::display_update(render::Framebuffer);
    }

    // Exit path.
    music::player_start(nullptr, 0, 0);
    display::display_close();
    return 0;
}

void viewer_main() { std::exit(viewer_run()); }

}  // namespace app
