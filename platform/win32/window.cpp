// window.cpp: the window system on USER32, nearly one call per call. Window
// handles are HWNDs; the platform's window procedure receives the system's
// own message numbers and parameters through one trampoline, which looks the
// procedure up by the window's class. The question box is MessageBoxA, with
// Escape answering No (a Yes/No box has no Cancel button, so Windows would
// otherwise ignore Escape there) and Enter the default button, Yes.
#ifdef _WIN32
#include <cstdio>
#include <cstring>

#include "platform/win32/win32_state.h"

namespace platform {

namespace {

struct ClassEntry {
    ATOM atom;
    WindowProc proc;
};
ClassEntry classes[16];
int class_count;
HHOOK box_hook;

WindowProc proc_of(HWND hwnd) {
    const ATOM atom = ATOM(GetClassWord(hwnd, GCW_ATOM));
    for (int i = 0; i < class_count; ++i)
        if (classes[i].atom == atom) return classes[i].proc;
    return nullptr;
}

LRESULT CALLBACK trampoline(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    WindowProc proc = proc_of(hwnd);
    if (!proc) return DefWindowProcA(hwnd, message, wparam, lparam);
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) lparam = win32::frame_point(lparam);
    return proc(reinterpret_cast<Window*>(hwnd), message, wparam, lparam);
}

// Escape in the question box answers No.
LRESULT CALLBACK box_keys(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HC_ACTION && wparam == VK_ESCAPE && !(lparam & (LPARAM(1) << 31))) {
        if (HWND box = GetActiveWindow()) {
            PostMessageA(box, WM_COMMAND, IDNO, 0);
            return 1;
        }
    }
    return CallNextHookEx(box_hook, code, wparam, lparam);
}

HWND hwnd_of(Window* w) { return reinterpret_cast<HWND>(w); }

}  // namespace

int register_class(const WindowClass* wc) {
    if (!wc || !wc->name || class_count == int(sizeof classes / sizeof classes[0])) return 0;
    WNDCLASSA c{};
    c.style = wc->style;
    c.lpfnWndProc = trampoline;
    c.hInstance = GetModuleHandleA(nullptr);
    c.hCursor = wc->arrow_cursor ? LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)) : nullptr;
    c.lpszClassName = wc->name;
    const ATOM atom = RegisterClassA(&c);
    if (!atom) return 0;
    classes[class_count++] = {atom, wc->proc};
    return atom;
}

Window* create_window(uint32_t ex_style, const char* class_name, const char* caption, uint32_t style, int x, int y,
                      int width, int height) {
    return reinterpret_cast<Window*>(CreateWindowExA(ex_style, class_name, caption, style, x, y, width, height,
                                                     nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
}

int show_window(Window* w, int command) { return ShowWindow(hwnd_of(w), command); }
int destroy_window(Window* w) { return DestroyWindow(hwnd_of(w)); }

int adjust_window_rect(Rect* r, uint32_t style, int has_menu) {
    return AdjustWindowRect(reinterpret_cast<RECT*>(r), style, has_menu);
}

int get_system_metrics(int index) { return GetSystemMetrics(index); }
int get_client_rect(Window* w, Rect* r) { return GetClientRect(hwnd_of(w), reinterpret_cast<RECT*>(r)); }
int client_to_screen(Window* w, Point* p) { return ClientToScreen(hwnd_of(w), reinterpret_cast<POINT*>(p)); }

int message_box(Window* owner, const char* text, const char* caption, uint32_t style) {
    box_hook = SetWindowsHookExA(WH_KEYBOARD, box_keys, nullptr, GetCurrentThreadId());
    const int answer = MessageBoxA(hwnd_of(owner), text, caption, style);
    if (box_hook) UnhookWindowsHookEx(box_hook);
    box_hook = nullptr;
    return answer;
}

int peek_message(Message* m, Window* w, uint32_t first, uint32_t last, uint32_t remove) {
    MSG msg;
    if (!PeekMessageA(&msg, hwnd_of(w), first, last, remove)) return 0;
    *m = {reinterpret_cast<Window*>(msg.hwnd), msg.message, msg.wParam, msg.lParam};
    return 1;
}

namespace {
MSG native(const Message* m) {
    MSG msg{};
    msg.hwnd = hwnd_of(m->window);
    msg.message = m->message;
    msg.wParam = m->wparam;
    msg.lParam = m->lparam;
    msg.time = GetMessageTime();
    const DWORD pos = GetMessagePos();
    msg.pt = {short(LOWORD(pos)), short(HIWORD(pos))};
    return msg;
}
}  // namespace

int translate_message(const Message* m) {
    const MSG msg = native(m);
    return TranslateMessage(&msg);
}

intptr_t dispatch_message(const Message* m) {
    const MSG msg = native(m);
    return DispatchMessageA(&msg);
}

intptr_t def_window_proc(Window* w, uint32_t message, uintptr_t wparam, intptr_t lparam) {
    return DefWindowProcA(hwnd_of(w), message, wparam, lparam);
}

int system_parameters_info(uint32_t action, uint32_t param, void* pointer, uint32_t flags) {
    return SystemParametersInfoA(action, param, pointer, flags);
}

int show_cursor(int show) { return ShowCursor(show); }
void* set_cursor(void* cursor) { return SetCursor(static_cast<HCURSOR>(cursor)); }

void exit_process(int code) {
    std::fflush(nullptr);
    ExitProcess(UINT(code));
}

}  // namespace platform
#endif
