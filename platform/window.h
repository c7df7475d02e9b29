// window.h: the window system: window class and window, the message pump and
// the window procedure's messages (WM_*), window styles (WS_*), the Yes/No
// message box, system metrics, the screen-saver setting, the system cursor
// and ending the process. Calls keep the desktop platform's flags, message
// numbers and results (0 for a failed call). Main thread only.
#pragma once
#include <cstdint>

namespace platform {

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

}  // namespace platform
