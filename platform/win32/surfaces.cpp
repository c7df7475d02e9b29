// surfaces.cpp: DirectDraw itself. "ddraw.dll" is loaded with LoadLibraryA and
// its "DirectDrawCreate" is handed out as it is, so the platform's DirectDraw,
// Surface and Clipper are the real IDirectDraw, IDirectDrawSurface and
// IDirectDrawClipper. Rect is a RECT and PixelFormat a DDPIXELFORMAT; only the
// surface description is copied into and out of a DDSURFACEDESC.
//
// One case differs from plain DirectDraw. When the display takes none of the
// full-screen modes (SetDisplayMode fails for 32, 24 and 16 bits, as on a
// fixed virtual screen), full screen keeps the desktop's own mode: the 16-bit
// request, the last the display library makes, then succeeds, the flipping
// chain becomes a lone primary plus a frame-sized offscreen surface standing
// in for the back buffer, and each flip stretches that frame onto the screen,
// centred with its aspect ratio kept and black bars around it. Mouse
// positions are mapped back to frame pixels (window.cpp).
#ifdef _WIN32
#include "platform/win32/win32_state.h"
#include <ddraw.h>

#include <cstddef>


namespace platform {

static_assert(sizeof(PixelFormat) == sizeof(DDPIXELFORMAT));
static_assert(offsetof(PixelFormat, rgb_bit_count) == offsetof(DDPIXELFORMAT, dwRGBBitCount));
static_assert(offsetof(PixelFormat, alpha_mask) == offsetof(DDPIXELFORMAT, dwRGBAlphaBitMask));
static_assert(sizeof(Rect) == sizeof(RECT) && sizeof(Point) == sizeof(POINT));

namespace win32 {
Win32State state;

LPARAM frame_point(LPARAM lparam) {
    if (!state.scaled) return lparam;
    const RECT& f = state.frame;
    const long w = f.right - f.left, h = f.bottom - f.top;
    if (w <= 0 || h <= 0) return lparam;
    long x = (short(LOWORD(lparam)) - f.left) * long(state.frame_width) / w;
    long y = (short(HIWORD(lparam)) - f.top) * long(state.frame_height) / h;
    x = x < 0 ? 0 : x >= long(state.frame_width) ? long(state.frame_width) - 1 : x;
    y = y < 0 ? 0 : y >= long(state.frame_height) ? long(state.frame_height) - 1 : y;
    return MAKELPARAM(x, y);
}
}  // namespace win32

namespace {

using win32::state;

IDirectDraw* dd_of(DirectDraw* dd) { return reinterpret_cast<IDirectDraw*>(dd); }
IDirectDrawSurface* surf_of(Surface* s) { return reinterpret_cast<IDirectDrawSurface*>(s); }

struct Scaled {
    HWND window;
    IDirectDrawSurface* primary;
    IDirectDrawSurface* frame;  // stands in for the back buffer
};
Scaled scaled;

DDSURFACEDESC native(const SurfaceDesc* desc) {
    DDSURFACEDESC d{};
    d.dwSize = sizeof d;
    d.dwFlags = desc->flags;
    d.dwHeight = desc->height;
    d.dwWidth = desc->width;
    d.dwBackBufferCount = desc->back_buffer_count;
    d.ddsCaps.dwCaps = desc->caps;
    return d;
}

// The frame's place on a screen of w x h: as large as fits, aspect kept.
RECT centred(long w, long h, long fw, long fh) {
    long dw = w, dh = w * fh / fw;
    if (dh > h) {
        dh = h;
        dw = h * fw / fh;
    }
    const long x = (w - dw) / 2, y = (h - dh) / 2;
    return RECT{x, y, x + dw, y + dh};
}

int32_t create_scaled(IDirectDraw* dd, Surface** out) {
    DDSURFACEDESC d{};
    d.dwSize = sizeof d;
    d.dwFlags = DDSD_CAPS;
    d.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    HRESULT r = dd->CreateSurface(&d, &scaled.primary, nullptr);
    if (FAILED(r)) return r;
    d.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    d.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    d.dwWidth = state.frame_width;
    d.dwHeight = state.frame_height;
    r = dd->CreateSurface(&d, &scaled.frame, nullptr);
    if (FAILED(r)) {
        scaled.primary->Release();
        scaled.primary = nullptr;
        return r;
    }
    state.frame = centred(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), long(state.frame_width),
                          long(state.frame_height));
    *out = reinterpret_cast<Surface*>(scaled.primary);
    return DD_OK;
}

// Black bars around the frame, then the frame stretched into its place.
void present_scaled() {
    const RECT& f = state.frame;
    const long w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    const RECT bars[] = {{0, 0, w, f.top}, {0, f.bottom, w, h}, {0, f.top, f.left, f.bottom}, {f.right, f.top, w, f.bottom}};
    for (const RECT& b : bars) {
        RECT r = b;
        if (r.right > r.left && r.bottom > r.top)
            scaled.primary->Blt(&r, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    }
    RECT dest = f;
    scaled.primary->Blt(&dest, scaled.frame, nullptr, DDBLT_WAIT, nullptr);
}

}  // namespace

Library* load_library(const char* name) { return reinterpret_cast<Library*>(LoadLibraryA(name)); }

void* get_proc_address(Library* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(library), name));
}

int free_library(Library* library) { return FreeLibrary(reinterpret_cast<HMODULE>(library)); }

