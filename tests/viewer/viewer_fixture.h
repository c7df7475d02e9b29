// viewer_fixture.h: helpers for the viewer's tests: a fresh ViewerState with
// the start-up geometry, pages of a chosen length placed straight into the
// PageTable, and one frame of the loop's input steps on the scripted back end.
//
//   viewer_test::fresh();
//   viewer_test::make_page(3, 35);  app::select_page(3);
//   viewer_test::frame({platform::VK_UP});   // Up held in this frame
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/pages.h"
#include "app/state/viewer_state.h"
#include "app/viewer.h"
#include "platform/scripted.h"
#include "platform/window.h"
#include "render/render.h"

namespace viewer_test {

// The geometry and scroll state as start-up step 4 leaves them, and an empty
// page table with the menu rows set.
inline void fresh() {
    platform::script::reset();
    app::viewer = app::ViewerState{};
    app::ViewerState& v = app::viewer;
    v.ticker_left = 44;
    v.ticker_right = 765;
    v.pane_left = 44;
    v.pane_right = 762;
    v.pane_top = 185;
    v.pane_bottom = 579;
    v.page_length = 1;
    v.module_size = 65853;
    for (app::Text& t : app::PageTable) t = app::Text{};
    for (app::Text& t : app::CurrentPage) t = app::Text{};
    app::build_page_table();
    for (app::Text& t : app::PageTable) t = app::Text{};
}

// Column `page` gets `rows` lines ("row 0", "row 1", ...) and its marker.
inline void make_page(int32_t page, int32_t rows) {
    static std::vector<std::string> names;
    if (names.size() < 5000)
        for (int i = int(names.size()); i < 5000; ++i) names.push_back("row " + std::to_string(i));
    for (int32_t r = 0; r < rows; ++r)
        app::page_cell(r, page) = app::text_of(reinterpret_cast<const uint8_t*>(names[size_t(r)].data()),
                                               int32_t(names[size_t(r)].size()));
    app::page_cell(rows, page) = app::page_end_marker();
}

// Starts the next scripted frame: its key state takes effect.
inline void pump() {
    platform::Message m;
    while (platform::peek_message(&m, nullptr, 0, 0, platform::PM_REMOVE)) {
    }
}

// One frame of the loop as the keyboard sees it: the given keys are held in
// this frame, the per-frame requests are cleared and the music lock counts
// down, the mouse handlers' requests are applied, then handle_keyboard runs.
inline void frame(std::initializer_list<int> keys, int32_t menu_choice = 0, int32_t scroll_request = 0) {
    int next = platform::script::frame() + 1;
    for (int vk : keys) platform::script::key_down(vk, next, next);
    pump();
    app::ViewerState& v = app::viewer;
    v.menu_choice = 0;
    if (v.music_toggle_wait >= 1) v.music_toggle_wait -= 1;
    v.scroll_request = 0;
    v.quit_requested = 0;
    if (menu_choice) v.menu_choice = menu_choice;
    if (scroll_request) v.scroll_request = scroll_request;
    app::handle_keyboard();
}

inline uint32_t& pixel(int x, int y) { return render::Framebuffer[y * render::frame_width + x]; }
inline void clear_frame(uint32_t colour) {
    for (uint32_t& p : render::Framebuffer) p = colour;
}

}  // namespace viewer_test
