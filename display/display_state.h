// display_state.h: the display library's one state record, and its window
// procedure. Internal to display/ (and its tests).
#pragma once
#include <cstdint>

#include "display/convert.h"
#include "platform/surfaces.h"
#include "platform/window.h"

namespace display {

struct DisplayState {
    platform::Library* library = nullptr;
    platform::DirectDraw* direct_draw = nullptr;
    platform::Surface* primary = nullptr;
    platform::Surface* offscreen = nullptr;
    platform::Clipper* clipper = nullptr;
    platform::Surface* drawing_surface = nullptr;
    platform::Window* window = nullptr;
    int32_t width = 0, height = 0;
    RowConverter converter = nullptr;
    int32_t windowed = 1;
    int32_t flip_wait = 1;
    uint8_t close_allowed = 1;
    uint8_t ask = 0;
    const char* question = nullptr;
    uint8_t borderless = 0;
    int32_t active = 0;
    int32_t mouse_x = 0, mouse_y = 0;
    int32_t mouse_left = 0, mouse_right = 0;
};

extern DisplayState display_state;

intptr_t display_window_proc(platform::Window* window, uint32_t message, uintptr_t wparam, intptr_t lparam);
void display_blit_window();

}  // namespace display
