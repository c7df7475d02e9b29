// platform.h: the small layer that stands in for a desktop platform's window
// system, DirectDraw-style surfaces, asynchronous key state, wave output,
// threads, sleeping and a private heap.
//
// The display library, the viewer and the music player are written against
// these calls exactly as they would be against the desktop platform; the calls
// keep that platform's flags, message numbers and result conventions (negative
// results for failed surface calls, 0 for failed window calls). Two back ends
// implement them, chosen at link time:
//   platform_sdl       the real one, on SDL2 (window, input, audio)
//   platform_scripted  deterministic, for tests; see platform/scripted.h
// Threads and the heap are shared by both (platform/common).
//
// Everything here is called from the main thread, except the thread, sleep,
// heap and wave-position calls, which the music player's thread also uses.
#pragma once
#include <cstddef>
#include <cstdint>

namespace platform {

// ---------------------------------------------------------------------------
// Window system
// ---------------------------------------------------------------------------
struct Window;  // opaque window handle

using WindowProc = intptr_t (*)(Window* window, uint32_t message, uintptr_t wparam, intptr_t lparam);

enum : uint32_t {
    WM_PAINT = 0x000F,
    WM_CLOSE = 0x0010,
    WM_ACTIVATEAPP = 0x001C,
    WM_KEYDOWN = 0x0100,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
};

enum : uint32_t {
    WS_POPUP = 0x80000000u,
    WS_VISIBLE = 0x10000000u,
    WS_CAPTION = 0x00C00000u,
    WS_SYSMENU = 0x00080000u,
    WS_MINIMIZEBOX = 0x00020000u,
    WS_OVERLAPPEDWINDOW = 0x00CF0000u,
};

enum : uint32_t { CS_VREDRAW = 1, CS_HREDRAW = 2 };
enum : int { SW_SHOWNORMAL = 1 };
enum : int { SM_CXSCREEN = 0, SM_CYSCREEN = 1, SM_CXDLGFRAME = 7, SM_CYDLGFRAME = 8, SM_CYCAPTION = 4 };
enum : uint32_t { MB_YESNO = 0x04, MB_ICONQUESTION = 0x20 };
enum : int { IDYES = 6, IDNO = 7 };
enum : uint32_t { PM_REMOVE = 1 };
enum : uint32_t { SPI_SETSCREENSAVEACTIVE = 17 };

struct Rect {
    int32_t left, top, right, bottom;
};
struct Point {
    int32_t x, y;
};

struct WindowClass {
    uint32_t style;
    WindowProc proc;
    bool arrow_cursor;  // the standard arrow cursor, or none
    const char* name;
};

struct Message {
    Window* window;
    uint32_t message;
    uintptr_t wparam;
    intptr_t lparam;
};

int register_class(const WindowClass* window_class);  // non-zero on success
Window* create_window(uint32_t ex_style, const char* class_name, const char* caption, uint32_t style, int x, int y,
                      int width, int height);  // null on failure
int show_window(Window* window, int command);
int destroy_window(Window* window);
int adjust_window_rect(Rect* rect, uint32_t style, int has_menu);
int get_system_metrics(int index);
int get_client_rect(Window* window, Rect* rect);
int client_to_screen(Window* window, Point* point);
int message_box(Window* owner, const char* text, const char* caption, uint32_t style);  // IDYES or IDNO
int peek_message(Message* message, Window* window, uint32_t first, uint32_t last, uint32_t remove);
int translate_message(const Message* message);
intptr_t dispatch_message(const Message* message);  // calls the window's class procedure
intptr_t def_window_proc(Window* window, uint32_t message, uintptr_t wparam, intptr_t lparam);
int system_parameters_info(uint32_t action, uint32_t param, void* pointer, uint32_t flags);
int show_cursor(int show);     // the system cursor over our window
void* set_cursor(void* cursor);  // null hides it for this thread
[[noreturn]] void exit_process(int code);

// Asynchronous key state of a virtual key: bit 0x8000 while the key is down
// now, bit 0x0001 when it was pressed since the previous query of that key.
enum : int {
    VK_ESCAPE = 27,
    VK_END = 35,
    VK_HOME = 36,
    VK_UP = 38,
    VK_DOWN = 40,
    VK_F1 = 112,
    VK_F10 = 121,
    VK_F11 = 122,
};
uint16_t get_async_key_state(int virtual_key);

// ---------------------------------------------------------------------------
// DirectDraw-style presentation
// ---------------------------------------------------------------------------
struct Library;
struct DirectDraw;
struct Surface;
struct Clipper;

using DirectDrawCreateFn = int32_t (*)(void* guid, DirectDraw** out, void* outer);

Library* load_library(const char* name);          // "ddraw.dll"; null when no display can be reached
void* get_proc_address(Library* library, const char* name);  // "DirectDrawCreate"
int free_library(Library* library);

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

// Frame pacing: returns no sooner than 1/60 s after its previous return, so
// per-frame motion runs at the same speed on every machine. The scripted back
// end returns at once.
void pace_frame();

// ---------------------------------------------------------------------------
// Wave output: one looping buffer of 16-bit signed stereo PCM at 44,100 Hz.
// ---------------------------------------------------------------------------
struct WaveOut;

struct WaveFormat {
    uint16_t format_tag;  // 1 = PCM
    uint16_t channels;
    uint32_t samples_per_sec;
    uint32_t avg_bytes_per_sec;
    uint16_t block_align;
    uint16_t bits_per_sample;
};

struct WaveHeader {
    uint8_t* data;
    uint32_t length;  // bytes
    uint32_t flags;
    uint32_t loops;
};

enum : uint32_t { WHDR_BEGINLOOP = 0x04, WHDR_ENDLOOP = 0x08 };
enum : uint32_t { TIME_BYTES = 4 };

struct MMTime {
    uint32_t type;  // TIME_BYTES
    uint32_t bytes;
};

// Results follow the wave-output convention: 0 is success, non-zero an error.
uint32_t wave_out_open(WaveOut** out, const WaveFormat* format);
uint32_t wave_out_prepare_header(WaveOut* device, WaveHeader* header);
uint32_t wave_out_write(WaveOut* device, WaveHeader* header);
uint32_t wave_out_pause(WaveOut* device);
uint32_t wave_out_restart(WaveOut* device);
uint32_t wave_out_reset(WaveOut* device);
uint32_t wave_out_unprepare_header(WaveOut* device, WaveHeader* header);
uint32_t wave_out_close(WaveOut* device);
// Bytes the device has consumed since the write (or the last reset); safe to
// call from any thread.
uint32_t wave_out_get_position(WaveOut* device, MMTime* time);

// ---------------------------------------------------------------------------
// Threads and sleeping (platform/common, shared by both back ends)
// ---------------------------------------------------------------------------
struct Thread;
using ThreadFn = void (*)();

Thread* thread_create(ThreadFn fn);      // running at once; null on failure
int thread_set_priority_time_critical(Thread* thread);  // 0 when the system refuses (not an error)
void thread_wait(Thread* thread);        // waits for the thread to end, no time-out
void thread_close(Thread* thread);       // frees the handle of an ended thread
void sleep_ms(uint32_t milliseconds);
int live_threads();                      // threads created and not yet ended (tests)

// ---------------------------------------------------------------------------
// Private growable heap: zero-filled blocks, dropped as a whole.
// ---------------------------------------------------------------------------
struct Heap;

constexpr size_t heap_limit = size_t(256) << 20;  // a heap never grows past 256 MiB

Heap* heap_create();                       // null on failure
void* heap_alloc(Heap* heap, size_t size);  // zero-filled; null on failure or past heap_limit
void heap_destroy(Heap* heap);
size_t heap_bytes(const Heap* heap);       // bytes handed out so far
int live_heaps();                          // heaps created and not destroyed (tests)

// ---------------------------------------------------------------------------
// Named built-in byte blocks: what executable resources are on the desktop
// platform. The program registers its own blocks under a module handle; the
// music player's resource source looks them up by name.
// ---------------------------------------------------------------------------
void register_resource(int module_handle, const char* name, const uint8_t* data, uint32_t size);
// 1 with data and size filled when found, else 0.
int find_resource(int module_handle, const char* name, const uint8_t** data, uint32_t* size);

}  // namespace platform
