// display.h: the display library. One rectangular surface of a given size,
// full screen or in a window, on which a 32-bit 0x00RRGGBB pixel buffer is
// presented once per frame; the library also reports the mouse.
//
//   display::display_set_close_allowed(0);
//   display::display_set_question(1, "GO FULL SCREEN?", 0, 1);
//   if (!display::display_open("QUILLON", 800, 600)) return -1;
//   for (;;) { ...draw...; display::display_update(pixels); }
//   display::display_close();
//
// Results: 1 on success, 0 on failure; nothing else is reported. Settings take
// effect at the next display_open, except close_allowed and flip_wait, which
// are read at each use. The mouse getters return the state as it stood at the
// end of the last display_update. All calls come from one thread.
#pragma once
#include <cstdint>

namespace display {

// Ask at open whether to go full screen (ask != 0; the answer decides), or
// open as `windowed` says (ask == 0). An empty question shows
// "Fullscreen Mode ?". borderless: a windowed display without caption or frame.
void display_set_question(uint8_t ask, const char* question, int32_t windowed, uint8_t borderless);
// Non-zero: Escape or the window's close request close the display and end
// the process with exit code 0 from inside display_update.
void display_set_close_allowed(uint8_t flag);
// Full screen only: non-zero waits for the vertical retrace at each flip.
void display_set_flip_wait(int32_t flag);

int32_t display_open(const char* title, int32_t width, int32_t height);
// Pumps the window's messages, then presents width x height pixels while the
// application is in the foreground. 0 when the surface could not be locked.
int32_t display_update(const uint32_t* pixels);
void display_close();

int32_t display_mouse_x();
int32_t display_mouse_y();
int32_t display_mouse_left();
int32_t display_mouse_right();

}  // namespace display
