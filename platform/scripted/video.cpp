// video.cpp: the scripted window system and DirectDraw-style surfaces.
// Surfaces are plain memory in the configured pixel format; a flip or a blit
// to the primary surface "presents" the source surface, which the test reads
// back through script::presented().
#include <chrono>
#include <thread>

#include "platform/scripted/state.h"

namespace platform {

using script::Call;
using script::detail::failing;
using script::detail::record;
using script::detail::state;

static constexpr int32_t DDERR_GENERIC = int32_t(0x80004005u);

// --- window system ---

int register_class(const WindowClass* wc) {
    record("RegisterClass", wc->style, wc->arrow_cursor);
    if (failing(Call::RegisterClass)) return 0;
    state().classes.push_back(std::make_unique<WindowClass>(*wc));
    return 1;
}

Window* create_window(uint32_t ex_style, const char* class_name, const char*, uint32_t style, int x, int y, int width,
                      int height) {
    record("CreateWindow", style, x, y, (int64_t(width) << 32) | uint32_t(height));
    (void)ex_style;
    if (failing(Call::CreateWindow)) return nullptr;
    auto& s = state();
    const WindowClass* wc = nullptr;
    for (auto& c : s.classes)
        if (std::string(c->name) == class_name) wc = c.get();
    if (!wc) return nullptr;
    auto w = std::make_unique<Window>();
    w->window_class = *wc;
    w->style = style;
    w->x = x;
    w->y = y;
    w->width = width;
    w->height = height;
    w->visible = (style & WS_VISIBLE) != 0;
    Window* raw = w.get();
    s.windows.push_back(std::move(w));
    if (s.config.activate_on_show && !s.activation_sent) {
        s.activation_sent = true;
        s.queue.push_back({raw, WM_ACTIVATEAPP, 1, 0});
    }
    return raw;
}

int show_window(Window* window, int command) {
    record("ShowWindow", command);
    if (!window) return 0;
    window->visible = true;
    state().queue.push_back({window, WM_PAINT, 0, 0});
    return 1;
}

int destroy_window(Window* window) {
    record("DestroyWindow");
    auto& ws = state().windows;
    for (auto it = ws.begin(); it != ws.end(); ++it) {
        if (it->get() == window) {
            ws.erase(it);
            return 1;
        }
    }
    return 0;
}

int adjust_window_rect(Rect* rect, uint32_t style, int) {
    record("AdjustWindowRect", style);
    const auto& c = state().config;
    const int sizing = (style & 0x00040000u) ? c.sizing_frame_extra : 0;  // WS_THICKFRAME
    rect->left -= c.dlg_frame_x + sizing;
    rect->right += c.dlg_frame_x + sizing;
    rect->top -= c.dlg_frame_y + sizing + c.caption;
    rect->bottom += c.dlg_frame_y + sizing;
    return 1;
}

int get_system_metrics(int index) {
    const auto& c = state().config;
    switch (index) {
        case SM_CXSCREEN: return c.screen_width;
        case SM_CYSCREEN: return c.screen_height;
        case SM_CXDLGFRAME: return c.dlg_frame_x;
        case SM_CYDLGFRAME: return c.dlg_frame_y;
        case SM_CYCAPTION: return c.caption;
    }
    return 0;
}

int get_client_rect(Window* window, Rect* rect) {
    if (!window) return 0;
    *rect = {0, 0, 800, 600};
    const auto& c = state().config;
    if (!(window->style & WS_POPUP)) {
        rect->right = window->width - 2 * c.dlg_frame_x;
        rect->bottom = window->height - 2 * c.dlg_frame_y - c.caption;
    } else {
        rect->right = window->width;
        rect->bottom = window->height;
    }
    return 1;
}

int client_to_screen(Window* window, Point* point) {
    if (!window) return 0;
    point->x += window->x;
    point->y += window->y;
    return 1;
}

int message_box(Window*, const char* text, const char* caption, uint32_t style) {
    record("MessageBox", style);
    (void)text;
    (void)caption;
    return state().config.answer;
}

int peek_message(Message* message, Window*, uint32_t, uint32_t, uint32_t remove) {
    auto& s = state();
    if (!s.pumping) {
        s.pumping = true;
        script::detail::start_frame();
    }
    if (s.queue.empty()) {
        s.pumping = false;
        return 0;
    }
    *message = s.queue.front();
    if (remove & PM_REMOVE) s.queue.erase(s.queue.begin());
    return 1;
}

int translate_message(const Message*) { return 0; }

intptr_t dispatch_message(const Message* m) {
    if (!m->window) return 0;
    for (auto& w : state().windows)
        if (w.get() == m->window) return w->window_class.proc(m->window, m->message, m->wparam, m->lparam);
    return 0;
}

intptr_t def_window_proc(Window*, uint32_t message, uintptr_t, intptr_t) {
    record("DefWindowProc", message);
    return 0;
}

void sleep_ms(uint32_t milliseconds) {
    // The display library's 0 and 1 ms sleeps are logged, not waited; longer
    // sleeps (the music player's polling) really sleep.
    if (milliseconds <= 1)
        record("Sleep", milliseconds);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// --- DirectDraw ---

static int32_t direct_draw_create(void*, DirectDraw** out, void*) {
    record("DirectDrawCreate");
    if (failing(Call::DirectDrawCreate)) return DDERR_GENERIC;
    state().dd = std::make_unique<DirectDraw>();
    *out = state().dd.get();
    return 0;
}

Library* load_library(const char* name) {
    record("LoadLibrary");
    (void)name;
    if (!state().config.video_available || failing(Call::LoadLibrary)) return nullptr;
    state().library = std::make_unique<Library>();
    return state().library.get();
}

void* get_proc_address(Library* library, const char* name) {
    record("GetProcAddress");
    if (!library || failing(Call::GetProcAddress) || std::string(name) != "DirectDrawCreate") return nullptr;
    return reinterpret_cast<void*>(&direct_draw_create);
}

int free_library(Library* library) {
    record("FreeLibrary");
    if (library == state().library.get()) state().library.reset();
    return 1;
}

int32_t dd_set_cooperative_level(DirectDraw* dd, Window*, uint32_t flags) {
    record("SetCooperativeLevel", flags);
    if (failing(Call::SetCooperativeLevel)) return DDERR_GENERIC;
    dd->cooperative = flags;
    return 0;
}

int32_t dd_set_display_mode(DirectDraw* dd, uint32_t width, uint32_t height, uint32_t bits) {
    record("SetDisplayMode", width, height, bits);
    bool offered = false;
    for (uint32_t b : state().config.display_modes) offered |= b == bits;
    if (failing(Call::SetDisplayMode) || !offered) return DDERR_GENERIC;
    dd->mode_width = width;
    dd->mode_height = height;
    dd->mode_bits = bits;
    return 0;
}

static Surface* make_surface(uint32_t width, uint32_t height) {
    auto& s = state();
    auto surf = std::make_unique<Surface>();
    uint32_t bits = s.config.pixel_format.rgb_bit_count;
    surf->bytes_per_pixel = (bits == 16 || bits == 24 || bits == 32) ? bits / 8 : 4;
    surf->width = width;
    surf->height = height;
    surf->pitch = int32_t(width * surf->bytes_per_pixel) + s.config.pitch_padding;
    surf->memory.assign(size_t(surf->pitch) * height, 0xCD);
    Surface* raw = surf.get();
    s.surfaces.push_back(std::move(surf));
    return raw;
}

int32_t dd_create_surface(DirectDraw* dd, const SurfaceDesc* desc, Surface** out, void*) {
    record("CreateSurface", desc->flags, desc->caps, desc->back_buffer_count);
    if (desc->size != sizeof(SurfaceDesc) && desc->size != 108) return DDERR_GENERIC;
    if (failing(Call::CreateSurface)) return DDERR_GENERIC;
    auto& s = state();
    if (desc->caps & DDSCAPS_PRIMARYSURFACE) {
        bool flipping = (desc->caps & DDSCAPS_FLIP) != 0;
        if (flipping && ((desc->flags & DDSD_BACKBUFFERCOUNT) == 0 || desc->back_buffer_count == 0 ||
                         desc->back_buffer_count > s.config.max_back_buffers))
            return DDERR_GENERIC;
        bool fullscreen = (dd->cooperative & DDSCL_FULLSCREEN) != 0;
        uint32_t w = fullscreen ? dd->mode_width : uint32_t(s.config.screen_width);
        uint32_t h = fullscreen ? dd->mode_height : uint32_t(s.config.screen_height);
        Surface* primary = make_surface(w, h);
        primary->primary = true;
        if (flipping) {
            primary->attached = make_surface(w, h);
            primary->attached->back = true;
        }
        *out = primary;
        return 0;
    }
    if ((desc->flags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT)) return DDERR_GENERIC;
    *out = make_surface(desc->width, desc->height);
    return 0;
}

int32_t dd_create_clipper(DirectDraw*, uint32_t flags, Clipper** out, void*) {
    record("CreateClipper", flags);
    if (failing(Call::CreateClipper)) return DDERR_GENERIC;
    state().clippers.push_back(std::make_unique<Clipper>());
    *out = state().clippers.back().get();
    return 0;
}

int32_t dd_restore_display_mode(DirectDraw*) {
    record("RestoreDisplayMode");
    return 0;
}

uint32_t dd_release(DirectDraw* dd) {
    record("ReleaseDirectDraw");
    if (dd == state().dd.get()) state().dd.reset();
    return 0;
}

int32_t clipper_set_hwnd(Clipper* clipper, uint32_t, Window* window) {
    record("ClipperSetHwnd");
    if (failing(Call::ClipperSetHwnd)) return DDERR_GENERIC;
    clipper->window = window;
    return 0;
}

uint32_t clipper_release(Clipper*) {
    record("ReleaseClipper");
    return 0;
}

int32_t surface_get_attached(Surface* surface, uint32_t caps, Surface** out) {
    record("GetAttachedSurface", caps);
    if (failing(Call::GetAttachedSurface) || !surface->attached || !(caps & DDSCAPS_BACKBUFFER)) return DDERR_GENERIC;
    *out = surface->attached;
    return 0;
}

int32_t surface_set_clipper(Surface* surface, Clipper* clipper) {
    record("SetClipper");
    if (failing(Call::SetClipper)) return DDERR_GENERIC;
    surface->clipper = clipper;
    return 0;
}

int32_t surface_get_pixel_format(Surface*, PixelFormat* format) {
    record("GetPixelFormat");
    if (failing(Call::GetPixelFormat) || format->size != 32) return DDERR_GENERIC;
    *format = state().config.pixel_format;
    format->size = 32;
    return 0;
}

int32_t surface_restore(Surface* surface) {
    record("Restore", surface->primary ? 1 : 0);
    return 0;
}

int32_t surface_lock(Surface* surface, const Rect*, SurfaceDesc* desc, uint32_t flags, void*) {
    record("Lock", flags);
    if (failing(Call::Lock) || surface->locked) return DDERR_GENERIC;
    surface->locked = true;
    desc->width = surface->width;
    desc->height = surface->height;
    desc->pitch = surface->pitch;
    desc->surface = surface->memory.data();
    return 0;
}

int32_t surface_unlock(Surface* surface, void*) {
    record("Unlock");
    surface->locked = false;
    return 0;
}

int32_t surface_flip(Surface* surface, Surface*, uint32_t flags) {
    record("Flip", flags);
    if (surface->attached) script::detail::present(surface->attached);
    return 0;
}

int32_t surface_blt(Surface* surface, const Rect* dest, Surface* source, const Rect*, uint32_t flags, void*) {
    record("Blt", dest ? dest->left : 0, dest ? dest->top : 0, flags);
    if (surface->primary && source) script::detail::present(source);
    return 0;
}

uint32_t surface_release(Surface* surface) {
    record("ReleaseSurface", surface->primary ? 1 : 0);
    return 0;
}

}  // namespace platform
