// video.cpp: the window system and DirectDraw-style presentation on SDL2.
//
// How the desktop calls map here:
// - "ddraw.dll" loads when SDL's video subsystem starts; with no display
//   reachable it fails and so does the display library's open.
// - The full-screen mode does not change the monitor's mode: the window
//   covers the display that holds the pointer, and the frame is scaled onto
//   it crisply with black bars (present.cpp). A window is centred on that
//   display. Mouse positions are turned into frame pixels.
// - Surfaces are one streaming texture each (the back buffer, or the
//   offscreen surface of a window); a flip or a blit to the primary surface
//   copies that texture to the window and presents it (present.cpp).
// - The pixel format of the surfaces is the desktop's when it is one of the
//   eight layouts the converters serve, else 0x00RRGGBB in 32 bits. Setting
//   QUILLON_PIXEL_LAYOUT to xrgb8888, xbgr8888, rgb888, bgr888, rgb565,
//   bgr565, rgb555 or bgr555 forces one, so every converter can be seen for
//   real.
// - A window counts as in the background while it is hidden or minimised,
//   and in full screen also while it has lost the keyboard focus.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "platform/detail.h"
#include "platform/platform.h"
#include "platform/sdl/hooks.h"
#include "platform/sdl/present.h"

namespace platform {

struct Window {
    WindowClass window_class;
    SDL_Window* sdl;
    uint32_t style;
    bool active;
};

struct Surface {
    bool primary;
    SDL_Texture* texture;  // back buffer or offscreen surface
    Surface* attached;
    uint32_t width, height;
    uint32_t format;  // SDL pixel format
    bool direct;      // the window's own pixels (present.cpp), not a texture
};

struct Clipper {
    Window* window;
};

struct DirectDraw {
    uint32_t cooperative;
    uint32_t mode_width, mode_height, mode_bits;
};

struct Library {
    int unused;
};

namespace {

struct KeyTrack {
    bool down, pressed;
};

struct SdlState {
    Library library;
    bool library_loaded;
    DirectDraw dd;
    std::vector<WindowClass> classes;
    std::vector<std::string> class_names;
    Window* window;
    SDL_Renderer* renderer;
    Surface primary, back, offscreen;
    Clipper clipper;
    std::deque<Message> queue;
    KeyTrack keys[256];
};

SdlState& st() {
    static SdlState s{};
    return s;
}

constexpr int32_t DDERR_GENERIC = int32_t(0x80004005u);

int virtual_key(SDL_Keycode k) {
    switch (k) {
        case SDLK_ESCAPE: return VK_ESCAPE;
        case SDLK_END: return VK_END;
        case SDLK_HOME: return VK_HOME;
        case SDLK_UP: return VK_UP;
        case SDLK_DOWN: return VK_DOWN;
        case SDLK_LEFT: return 37;
        case SDLK_RIGHT: return 39;
        case SDLK_PAGEUP: return 33;
        case SDLK_PAGEDOWN: return 34;
        case SDLK_RETURN: return 13;
        case SDLK_SPACE: return 32;
        default: break;
    }
    if (k >= SDLK_F1 && k <= SDLK_F12) return VK_F1 + int(k - SDLK_F1);
    if (k >= SDLK_a && k <= SDLK_z) return 'A' + int(k - SDLK_a);
    if (k >= SDLK_0 && k <= SDLK_9) return '0' + int(k - SDLK_0);
    return 0;
}

intptr_t pack_point(int x, int y) { return intptr_t((uint32_t(y & 0xFFFF) << 16) | uint32_t(x & 0xFFFF)); }

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
    if (!s.renderer) s.renderer = sdl::present_open(w->sdl);
    return s.renderer != nullptr;
}

bool make_texture(Surface* surf, uint32_t width, uint32_t height, uint32_t format) {
    SdlState& s = st();
    surf->texture = SDL_CreateTexture(s.renderer, format, SDL_TEXTUREACCESS_STREAMING, int(width), int(height));
    if (!surf->texture) return false;
    surf->width = width;
    surf->height = height;
    surf->format = format;
    sdl::present_set_frame_size(int(width), int(height));
    return true;
}

void show_texture(Surface* source, bool wait) {
    if (!st().renderer || !source || !source->texture) return;
    sdl::present_texture(source->texture, int(source->width), int(source->height), wait);
}

intptr_t frame_point(int x, int y) {
    int fx = x, fy = y;
    sdl::present_frame_point(x, y, &fx, &fy);
    return pack_point(fx, fy);
}

void set_active(Window* w, bool active) {
    if (w->active == active) return;
    w->active = active;
    st().queue.push_back({w, WM_ACTIVATEAPP, active ? 1u : 0u, 0});
}

bool fullscreen() { return (st().dd.cooperative & DDSCL_FULLSCREEN) != 0; }

// The display that holds the pointer: the reader's screen, where the window
// or the full screen goes. The first display when the pointer is on none.
int pointer_display() {
    int x = 0, y = 0;
    SDL_GetGlobalMouseState(&x, &y);
    SDL_Point p{x, y};
    for (int i = 0, n = SDL_GetNumVideoDisplays(); i < n; ++i) {
        SDL_Rect b{};
        if (SDL_GetDisplayBounds(i, &b) == 0 && SDL_PointInRect(&p, &b)) return i;
    }
    return 0;
}

// Turns one SDL event into window messages and key state.
void translate(const SDL_Event& e) {
    SdlState& s = st();
    Window* w = s.window;
    if (!w) return;
    switch (e.type) {
        case SDL_QUIT: s.queue.push_back({w, WM_CLOSE, 0, 0}); break;
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
                case SDL_WINDOWEVENT_CLOSE: s.queue.push_back({w, WM_CLOSE, 0, 0}); break;
                case SDL_WINDOWEVENT_EXPOSED: s.queue.push_back({w, WM_PAINT, 0, 0}); break;
                case SDL_WINDOWEVENT_SHOWN:
                case SDL_WINDOWEVENT_RESTORED:
                case SDL_WINDOWEVENT_FOCUS_GAINED: set_active(w, true); break;
                case SDL_WINDOWEVENT_HIDDEN:
                case SDL_WINDOWEVENT_MINIMIZED: set_active(w, false); break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    if (fullscreen()) set_active(w, false);
                    break;
            }
            break;
        case SDL_KEYDOWN: {
            int vk = virtual_key(e.key.keysym.sym);
            if (!vk) break;
            if (!e.key.repeat) s.keys[vk].pressed = true;
            s.keys[vk].down = true;
            s.queue.push_back({w, WM_KEYDOWN, uintptr_t(vk), 1});
            break;
        }
        case SDL_KEYUP: {
            int vk = virtual_key(e.key.keysym.sym);
            if (vk) s.keys[vk].down = false;
            break;
        }
        case SDL_MOUSEMOTION: s.queue.push_back({w, WM_MOUSEMOVE, 0, frame_point(e.motion.x, e.motion.y)}); break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            bool down = e.type == SDL_MOUSEBUTTONDOWN;
            uint32_t m = 0;
            if (e.button.button == SDL_BUTTON_LEFT) m = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
            if (e.button.button == SDL_BUTTON_RIGHT) m = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
            if (m) s.queue.push_back({w, m, 0, frame_point(e.button.x, e.button.y)});
            break;
        }
        case SDL_AUDIODEVICEREMOVED:
            if (!e.adevice.iscapture) sdl::wave_device_removed(e.adevice.which);
            break;
    }
}

}  // namespace

