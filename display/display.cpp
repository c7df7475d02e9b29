// display.cpp: opening, presenting and closing the display through the
// platform's window system and DirectDraw-style surfaces, and the window
// procedure that captures the mouse, the activation state and close requests.
#include "display/display.h"

#include <cstddef>

#include "display/display_state.h"
#include "platform/pacing.h"
#include "platform/surfaces.h"
#include "platform/threads.h"
#include "platform/window.h"

namespace display {

using namespace platform;

DisplayState display_state;

namespace {
DisplayState& ds = display_state;
constexpr uint32_t desc_size = 108;
}  // namespace

void display_set_question(uint8_t ask, const char* question, int32_t windowed, uint8_t borderless) {
    ds.ask = ask;
    ds.question = (question && question[0]) ? question : "Fullscreen Mode ?";
    if (!ask) ds.windowed = windowed;
    ds.borderless = borderless;
}

void display_set_close_allowed(uint8_t flag) { ds.close_allowed = flag; }
void display_set_flip_wait(int32_t flag) { ds.flip_wait = flag; }

int32_t display_mouse_x() { return ds.mouse_x; }
int32_t display_mouse_y() { return ds.mouse_y; }
int32_t display_mouse_left() { return ds.mouse_left; }
int32_t display_mouse_right() { return ds.mouse_right; }

static int open_fullscreen(const char* title) {
    WindowClass wc{0, display_window_proc, false, title};
    register_class(&wc);
    set_cursor(nullptr);
    ds.window = create_window(0, title, title, WS_POPUP, 0, 0, 0, 0);
    if (dd_set_cooperative_level(ds.direct_draw, ds.window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN) < 0) return 0;
    if (dd_set_display_mode(ds.direct_draw, uint32_t(ds.width), uint32_t(ds.height), 32) < 0 &&
        dd_set_display_mode(ds.direct_draw, uint32_t(ds.width), uint32_t(ds.height), 24) < 0 &&
        dd_set_display_mode(ds.direct_draw, uint32_t(ds.width), uint32_t(ds.height), 16) < 0)
        return 0;

    SurfaceDesc desc{};
    desc.size = desc_size;
    desc.flags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.back_buffer_count = 2;
    desc.caps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_VIDEOMEMORY;
    if (dd_create_surface(ds.direct_draw, &desc, &ds.primary, nullptr) < 0) {
        desc.back_buffer_count = 1;
        if (dd_create_surface(ds.direct_draw, &desc, &ds.primary, nullptr) < 0) {
            SurfaceDesc lone{};
            lone.size = desc_size;
            lone.flags = DDSD_CAPS;
            lone.caps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_VIDEOMEMORY;
            if (dd_create_surface(ds.direct_draw, &lone, &ds.primary, nullptr) < 0) return 0;
        }
    }
    if (surface_get_attached(ds.primary, DDSCAPS_BACKBUFFER, &ds.drawing_surface) < 0) return 0;
    return 1;
}

static int open_window(const char* title) {
    WindowClass wc{CS_HREDRAW | CS_VREDRAW, display_window_proc, true, title};
    register_class(&wc);
    Rect r{0, 0, ds.width, ds.height};
    adjust_window_rect(&r, WS_OVERLAPPEDWINDOW, 0);
    int outer_w = r.right - r.left;
    int outer_h = r.bottom - r.top;
    int x = (get_system_metrics(SM_CXSCREEN) - outer_w) >> 1;
    int y = (get_system_metrics(SM_CYSCREEN) - outer_h) >> 1;
    if (!ds.borderless) {
        ds.window = create_window(0, title, title, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, x, y, outer_w, outer_h);
    } else {
        // A pop-up has no frame, so its size is the client size. Taking two
        // dialog frames and a caption off the framed size would leave more
        // wherever the sizing frame is wider than a dialog frame (on Windows
        // it always is), and every frame would then be stretched.
        outer_w = ds.width;
        outer_h = ds.height;
        ds.window = create_window(0, title, title, WS_POPUP | WS_VISIBLE, x, y, outer_w, outer_h);
    }
    show_window(ds.window, SW_SHOWNORMAL);
    if (dd_set_cooperative_level(ds.direct_draw, ds.window, DDSCL_NORMAL) < 0) return 0;

    SurfaceDesc desc{};
    desc.size = desc_size;
    desc.flags = DDSD_CAPS;
    desc.caps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_VIDEOMEMORY;
    if (dd_create_surface(ds.direct_draw, &desc, &ds.primary, nullptr) < 0) return 0;
    desc.flags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.caps = DDSCAPS_OFFSCREENPLAIN;
    desc.width = uint32_t(ds.width);
    desc.height = uint32_t(ds.height);
    if (dd_create_surface(ds.direct_draw, &desc, &ds.offscreen, nullptr) < 0) return 0;
    if (dd_create_clipper(ds.direct_draw, 0, &ds.clipper, nullptr) < 0) return 0;
    if (clipper_set_hwnd(ds.clipper, 0, ds.window) < 0) return 0;
    if (surface_set_clipper(ds.primary, ds.clipper) < 0) return 0;
    ds.drawing_surface = ds.offscreen;
    return 1;
}

int32_t display_open(const char* title, int32_t width, int32_t height) {
    ds.width = width;
    ds.height = height;
    ds.library = load_library("ddraw.dll");
    if (!ds.library) return 0;
    auto create = reinterpret_cast<DirectDrawCreateFn>(get_proc_address(ds.library, "DirectDrawCreate"));
    if (!create) return 0;
    if (create(nullptr, &ds.direct_draw, nullptr) < 0) return 0;

    if (ds.ask == 1) {
        int answer = message_box(nullptr, ds.question, title, MB_YESNO | MB_ICONQUESTION);
        ds.windowed = answer == IDNO ? 1 : 0;
    }
    if (ds.windowed == 0) {
        if (!open_fullscreen(title)) return 0;
    } else {
        if (!open_window(title)) return 0;
    }

    PixelFormat pf{};
    pf.size = 32;
    if (surface_get_pixel_format(ds.primary, &pf) < 0) return 0;
    if (!(pf.flags & DDPF_RGB)) return 0;
    ds.converter = pick_row_converter(pf.rgb_bit_count, pf.r_mask, pf.g_mask, pf.b_mask);
    if (!ds.converter) return 0;

    system_parameters_info(SPI_SETSCREENSAVEACTIVE, 0, nullptr, 0);
    return 1;
}

void display_blit_window() {
    if (!ds.primary || !ds.offscreen) return;
    Rect client{};
    get_client_rect(ds.window, &client);
    Point origin{0, 0};
    client_to_screen(ds.window, &origin);
    Rect dest{client.left + origin.x, client.top + origin.y, client.right + origin.x, client.bottom + origin.y};
    Rect source{0, 0, ds.width, ds.height};
    surface_blt(ds.primary, &dest, ds.offscreen, &source, DDBLT_WAIT, nullptr);
}

int32_t display_update(const uint32_t* pixels) {
    Message msg;
    while (peek_message(&msg, ds.window, 0, 0, PM_REMOVE)) {
        translate_message(&msg);
        dispatch_message(&msg);
    }
    if (ds.active != 0) {
        surface_restore(ds.primary);
        if (ds.windowed) surface_restore(ds.offscreen);
        SurfaceDesc desc{};
        desc.size = desc_size;
        if (surface_lock(ds.drawing_surface, nullptr, &desc, DDLOCK_WAIT, nullptr) < 0) {
            // A lost frame keeps the beat too, or the loop would run unchecked
            // while the surface stays lost.
            pace_frame();
            return 0;
        }
        uint8_t* memory = static_cast<uint8_t*>(desc.surface);
        for (int32_t r = 0; r < ds.height; ++r)
            ds.converter(pixels + size_t(r) * size_t(ds.width), memory + size_t(r) * size_t(desc.pitch), ds.width);
        surface_unlock(ds.drawing_surface, desc.surface);
        if (ds.windowed)
            display_blit_window();
        else
            surface_flip(ds.primary, nullptr, ds.flip_wait ? DDFLIP_WAIT : DDFLIP_NOVSYNC);
        sleep_ms(0);
    }
    if (ds.windowed) sleep_ms(1);
    // Frames keep a steady pace of at most 60 a second, presented or not, so
    // that every per-frame motion runs at the same speed on every machine.
    pace_frame();
    return 1;
}

void display_close() {
    if (ds.windowed && ds.offscreen) {
        surface_release(ds.offscreen);
        ds.offscreen = nullptr;
    }
    if (ds.primary) {
        surface_release(ds.primary);
        ds.primary = nullptr;
        ds.drawing_surface = nullptr;
    }
    if (ds.direct_draw) {
        dd_restore_display_mode(ds.direct_draw);
        dd_set_cooperative_level(ds.direct_draw, ds.window, DDSCL_NORMAL);
        dd_release(ds.direct_draw);
        ds.direct_draw = nullptr;
    }
    if (ds.window) {
        destroy_window(ds.window);
        ds.window = nullptr;
    }
    if (ds.library) {
        free_library(ds.library);
        ds.library = nullptr;
    }
    system_parameters_info(SPI_SETSCREENSAVEACTIVE, 1, nullptr, 0);
}

intptr_t display_window_proc(Window* window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
    switch (message) {
        case WM_PAINT:
            if (ds.primary) display_blit_window();
            return def_window_proc(window, message, wparam, lparam);
        case WM_CLOSE:
            if (ds.close_allowed) {
                display_close();
                exit_process(0);
            }
            return 0;
        case WM_ACTIVATEAPP:
            ds.active = int32_t(wparam);
            return 0;
        case WM_KEYDOWN:
            if ((wparam & 0xFF) == 27 && ds.close_allowed) {
                display_close();
                exit_process(0);
            }
            return 0;
        case WM_MOUSEMOVE:
            ds.mouse_x = int32_t(uint32_t(lparam) & 0xFFFF);
            ds.mouse_y = int32_t((uint32_t(lparam) >> 16) & 0xFFFF);
            return 0;
        case WM_LBUTTONDOWN: ds.mouse_left = 1; return 0;
        case WM_LBUTTONUP: ds.mouse_left = 0; return 0;
        case WM_RBUTTONDOWN: ds.mouse_right = 1; return 0;
        case WM_RBUTTONUP: ds.mouse_right = 0; return 0;
        default: return def_window_proc(window, message, wparam, lparam);
    }
}

}  // namespace display
