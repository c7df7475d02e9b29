// surfaces.cpp: DirectDraw-style presentation on the page's canvas.
//
// - "ddraw.dll" loads when the page has a canvas with a 2D context.
// - Every surface is 800 x 600 pixels of memory in the canvas's own byte
//   order, R, G, B, A: the xbgr8888 layout (masks 0xFF, 0xFF00, 0xFF0000), so
//   the display library's converter writes what the canvas takes. Showing a
//   surface (a flip, or a blit to the primary surface) makes its fourth bytes
//   opaque and puts the pixels on the canvas; the page scales the canvas to
//   fit with its aspect kept and without smoothing.
// - Full screen is what the page asked for on the answer to the question; the
//   display mode does not change. Taking the screen shows the window.
#include <emscripten.h>

#include <cstdlib>
#include <cstring>

#if defined(__wasm_simd128__)
#include <wasm_simd128.h>
#endif

#include "platform/surfaces.h"
#include "platform/window.h"

// clang-format off
EM_JS(int, web_has_canvas, (), { return QuillonWeb.hasCanvas() ? 1 : 0; });
EM_JS(void, web_present, (const uint8_t* pixels, int width, int height), {
    QuillonWeb.present(pixels, width, height);
});
// clang-format on

namespace platform {

struct Library {
    int unused;
};
struct DirectDraw {
    uint32_t cooperative;
};
struct Clipper {
    Window* window;
};
struct Surface {
    bool primary;
    uint8_t* memory;  // null for a primary surface that has no back buffer
    Surface* attached;
};

namespace {
constexpr uint32_t width = 800, height = 600, pitch = width * 4;

struct SurfaceState {
    Library library;
    bool loaded;
    DirectDraw dd;
    Clipper clipper;
    Surface primary, back, offscreen;
};
SurfaceState ss;

bool allocate(Surface* s) {
    // Aligned to cache lines: the converters' 16-byte stores then never
    // straddle two (the allocator's own alignment here is 8).
    if (!s->memory) {
        s->memory = static_cast<uint8_t*>(std::aligned_alloc(64, size_t(pitch) * height));
        if (s->memory) std::memset(s->memory, 0, size_t(pitch) * height);
    }
    return s->memory != nullptr;
}

void drop(Surface* s) {
    std::free(s->memory);
    s->memory = nullptr;
}

// The converters leave the fourth byte 0; the canvas reads it as alpha.
void make_opaque(uint8_t* p, size_t bytes) {
    size_t i = 0;
#if defined(__wasm_simd128__)
    const v128_t alpha = wasm_i32x4_splat(int32_t(0xFF000000u));
    for (; i + 16 <= bytes; i += 16) wasm_v128_store(p + i, wasm_v128_or(wasm_v128_load(p + i), alpha));
#endif
    for (; i < bytes; i += 4) p[i + 3] = 0xFF;
}

void show(Surface* s) {
    if (!s || !s->memory) return;
    make_opaque(s->memory, size_t(pitch) * height);
    web_present(s->memory, int(width), int(height));
}

int32_t direct_draw_create(void*, DirectDraw** out, void*) {
    ss.dd = DirectDraw{};
    *out = &ss.dd;
    return 0;
}
}  // namespace

Library* load_library(const char*) {
    if (!web_has_canvas()) return nullptr;
    ss.loaded = true;
    return &ss.library;
}

void* get_proc_address(Library* library, const char* name) {
    if (!library || std::strcmp(name, "DirectDrawCreate") != 0) return nullptr;
    return reinterpret_cast<void*>(&direct_draw_create);
}

int free_library(Library* library) {
    if (library != &ss.library || !ss.loaded) return 0;
    ss.loaded = false;
    return 1;
}

int32_t dd_set_cooperative_level(DirectDraw* dd, Window* w, uint32_t flags) {
    if (!w) return DDERR_GENERIC;
    // Taking the screen shows the full-screen window, which is then active.
    if ((flags & DDSCL_FULLSCREEN) && !(dd->cooperative & DDSCL_FULLSCREEN)) show_window(w, SW_SHOWNORMAL);
    dd->cooperative = flags;
    return 0;
}

int32_t dd_set_display_mode(DirectDraw*, uint32_t w, uint32_t h, uint32_t bits) {
    return (w == width && h == height && bits == 32) ? 0 : DDERR_GENERIC;
}

int32_t dd_create_surface(DirectDraw*, const SurfaceDesc* desc, Surface** out, void*) {
    if (desc->caps & DDSCAPS_PRIMARYSURFACE) {
        ss.primary = Surface{true, nullptr, nullptr};
        if ((desc->caps & DDSCAPS_FLIP) && (desc->flags & DDSD_BACKBUFFERCOUNT) && desc->back_buffer_count > 0) {
            if (!allocate(&ss.back)) return DDERR_GENERIC;
            ss.primary.attached = &ss.back;
        }
        *out = &ss.primary;
        return 0;
    }
    if ((desc->flags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT) || desc->width != width ||
        desc->height != height)
        return DDERR_GENERIC;
    if (!allocate(&ss.offscreen)) return DDERR_GENERIC;
    *out = &ss.offscreen;
    return 0;
}

int32_t dd_create_clipper(DirectDraw*, uint32_t, Clipper** out, void*) {
    *out = &ss.clipper;
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

int32_t surface_get_pixel_format(Surface*, PixelFormat* f) {
    if (f->size != 32) return DDERR_GENERIC;
    *f = PixelFormat{32, DDPF_RGB, 0, 32, 0xFF, 0xFF00, 0xFF0000, 0};
    return 0;
}

int32_t surface_restore(Surface*) { return 0; }

int32_t surface_lock(Surface* surface, const Rect*, SurfaceDesc* desc, uint32_t, void*) {
    if (!surface->memory) return DDERR_GENERIC;
    desc->surface = surface->memory;
    desc->pitch = int32_t(pitch);
    desc->width = width;
    desc->height = height;
    return 0;
}

int32_t surface_unlock(Surface*, void*) { return 0; }

int32_t surface_flip(Surface* surface, Surface*, uint32_t) {
    show(surface->attached);
    return 0;
}

int32_t surface_blt(Surface* surface, const Rect*, Surface* source, const Rect*, uint32_t, void*) {
    if (surface->primary) show(source);
    return 0;
}

uint32_t surface_release(Surface* surface) {
    if (surface->attached) drop(surface->attached);
    drop(surface);
    return 0;
}

}  // namespace platform