namespace detail {
bool refuse_thread_create() { return false; }
bool refuse_heap_create() { return false; }
}  // namespace detail

// --- window system ---

int register_class(const WindowClass* wc) {
    SdlState& s = st();
    s.classes.push_back(*wc);
    s.class_names.push_back(wc->name ? wc->name : "");
    return 1;
}

Window* create_window(uint32_t, const char* class_name, const char* caption, uint32_t style, int x, int y, int width,
                      int height) {
    SdlState& s = st();
    const WindowClass* wc = nullptr;
    for (size_t i = 0; i < s.classes.size(); ++i)
        if (s.class_names[i] == (class_name ? class_name : "")) wc = &s.classes[i];
    if (!wc || s.window) return nullptr;
    // High-density screens: the window keeps its size in the desktop's
    // coordinates and its output gets the screen's pixels, scaled crisply.
    uint32_t flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;
    if (style & WS_POPUP) flags |= SDL_WINDOW_BORDERLESS;
    SDL_Rect bounds{0, 0, 800, 600};
    SDL_GetDisplayBounds(pointer_display(), &bounds);
    if (width <= 0 || height <= 0) {  // the full-screen window covers the pointer's display
        x = bounds.x;
        y = bounds.y;
        width = bounds.w;
        height = bounds.h;
    } else {  // centred on it by the caller, relative to its corner
        x += bounds.x;
        y += bounds.y;
    }
    SDL_Window* sw = SDL_CreateWindow(caption ? caption : "", x, y, width, height, flags);
    if (!sw) return nullptr;
    Window* w = new Window{*wc, sw, style, false};
    w->window_class.name = nullptr;
    s.window = w;
    if (style & WS_VISIBLE) SDL_ShowWindow(sw);
    return w;
}

int show_window(Window* w, int) {
    if (!w) return 0;
    SDL_ShowWindow(w->sdl);
    SDL_RaiseWindow(w->sdl);
    return 1;
}

int destroy_window(Window* w) {
    SdlState& s = st();
    if (!w) return 0;
    SDL_DestroyWindow(w->sdl);
    if (s.window == w) s.window = nullptr;
    delete w;
    s.queue.clear();
    return 1;
}

int adjust_window_rect(Rect*, uint32_t, int) {
    // SDL sizes windows by their client area: no frame to add.
    return 1;
}

int get_system_metrics(int index) {
    switch (index) {
        case SM_CXSCREEN:  // the display holding the pointer, in its coordinates
        case SM_CYSCREEN: {
            SDL_Rect b{0, 0, 800, 600};
            SDL_GetDisplayBounds(pointer_display(), &b);
            return index == SM_CXSCREEN ? b.w : b.h;
        }
        default:
            return 0;  // frames and captions are the window manager's, outside the client size
    }
}