int32_t dd_set_cooperative_level(DirectDraw* dd, Window* window, uint32_t flags) {
    HWND hwnd = reinterpret_cast<HWND>(window);
    const HRESULT r = dd_of(dd)->SetCooperativeLevel(hwnd, flags);
    if (SUCCEEDED(r) && (flags & DDSCL_FULLSCREEN)) scaled.window = hwnd;
    return r;
}

int32_t dd_set_display_mode(DirectDraw* dd, uint32_t width, uint32_t height, uint32_t bits) {
    state.scaled = false;
    const HRESULT r = dd_of(dd)->SetDisplayMode(width, height, bits);
    if (SUCCEEDED(r) || bits != 16) return r;
    // None of the three modes: keep the desktop's and scale the frame.
    state.scaled = true;
    state.frame_width = width;
    state.frame_height = height;
    if (scaled.window)
        SetWindowPos(scaled.window, HWND_TOPMOST, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                     SWP_SHOWWINDOW);
    return DD_OK;
}

int32_t dd_create_surface(DirectDraw* dd, const SurfaceDesc* desc, Surface** out, void* outer) {
    if (state.scaled && (desc->caps & DDSCAPS_PRIMARYSURFACE)) return create_scaled(dd_of(dd), out);
    DDSURFACEDESC d = native(desc);
    return dd_of(dd)->CreateSurface(&d, reinterpret_cast<IDirectDrawSurface**>(out),
                                    static_cast<IUnknown*>(outer));
}

int32_t dd_create_clipper(DirectDraw* dd, uint32_t flags, Clipper** out, void* outer) {
    return dd_of(dd)->CreateClipper(flags, reinterpret_cast<IDirectDrawClipper**>(out), static_cast<IUnknown*>(outer));
}

int32_t dd_restore_display_mode(DirectDraw* dd) {
    state.scaled = false;
    return dd_of(dd)->RestoreDisplayMode();
}

uint32_t dd_release(DirectDraw* dd) {
    scaled.window = nullptr;
    return dd_of(dd)->Release();
}

int32_t clipper_set_hwnd(Clipper* clipper, uint32_t flags, Window* window) {
    return reinterpret_cast<IDirectDrawClipper*>(clipper)->SetHWnd(flags, reinterpret_cast<HWND>(window));
}

uint32_t clipper_release(Clipper* clipper) { return reinterpret_cast<IDirectDrawClipper*>(clipper)->Release(); }

int32_t surface_get_attached(Surface* surface, uint32_t caps, Surface** out) {
    if (scaled.primary && surf_of(surface) == scaled.primary && (caps & DDSCAPS_BACKBUFFER)) {
        *out = reinterpret_cast<Surface*>(scaled.frame);
        return DD_OK;
    }
    DDSCAPS c{caps};
    return surf_of(surface)->GetAttachedSurface(&c, reinterpret_cast<IDirectDrawSurface**>(out));
}

int32_t surface_set_clipper(Surface* surface, Clipper* clipper) {
    return surf_of(surface)->SetClipper(reinterpret_cast<IDirectDrawClipper*>(clipper));
}

int32_t surface_get_pixel_format(Surface* surface, PixelFormat* format) {
    return surf_of(surface)->GetPixelFormat(reinterpret_cast<DDPIXELFORMAT*>(format));
}

int32_t surface_restore(Surface* surface) {
    if (scaled.primary && surf_of(surface) == scaled.primary) scaled.frame->Restore();
    return surf_of(surface)->Restore();
}

int32_t surface_lock(Surface* surface, const Rect* rect, SurfaceDesc* desc, uint32_t flags, void* event) {
    DDSURFACEDESC d{};
    d.dwSize = sizeof d;
    RECT r{};
    if (rect) r = {rect->left, rect->top, rect->right, rect->bottom};
    const HRESULT result = surf_of(surface)->Lock(rect ? &r : nullptr, &d, flags, static_cast<HANDLE>(event));
    if (FAILED(result)) return result;
    desc->flags = d.dwFlags;
    desc->width = d.dwWidth;
    desc->height = d.dwHeight;
    desc->pitch = d.lPitch;
    desc->surface = d.lpSurface;
    desc->caps = d.ddsCaps.dwCaps;
    return result;
}

int32_t surface_unlock(Surface* surface, void* memory) { return surf_of(surface)->Unlock(memory); }

int32_t surface_flip(Surface* surface, Surface* target, uint32_t flags) {
    if (scaled.primary && surf_of(surface) == scaled.primary) {
        present_scaled();
        return DD_OK;
    }
    return surf_of(surface)->Flip(surf_of(target), flags);
}

int32_t surface_blt(Surface* surface, const Rect* dest, Surface* source, const Rect* source_rect, uint32_t flags,
                    void* effects) {
    RECT d{}, s{};
    if (dest) d = {dest->left, dest->top, dest->right, dest->bottom};
    if (source_rect) s = {source_rect->left, source_rect->top, source_rect->right, source_rect->bottom};
    return surf_of(surface)->Blt(dest ? &d : nullptr, surf_of(source), source_rect ? &s : nullptr, flags,
                                 static_cast<DDBLTFX*>(effects));
}

uint32_t surface_release(Surface* surface) {
    if (scaled.primary && surf_of(surface) == scaled.primary) {
        scaled.frame->Release();
        scaled.frame = nullptr;
        scaled.primary = nullptr;
        state.scaled = false;
    }
    return surf_of(surface)->Release();
}

}  // namespace platform
#endif
