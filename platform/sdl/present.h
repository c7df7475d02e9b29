// present.h: the SDL back end's presentation (present.cpp). Not for use
// outside platform/sdl.
#pragma once
#include <SDL.h>

namespace platform::sdl {

// The window's renderer, made once; null when none can be made.
SDL_Renderer* present_open(SDL_Window* window);
void present_close();
// Shows a frame_w x frame_h texture on the whole window, scaled crisply;
// `wait`: the caller allows waiting for the retrace.
void present_texture(SDL_Texture* frame, int frame_w, int frame_h, bool wait);
// The size of the frames the surfaces hold (the textures' size).
void present_set_frame_size(int frame_w, int frame_h);
// A pointer position in window coordinates as a frame pixel; unchanged
// before any surface exists.
void present_frame_point(int x, int y, int* fx, int* fy);

// A window whose pixels are its coordinates (no high density) and whose own
// 32-bit format is `format` takes the frame straight into its pixels: no
// texture, no renderer, one copy less. present_direct_lock gives them (false
// when they are not w x h in that format), present_direct shows them.
bool present_direct_fits(SDL_Window* window, uint32_t format);
bool present_direct_lock(SDL_Window* window, uint32_t format, int w, int h, void** pixels, int* pitch);
void present_direct(SDL_Window* window);

}  // namespace platform::sdl
