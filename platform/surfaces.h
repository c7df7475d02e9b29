// surfaces.h: DirectDraw-style presentation: "ddraw.dll" loaded at run time
// (load_library, get_proc_address "DirectDrawCreate", free_library), the
// DirectDraw object (dd_*), clippers (clipper_*) and surfaces (surface_*) with
// their descriptions, pixel formats and DD* flags. Failed calls return a
// negative result. Main thread only.
#pragma once
#include <cstdint>

#include "platform/window.h"

namespace platform {

struct Library;
struct DirectDraw;
struct Surface;
struct Clipper;

using DirectDrawCreateFn = int32_t (*)(void* guid, DirectDraw** out, void* outer);

Library* load_library(const char* name);          // "ddraw.dll"; null when no display can be reached
void* get_proc_address(Library* library, const char* name);  // "DirectDrawCreate"
int free_library(Library* library);

// The generic failure result of a surface call (a negative result).
constexpr int32_t DDERR_GENERIC = int32_t(0x80004005u);

enum : uint32_t { DDSCL_FULLSCREEN = 0x01, DDSCL_NORMAL = 0x08, DDSCL_EXCLUSIVE = 0x10 };
enum : uint32_t { DDSD_CAPS = 0x01, DDSD_HEIGHT = 0x02, DDSD_WIDTH = 0x04, DDSD_PITCH = 0x08, DDSD_BACKBUFFERCOUNT = 0x20 };
enum : uint32_t {
    DDSCAPS_BACKBUFFER = 0x0004,
    DDSCAPS_COMPLEX = 0x0008,
    DDSCAPS_FLIP = 0x0010,
    DDSCAPS_OFFSCREENPLAIN = 0x0040,
    DDSCAPS_PRIMARYSURFACE = 0x0200,
    DDSCAPS_VIDEOMEMORY = 0x4000,
};
enum : uint32_t { DDPF_RGB = 0x40 };
enum : uint32_t { DDLOCK_WAIT = 0x01 };
enum : uint32_t { DDFLIP_WAIT = 0x01, DDFLIP_NOVSYNC = 0x08 };
enum : uint32_t { DDBLT_WAIT = 0x01000000u };

struct SurfaceDesc {
    uint32_t size;  // 108
    uint32_t flags;
    uint32_t height;
    uint32_t width;
    int32_t pitch;  // bytes per row, filled by lock
    uint32_t back_buffer_count;
    void* surface;  // memory, filled by lock
    uint32_t caps;
};

struct PixelFormat {
    uint32_t size;  // 32
    uint32_t flags;
    uint32_t four_cc;
    uint32_t rgb_bit_count;
    uint32_t r_mask, g_mask, b_mask, alpha_mask;
};

int32_t dd_set_cooperative_level(DirectDraw* dd, Window* window, uint32_t flags);
int32_t dd_set_display_mode(DirectDraw* dd, uint32_t width, uint32_t height, uint32_t bits_per_pixel);
int32_t dd_create_surface(DirectDraw* dd, const SurfaceDesc* desc, Surface** out, void* outer);
int32_t dd_create_clipper(DirectDraw* dd, uint32_t flags, Clipper** out, void* outer);
int32_t dd_restore_display_mode(DirectDraw* dd);
uint32_t dd_release(DirectDraw* dd);

int32_t clipper_set_hwnd(Clipper* clipper, uint32_t flags, Window* window);
uint32_t clipper_release(Clipper* clipper);

int32_t surface_get_attached(Surface* surface, uint32_t caps, Surface** out);
int32_t surface_set_clipper(Surface* surface, Clipper* clipper);
int32_t surface_get_pixel_format(Surface* surface, PixelFormat* format);
int32_t surface_restore(Surface* surface);
int32_t surface_lock(Surface* surface, const Rect* rect, SurfaceDesc* desc, uint32_t flags, void* event);
int32_t surface_unlock(Surface* surface, void* memory);
int32_t surface_flip(Surface* surface, Surface* target, uint32_t flags);
int32_t surface_blt(Surface* surface, const Rect* dest, Surface* source, const Rect* source_rect, uint32_t flags,
                    void* effects);
uint32_t surface_release(Surface* surface);

}  // namespace platform
