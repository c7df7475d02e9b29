// navigation.cpp: the page rows in the pane and the keyboard: Home and End,
// the function keys and the chosen menu item, the music switch and the
// scroll motion. Both run once per frame from the frame loop: draw_page_rows
// before the mouse handlers, handle_keyboard after them, so it carries out
// this frame's menu choice and scroll-arrow request.
//
// Scroll motion: while Up (or the up arrow) is held the speed falls by one
// pixel per frame to -7 and the rows move up by it; Down mirrors that to +7.
// A frame without either lets the speed decay towards zero without moving
// the text. Moving up stops with top_row at page_length - 34; End jumps to
// page_length - 33 instead.
#include "app/pages.h"
#include "app/state/viewer_state.h"
#include "app/viewer.h"
#include "music/player.h"
#include "platform/keys.h"
#include "render/render.h"

namespace app {

namespace {

constexpr int32_t row_height = 12;
constexpr int32_t row_slots = 36;
constexpr int32_t max_speed = 7;
constexpr int32_t music_lock_frames = 40;
constexpr int32_t end_rows = 33;     // End puts the last row in slot 32
constexpr int32_t scroll_rows = 34;  // scrolling up stops one row later

// One query per key per frame: down now, or pressed since the last query.
bool key_pressed(int virtual_key) { return platform::get_async_key_state(virtual_key) != 0; }

void switch_music() {
    ViewerState& v = viewer;
    if (v.music_off == 1 && v.music_toggle_wait <= 0) {
        v.music_off = 0;
        music::player_start(builtin_module, v.module_size, 1);  // from the module's start
        v.music_toggle_wait = music_lock_frames;
    }
    if (v.music_off == 0 && v.music_toggle_wait <= 0) {
        v.music_off = 1;
        music::player_start(nullptr, 0, 0);
        v.music_toggle_wait = music_lock_frames;
    }
}

void scroll_up() {
    ViewerState& v = viewer;
    if (v.top_row < v.page_length - scroll_rows && v.scroll_velocity > -max_speed) v.scroll_velocity -= 1;
    if (v.row_offset >= 0 && v.scroll_velocity < 0) v.row_offset += v.scroll_velocity;
    if (v.row_offset < 0 && v.top_row < v.page_length - scroll_rows) {
        v.top_row += 1;
        v.row_offset += row_height;
    }
}

void scroll_down() {
    ViewerState& v = viewer;
    if (v.top_row >= v.top_row_min && v.scroll_velocity < max_speed) v.scroll_velocity += 1;
    if (v.row_offset <= row_height && v.scroll_velocity > 0) v.row_offset += v.scroll_velocity;
    if (v.row_offset > row_height && v.top_row > v.top_row_min) {
        v.top_row -= 1;
        v.row_offset -= row_height;
    }
}

}  // namespace

void draw_page_rows() {
    const ViewerState& v = viewer;
    for (int32_t i = 0; i < row_slots; ++i) {
        int32_t row = v.top_row + i;
        if (row >= v.page_length) continue;
        if (row < 0 || row >= current_page_rows) continue;
        const Text& t = CurrentPage[row];
        render::draw_pane_text(v.pane_left - 2, v.pane_top + v.row_offset + row_height * i - row_height, t.bytes,
                               t.length);
    }
}

void handle_keyboard() {
    ViewerState& v = viewer;

    if (key_pressed(platform::VK_HOME)) v.top_row = 0;
    if (key_pressed(platform::VK_END)) {
        v.top_row = v.page_length - end_rows;
        if (v.top_row < 0) v.top_row = 0;
    }

    // Function keys: the highest held wins, over any menu click of this frame.
    for (int32_t n = 1; n <= page_count; ++n)
        if (key_pressed(platform::VK_F1 + n - 1)) v.menu_choice = n;

    bool f11 = key_pressed(platform::VK_F11);
    if (f11 || v.menu_choice == 11) switch_music();

    if (v.menu_choice >= 1 && v.menu_choice <= page_count) select_page(v.menu_choice);

    bool up = key_pressed(platform::VK_UP) || v.scroll_request == 1;
    if (up) scroll_up();
    bool down = key_pressed(platform::VK_DOWN) || v.scroll_request == -1;
    if (down) scroll_down();

    if (!up && !down) {
        if (v.scroll_velocity < 0) v.scroll_velocity += 1;
        if (v.scroll_velocity > 0) v.scroll_velocity -= 1;
    }
}

}  // namespace app
