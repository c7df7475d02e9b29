// present.cpp: how the SDL back end puts a surface's texture on the window.
//
// - Scaling keeps every frame pixel a sharp block (scale.h): nearest-neighbour
//   to the largest whole factor that fits, then one linear pass for the
//   remaining fraction into the final rectangle, black bars around it. With
//   QUILLON_INTEGER_SCALE=1 the fraction is left out: exact blocks, wider
//   bars. The same rule serves a window on a high-density screen, whose
//   800 x 600 coordinates cover 1600 x 1200 pixels or more.
// - The present waits for the retrace only where that gives 60 frames a
//   second (a display refreshing at 59 to 61 Hz) and the caller asks to
//   wait; everywhere else pace_frame's deadline sleep sets the rate.
// - A window at one pixel per coordinate in the desktop's own format skips
//   all of that: the frame is converted straight into the window's pixels
//   and shown from there (the cheapest way on a plain desktop).
// - Pointer positions from SDL's events are in window coordinates;
//   present_frame_point turns them into frame pixels with the placement the
//   window's present uses.
#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "platform/sdl/beat.h"
#include "platform/sdl/hooks.h"
#include "platform/sdl/present.h"
#include "platform/sdl/scale.h"

namespace platform::sdl {

namespace {

struct PresentState {
    SDL_Window* window;
    SDL_Renderer* renderer;
    bool retrace_60;  // the display refreshes at 60 Hz: waiting for its retrace is the beat
    bool vsync_on;    // the renderer's present waits for the retrace now
    SDL_Texture* target;  // the whole-factor stage, when a fraction remains
    int target_w, target_h;
    int frame_w, frame_h;  // of the surfaces' textures
};

PresentState& pr() {
    static PresentState s{};
    return s;
}

bool integer_only() {
    const char* v = std::getenv("QUILLON_INTEGER_SCALE");
    return v && v[0] && std::strcmp(v, "0") != 0;
}

void set_vsync(bool on) {
    PresentState& s = pr();
    if (s.vsync_on == on) return;
    if (SDL_RenderSetVSync(s.renderer, on ? 1 : 0) == 0) s.vsync_on = on;
}

// The stage texture of factor * frame size, made anew when the factor changes.
SDL_Texture* stage(int w, int h) {
    PresentState& s = pr();
    if (s.target && s.target_w == w && s.target_h == h) return s.target;
    if (s.target) SDL_DestroyTexture(s.target);
    s.target = SDL_CreateTexture(s.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_TARGET, w, h);
    s.target_w = w;
    s.target_h = h;
    if (s.target) SDL_SetTextureScaleMode(s.target, SDL_ScaleModeLinear);
    return s.target;
}

}  // namespace

SDL_Renderer* present_open(SDL_Window* window) {
    PresentState& s = pr();
    if (s.renderer) return s.renderer;
    s = PresentState{};
    s.window = window;
    SDL_DisplayMode mode{};
    int display = SDL_GetWindowDisplayIndex(window);
    s.retrace_60 = SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) == 0 && retrace_gives_60(mode.refresh_rate);
    uint32_t flags = SDL_RENDERER_ACCELERATED | (s.retrace_60 ? SDL_RENDERER_PRESENTVSYNC : 0);
    s.renderer = SDL_CreateRenderer(window, -1, flags);
    if (!s.renderer) s.renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!s.renderer) return nullptr;
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(s.renderer, &info);
    s.vsync_on = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;

    return s.renderer;
}

void present_close() {
    PresentState& s = pr();
    if (s.target) SDL_DestroyTexture(s.target);
    if (s.renderer) SDL_DestroyRenderer(s.renderer);
    s = PresentState{};
}

void present_texture(SDL_Texture* frame, int frame_w, int frame_h, bool wait) {
    PresentState& s = pr();
    if (!s.renderer || !frame) return;
    int out_w = frame_w, out_h = frame_h;
    SDL_GetRendererOutputSize(s.renderer, &out_w, &out_h);
    Placement p = place_frame(out_w, out_h, frame_w, frame_h, integer_only());

    SDL_SetRenderTarget(s.renderer, nullptr);
    SDL_SetRenderDrawColor(s.renderer, 0, 0, 0, 255);
    SDL_RenderClear(s.renderer);
    SDL_Rect dest{p.x, p.y, p.w, p.h};
    int whole_w = frame_w * p.factor, whole_h = frame_h * p.factor;
    if (p.w == whole_w && p.h == whole_h) {  // whole blocks only
        SDL_SetTextureScaleMode(frame, SDL_ScaleModeNearest);
        SDL_RenderCopy(s.renderer, frame, nullptr, &dest);
    } else if (p.factor == 1) {  // only a fraction: one linear pass
        SDL_SetTextureScaleMode(frame, SDL_ScaleModeLinear);
        SDL_RenderCopy(s.renderer, frame, nullptr, &dest);
    } else if (SDL_Texture* t = stage(whole_w, whole_h)) {
        SDL_SetTextureScaleMode(frame, SDL_ScaleModeNearest);
        SDL_SetRenderTarget(s.renderer, t);
        SDL_RenderCopy(s.renderer, frame, nullptr, nullptr);
        SDL_SetRenderTarget(s.renderer, nullptr);
        SDL_RenderCopy(s.renderer, t, nullptr, &dest);
    } else {  // no render targets: linear all the way
        SDL_SetTextureScaleMode(frame, SDL_ScaleModeLinear);
        SDL_RenderCopy(s.renderer, frame, nullptr, &dest);
    }
    bool retrace = wait && s.retrace_60;
    set_vsync(retrace);
    SDL_RenderPresent(s.renderer);
    if (retrace && s.vsync_on) pacing_note_retrace_present();
}

void present_set_frame_size(int frame_w, int frame_h) {
    pr().frame_w = frame_w;
    pr().frame_h = frame_h;
}

void present_frame_point(int x, int y, int* fx, int* fy) {
    PresentState& s = pr();
    if (!s.renderer || s.frame_w <= 0) {
        *fx = x;
        *fy = y;
        return;
    }
    int win_w = 0, win_h = 0, out_w = 0, out_h = 0;
    SDL_GetWindowSize(s.window, &win_w, &win_h);
    SDL_GetRendererOutputSize(s.renderer, &out_w, &out_h);
    Placement p = place_frame(out_w, out_h, s.frame_w, s.frame_h, integer_only());
    frame_point(p, s.frame_w, s.frame_h, win_w, win_h, out_w, out_h, x, y, fx, fy);
}

bool present_direct_fits(SDL_Window* window, uint32_t format) {
    int w = 0, h = 0, pw = 0, ph = 0;
    SDL_GetWindowSize(window, &w, &h);
    SDL_GetWindowSizeInPixels(window, &pw, &ph);
    // Only 32-bit desktops: on a 16-bit one SDL's window pixels are 32-bit
    // all the same, converted by the server.
    return w == pw && h == ph && SDL_GetWindowPixelFormat(window) == format && SDL_BYTESPERPIXEL(format) == 4;
}

bool present_direct_lock(SDL_Window* window, uint32_t format, int w, int h, void** pixels, int* pitch) {
    // The window system's own shared-memory image, not one that SDL draws
    // through an OpenGL renderer behind the scenes (three times the work).
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_Surface* s = SDL_GetWindowSurface(window);
    if (!s || s->w != w || s->h != h || s->format->format != format) return false;
    *pixels = s->pixels;
    *pitch = s->pitch;
    return true;
}

void present_direct(SDL_Window* window) { SDL_UpdateWindowSurface(window); }

}  // namespace platform::sdl