int get_client_rect(Window* w, Rect* r) {
    if (!w) return 0;
    int cw = 0, ch = 0;
    SDL_GetWindowSize(w->sdl, &cw, &ch);
    *r = {0, 0, cw, ch};
    return 1;
}

int client_to_screen(Window* w, Point* p) {
    if (!w) return 0;
    int x = 0, y = 0;
    SDL_GetWindowPosition(w->sdl, &x, &y);
    p->x += x;
    p->y += y;
    return 1;
}

int message_box(Window*, const char* text, const char* caption, uint32_t) {
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"},
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
    };
    SDL_MessageBoxData box{};
    box.flags = SDL_MESSAGEBOX_INFORMATION;
    box.title = caption;
    box.message = text;
    box.numbuttons = 2;
    box.buttons = buttons;
    int answer = IDNO;
    if (SDL_ShowMessageBox(&box, &answer) != 0) return IDNO;  // no box: stay windowed
    return answer == IDYES ? IDYES : IDNO;
}

int peek_message(Message* m, Window*, uint32_t, uint32_t, uint32_t remove) {
    SdlState& s = st();
    SDL_Event e;
    while (s.queue.empty() && SDL_PollEvent(&e)) translate(e);
    if (s.queue.empty()) return 0;
    *m = s.queue.front();
    if (remove & PM_REMOVE) s.queue.pop_front();
    return 1;
}

int translate_message(const Message*) { return 0; }

intptr_t dispatch_message(const Message* m) {
    Window* w = st().window;
    if (!m->window || m->window != w) return 0;
    return w->window_class.proc(m->window, m->message, m->wparam, m->lparam);
}

intptr_t def_window_proc(Window*, uint32_t, uintptr_t, intptr_t) { return 0; }

int system_parameters_info(uint32_t action, uint32_t param, void*, uint32_t) {
    if (action != SPI_SETSCREENSAVEACTIVE) return 0;
    if (param)
        SDL_EnableScreenSaver();
    else
        SDL_DisableScreenSaver();
    return 1;
}

int show_cursor(int show) { return SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE) == SDL_ENABLE ? 0 : -1; }

void* set_cursor(void* cursor) {
    if (!cursor) SDL_ShowCursor(SDL_DISABLE);
    return nullptr;
}

void exit_process(int code) {
    std::fflush(nullptr);
    SDL_Quit();
    std::_Exit(code);
}

uint16_t get_async_key_state(int vk) {
    KeyTrack& k = st().keys[vk & 255];
    uint16_t r = uint16_t((k.down ? 0x8000 : 0) | (k.pressed ? 1 : 0));
    k.pressed = false;
    return r;
}

void sleep_ms(uint32_t ms) { SDL_Delay(ms); }

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
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        // The one thing the viewer says on its way out with -1.
        std::fputs("no display: run QUILLON in a desktop session\n", stderr);
        return nullptr;
    }
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
        bool flipping = (desc->caps & DDSCAPS_FLIP) && (desc->flags & DDSD_BACKBUFFERCOUNT) && desc->back_buffer_count > 0;
        s.primary = Surface{};
        s.primary.primary = true;
        if (!flipping && sdl::present_direct_fits(s.window->sdl, surface_format(s.window->sdl, 32))) {
            s.primary.format = surface_format(s.window->sdl, 32);
            s.primary.direct = true;
            *out = &s.primary;
            return 0;
        }
        if (!make_renderer(s.window)) return DDERR_GENERIC;
        if (flipping) {
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
    if ((desc->flags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT)) return DDERR_GENERIC;
    s.offscreen = Surface{};
    if (s.primary.direct) {
        s.offscreen = Surface{false, nullptr, nullptr, desc->width, desc->height, s.primary.format, true};
        *out = &s.offscreen;
        return 0;
    }
    if (!s.renderer) return DDERR_GENERIC;
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
    void* pixels = nullptr;
    int pitch = 0;
    if (surface->direct) {
        if (!sdl::present_direct_lock(st().window->sdl, surface->format, int(surface->width), int(surface->height), &pixels, &pitch))
            return DDERR_GENERIC;
    } else if (!surface->texture || SDL_LockTexture(surface->texture, nullptr, &pixels, &pitch) != 0) {
        return DDERR_GENERIC;
    }
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

int32_t surface_flip(Surface* surface, Surface*, uint32_t flags) {
    show_texture(surface->attached, (flags & DDFLIP_NOVSYNC) == 0);
    return 0;
}

int32_t surface_blt(Surface* surface, const Rect*, Surface* source, const Rect*, uint32_t flags, void*) {
    if (surface->primary && source && source->direct)
        sdl::present_direct(st().window->sdl);
    else if (surface->primary)
        show_texture(source, (flags & DDBLT_WAIT) != 0);
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
        sdl::present_close();
        s.renderer = nullptr;
    }
    return 0;
}

}  // namespace platform
