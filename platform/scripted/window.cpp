// window.cpp: the scripted window system: windows and classes in memory, the
// message queue that each pump fills with the frame's scripted input (see
// script.cpp), the message box's configured answer, the configured metrics,
// and the cursor and screen-saver settings, logged.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/scripted/scripted_state.h"
#include "platform/window.h"

namespace platform {

using script::Call;
using script::detail::failing;
using script::detail::record;
using script::detail::state;

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

int show_cursor(int show) {
    record("ShowCursor", show);
    return state().cursor_counter += show ? 1 : -1;
}

void* set_cursor(void* cursor) {
    record("SetCursor", cursor ? 1 : 0);
    return nullptr;
}

int system_parameters_info(uint32_t action, uint32_t param, void*, uint32_t flags) {
    record("SystemParametersInfo", action, param, flags);
    if (action == SPI_SETSCREENSAVEACTIVE) state().screensaver = int(param);
    return 1;
}

void exit_process(int code) {
    record("ExitProcess", code);
    std::fflush(nullptr);
    std::_Exit(code);
}

}  // namespace platform
