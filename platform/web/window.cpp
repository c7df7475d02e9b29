// window.cpp: the window system on the page. The one window is the page's
// canvas; its messages come from the page's events, queued by
// page/quillon-web.js in the order they happened (keys, the mouse in frame
// pixels, the page being hidden or shown) and taken out by peek_message.
// The question box is the page's own dialog: message_box waits for its
// answer, yielding to the browser meanwhile, and the answer's click or key is
// the user gesture on which the page asks for full screen (Yes) and starts
// its audio context (either answer). Closing the window leaves the still page
// that says the issue is closed.
#include <emscripten.h>

#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "platform/window.h"
#include "platform/web/web_state.h"

// clang-format off
EM_JS(int, web_screen_size, (int vertical), {
    return vertical ? (window.innerHeight | 0) : (window.innerWidth | 0);
});
EM_JS(void, web_show_canvas, (int show), { QuillonWeb.showCanvas(!!show); });
EM_JS(void, web_closed, (), { QuillonWeb.closed(); });
EM_JS(void, web_ask, (const char* text), { QuillonWeb.ask(UTF8ToString(text)); });
EM_JS(int, web_answer, (), { return QuillonWeb.answer | 0; });
EM_JS(void, web_cursor, (int show), { QuillonWeb.showCursor(!!show); });
EM_JS(int, web_next_event, (uint32_t* out), {
    var e = QuillonWeb.nextEvent();
    if (!e) return 0;
    HEAPU32[out >> 2] = e[0];
    HEAPU32[(out >> 2) + 1] = e[1];
    HEAP32[(out >> 2) + 2] = e[2];
    return 1;
});
// clang-format on

namespace platform {

struct Window {
    WindowClass window_class;
    uint32_t style;
};

namespace {
struct WindowState {
    std::vector<WindowClass> classes;
    std::vector<std::string> class_names;
    Window* window;
    std::deque<Message> queue;
    int cursor_count;
};
WindowState ws;
}  // namespace

namespace web {
void post_message(uint32_t message, uintptr_t wparam, intptr_t lparam) {
    if (ws.window) ws.queue.push_back({ws.window, message, wparam, lparam});
}
}  // namespace web

int register_class(const WindowClass* wc) {
    ws.classes.push_back(*wc);
    ws.class_names.push_back(wc->name ? wc->name : "");
    return 1;
}

Window* create_window(uint32_t, const char* class_name, const char*, uint32_t style, int, int, int, int) {
    const WindowClass* wc = nullptr;
    for (size_t i = 0; i < ws.classes.size(); ++i)
        if (ws.class_names[i] == (class_name ? class_name : "")) wc = &ws.classes[i];
    if (!wc || ws.window) return nullptr;
    ws.window = new Window{*wc, style};
    ws.window->window_class.name = nullptr;
    if (style & WS_VISIBLE) show_window(ws.window, SW_SHOWNORMAL);
    return ws.window;
}

int show_window(Window* w, int) {
    if (!w) return 0;
    web_show_canvas(1);
    web::post_message(WM_ACTIVATEAPP, 1, 0);
    return 1;
}

int destroy_window(Window* w) {
    if (!w) return 0;
    if (ws.window == w) ws.window = nullptr;
    delete w;
    ws.queue.clear();
    web_closed();
    return 1;
}

int adjust_window_rect(Rect*, uint32_t, int) { return 1; }  // the canvas has no frame

int get_system_metrics(int index) {
    switch (index) {
        case SM_CXSCREEN: return web_screen_size(0);
        case SM_CYSCREEN: return web_screen_size(1);
        default: return 0;
    }
}

int get_client_rect(Window* w, Rect* r) {
    if (!w) return 0;
    *r = {0, 0, 800, 600};  // the canvas's backing store; the page scales it
    return 1;
}

int client_to_screen(Window* w, Point*) { return w ? 1 : 0; }

int message_box(Window*, const char* text, const char*, uint32_t) {
    web_ask(text);
    while (web_answer() == 0) web::wait_ms(20);
    return web_answer() == IDYES ? IDYES : IDNO;
}

int peek_message(Message* m, Window*, uint32_t, uint32_t, uint32_t remove) {
    if (!ws.window) return 0;
    uint32_t e[3];
    while (ws.queue.empty() && web_next_event(e)) ws.queue.push_back({ws.window, e[0], e[1], intptr_t(int32_t(e[2]))});
    if (ws.queue.empty()) return 0;
    *m = ws.queue.front();
    if (remove & PM_REMOVE) ws.queue.pop_front();
    return 1;
}

int translate_message(const Message*) { return 0; }

intptr_t dispatch_message(const Message* m) {
    if (!m->window || m->window != ws.window) return 0;
    return ws.window->window_class.proc(m->window, m->message, m->wparam, m->lparam);
}

intptr_t def_window_proc(Window*, uint32_t, uintptr_t, intptr_t) { return 0; }

int system_parameters_info(uint32_t action, uint32_t, void*, uint32_t) {
    return action == SPI_SETSCREENSAVEACTIVE ? 1 : 0;  // the browser keeps its own screen saver
}

int show_cursor(int show) {
    ws.cursor_count += show ? 1 : -1;
    web_cursor(ws.cursor_count >= 0);
    return ws.cursor_count;
}

void* set_cursor(void* cursor) {
    if (!cursor) web_cursor(0);
    return nullptr;
}

void exit_process(int code) {
    if (ws.window) destroy_window(ws.window);
    emscripten_force_exit(code);
    std::_Exit(code);
}

}  // namespace platform
