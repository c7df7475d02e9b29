// surfaces.cpp: the scripted DirectDraw-style surfaces. Surfaces are plain
// memory in the configured pixel format; a flip or a blit to the primary
// surface "presents" the source surface, which the test reads back through
// script::presented().
#include <string>

#include "platform/scripted/scripted_state.h"
#include "platform/surfaces.h"

namespace platform {

using script::Call;
using script::detail::failing;
using script::detail::record;
using script::detail::state;

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
