// surfaces.cpp: DirectDraw-style presentation on SDL2.
//
// - "ddraw.dll" loads when SDL's video subsystem starts; with no display
//   reachable it fails and so does the display library's open.
// - The full-screen mode does not change the monitor's mode: the window
//   covers the desktop and the frame is scaled to fill it with its aspect
//   ratio kept (black bars).
// - Surfaces are one streaming texture each (the back buffer, or the
//   offscreen surface of a window); a flip or a blit to the primary surface
//   copies that texture to the window and presents it, with vertical sync.
// - The pixel format of the surfaces is the desktop's when it is one of the
//   eight layouts the converters serve, else 0x00RRGGBB in 32 bits. Setting
//   QUILLON_PIXEL_LAYOUT to xrgb8888, xbgr8888, rgb888, bgr888, rgb565,
//   bgr565, rgb555 or bgr555 forces one, so every converter can be seen for
//   real.
#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/sdl/sdl_state.h"
#include "platform/surfaces.h"

namespace platform {

using sdl::st;
using sdl::SdlState;

namespace {

// The layout the surfaces take: forced, the desktop's, or 0x00RRGGBB.
uint32_t surface_format(SDL_Window* w, uint32_t bits) {
    static const struct {
        const char* name;
        uint32_t format;
    } layouts[] = {
        {"xrgb8888", SDL_PIXELFORMAT_RGB888}, {"xbgr8888", SDL_PIXELFORMAT_BGR888},
        {"rgb888", SDL_PIXELFORMAT_BGR24},    {"bgr888", SDL_PIXELFORMAT_RGB24},
        {"rgb565", SDL_PIXELFORMAT_RGB565},   {"bgr565", SDL_PIXELFORMAT_BGR565},
        {"rgb555", SDL_PIXELFORMAT_RGB555},   {"bgr555", SDL_PIXELFORMAT_BGR555},
    };
    if (const char* forced = std::getenv("QUILLON_PIXEL_LAYOUT")) {
        for (const auto& l : layouts)
            if (std::strcmp(forced, l.name) == 0) return l.format;
    }
    if (bits == 24) return SDL_PIXELFORMAT_BGR24;
    if (bits == 16) return SDL_PIXELFORMAT_RGB565;
    uint32_t desktop = w ? SDL_GetWindowPixelFormat(w) : uint32_t(SDL_PIXELFORMAT_UNKNOWN);
    for (const auto& l : layouts)
        if (l.format == desktop) return desktop;
    return SDL_PIXELFORMAT_RGB888;
}

bool make_renderer(Window* w) {
    SdlState& s = st();
    if (s.renderer) return true;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    s.renderer = SDL_CreateRenderer(w->sdl, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (!s.renderer) s.renderer = SDL_CreateRenderer(w->sdl, -1, SDL_RENDERER_SOFTWARE);
    return s.renderer != nullptr;
}

bool make_texture(Surface* surf, uint32_t width, uint32_t height, uint32_t format) {
    SdlState& s = st();
    surf->texture = SDL_CreateTexture(s.renderer, format, SDL_TEXTUREACCESS_STREAMING, int(width), int(height));
    if (!surf->texture) return false;
    surf->width = width;
    surf->height = height;
    surf->format = format;
    SDL_RenderSetLogicalSize(s.renderer, int(width), int(height));
    return true;
}

void show_texture(Surface* source) {
    SdlState& s = st();
    if (!s.renderer || !source || !source->texture) return;
    SDL_SetRenderDrawColor(s.renderer, 0, 0, 0, 255);
    SDL_RenderClear(s.renderer);
    SDL_RenderCopy(s.renderer, source->texture, nullptr, nullptr);
    SDL_RenderPresent(s.renderer);
}

}  // namespace

// --- DirectDraw ---

static int32_t direct_draw_create(void*, DirectDraw** out, void*) {
    st().dd = DirectDraw{};
    *out = &st().dd;
    return 0;
}

Library* load_library(const char*) {
    SdlState& s = st();
    // Only a real display counts: SDL would otherwise fall back to its
    // invisible offscreen driver. X11 and Wayland are tried only
    // when the environment names them.
    if (!std::getenv("SDL_VIDEODRIVER")) {
        std::string drivers;
        if (std::getenv("DISPLAY")) drivers += "x11,";
        if (std::getenv("WAYLAND_DISPLAY")) drivers += "wayland,";
        drivers += "KMSDRM";
        SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
    }
    // Signals keep their usual meaning: a terminated viewer ends, it does not
    // receive them as the window's close request.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
    s.library_loaded = true;
    return &s.library;
}

void* get_proc_address(Library* library, const char* name) {
    if (!library || std::strcmp(name, "DirectDrawCreate") != 0) return nullptr;
    return reinterpret_cast<void*>(&direct_draw_create);
}

int free_library(Library* library) {
    SdlState& s = st();
    if (library != &s.library || !s.library_loaded) return 0;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    s.library_loaded = false;
    return 1;
}

int32_t dd_set_cooperative_level(DirectDraw* dd, Window* w, uint32_t flags) {
    dd->cooperative = flags;
    if (!w) return 0;
    if (flags & DDSCL_FULLSCREEN) {
        SDL_ShowWindow(w->sdl);
        if (SDL_SetWindowFullscreen(w->sdl, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return DDERR_GENERIC;
        SDL_RaiseWindow(w->sdl);
    } else if (SDL_GetWindowFlags(w->sdl) & SDL_WINDOW_FULLSCREEN_DESKTOP) {
        SDL_SetWindowFullscreen(w->sdl, 0);
    }
    return 0;
}

int32_t dd_set_display_mode(DirectDraw* dd, uint32_t width, uint32_t height, uint32_t bits) {
    // The monitor keeps its mode; the frame is scaled onto it.
    if (bits != 32 && bits != 24 && bits != 16) return DDERR_GENERIC;
    dd->mode_width = width;
    dd->mode_height = height;
    dd->mode_bits = bits;
    return 0;
}

int32_t dd_create_surface(DirectDraw* dd, const SurfaceDesc* desc, Surface** out, void*) {
    SdlState& s = st();
    if (!s.window) return DDERR_GENERIC;
    if (desc->caps & DDSCAPS_PRIMARYSURFACE) {
        if (!make_renderer(s.window)) return DDERR_GENERIC;
        s.primary = Surface{};
        s.primary.primary = true;
        if ((desc->caps & DDSCAPS_FLIP) && (desc->flags & DDSD_BACKBUFFERCOUNT) && desc->back_buffer_count > 0) {
            s.back = Surface{};
            uint32_t fmt = surface_format(s.window->sdl, dd->mode_bits);
            if (!make_texture(&s.back, dd->mode_width, dd->mode_height, fmt)) return DDERR_GENERIC;
            s.primary.attached = &s.back;
            s.primary.format = fmt;
        } else {
            s.primary.format = surface_format(s.window->sdl, 32);
        }
        *out = &s.primary;
        return 0;
    }
    if ((desc->flags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT) || !s.renderer) return DDERR_GENERIC;
    s.offscreen = Surface{};
    if (!make_texture(&s.offscreen, desc->width, desc->height, s.primary.format)) return DDERR_GENERIC;
    *out = &s.offscreen;
    return 0;
}

int32_t dd_create_clipper(DirectDraw*, uint32_t, Clipper** out, void*) {
    *out = &st().clipper;
    return 0;
}

int32_t dd_restore_display_mode(DirectDraw*) { return 0; }
uint32_t dd_release(DirectDraw*) { return 0; }

int32_t clipper_set_hwnd(Clipper* c, uint32_t, Window* w) {
    c->window = w;
    return 0;
}
uint32_t clipper_release(Clipper*) { return 0; }

int32_t surface_get_attached(Surface* surface, uint32_t caps, Surface** out) {
    if (!surface->attached || !(caps & DDSCAPS_BACKBUFFER)) return DDERR_GENERIC;
    *out = surface->attached;
    return 0;
}

int32_t surface_set_clipper(Surface*, Clipper*) { return 0; }

int32_t surface_get_pixel_format(Surface* surface, PixelFormat* f) {
    if (f->size != 32) return DDERR_GENERIC;
    int bpp = 0;
    Uint32 r = 0, g = 0, b = 0, a = 0;
    if (!SDL_PixelFormatEnumToMasks(surface->format, &bpp, &r, &g, &b, &a)) return DDERR_GENERIC;
    *f = PixelFormat{32, DDPF_RGB, 0, uint32_t(SDL_BYTESPERPIXEL(surface->format) * 8), r, g, b, a};
    return 0;
}

int32_t surface_restore(Surface*) { return 0; }

int32_t surface_lock(Surface* surface, const Rect*, SurfaceDesc* desc, uint32_t, void*) {
    if (!surface->texture) return DDERR_GENERIC;
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(surface->texture, nullptr, &pixels, &pitch) != 0) return DDERR_GENERIC;
    desc->surface = pixels;
    desc->pitch = pitch;
    desc->width = surface->width;
    desc->height = surface->height;
    return 0;
}

int32_t surface_unlock(Surface* surface, void*) {
    if (surface->texture) SDL_UnlockTexture(surface->texture);
    return 0;
}

int32_t surface_flip(Surface* surface, Surface*, uint32_t) {
    show_texture(surface->attached);
    return 0;
}

int32_t surface_blt(Surface* surface, const Rect*, Surface* source, const Rect*, uint32_t, void*) {
    if (surface->primary) show_texture(source);
    return 0;
}

uint32_t surface_release(Surface* surface) {
    SdlState& s = st();
    if (surface->texture) SDL_DestroyTexture(surface->texture);
    surface->texture = nullptr;
    if (surface->attached && surface->attached->texture) {
        SDL_DestroyTexture(surface->attached->texture);
        surface->attached->texture = nullptr;
    }
    if (surface->primary && s.renderer) {
        SDL_DestroyRenderer(s.renderer);
        s.renderer = nullptr;
    }
    return 0;
}

}  // namespace platform
