// window.cpp: the window system on SDL2: one window, its messages made from
// SDL's events, the message box, metrics, screen saver and cursor.
//
// - A window counts as in the background while it is hidden or minimised,
//   and in full screen also while it has lost the keyboard focus.
// - The full-screen window covers the desktop (see surfaces.cpp); mouse
//   positions arrive in frame pixels, because the renderer's logical size
//   maps them.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "platform/sdl/sdl_state.h"
#include "platform/surfaces.h"
#include "platform/window.h"

namespace platform {

using sdl::st;
using sdl::SdlState;

namespace {

intptr_t pack_point(int x, int y) { return intptr_t((uint32_t(y & 0xFFFF) << 16) | uint32_t(x & 0xFFFF)); }

void set_active(Window* w, bool active) {
    if (w->active == active) return;
    w->active = active;
    st().queue.push_back({w, WM_ACTIVATEAPP, active ? 1u : 0u, 0});
}

bool fullscreen() { return (st().dd.cooperative & DDSCL_FULLSCREEN) != 0; }

// Turns one SDL event into window messages and key state.
void translate(const SDL_Event& e) {
    SdlState& s = st();
    Window* w = s.window;
    if (!w) return;
    switch (e.type) {
        case SDL_QUIT: s.queue.push_back({w, WM_CLOSE, 0, 0}); break;
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
                case SDL_WINDOWEVENT_CLOSE: s.queue.push_back({w, WM_CLOSE, 0, 0}); break;
                case SDL_WINDOWEVENT_EXPOSED: s.queue.push_back({w, WM_PAINT, 0, 0}); break;
                case SDL_WINDOWEVENT_SHOWN:
                case SDL_WINDOWEVENT_RESTORED:
                case SDL_WINDOWEVENT_FOCUS_GAINED: set_active(w, true); break;
                case SDL_WINDOWEVENT_HIDDEN:
                case SDL_WINDOWEVENT_MINIMIZED: set_active(w, false); break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    if (fullscreen()) set_active(w, false);
                    break;
            }
            break;
        case SDL_KEYDOWN: {
            int vk = sdl::virtual_key(e.key.keysym.sym);
            if (!vk) break;
            sdl::key_event(vk, true, e.key.repeat != 0);
            s.queue.push_back({w, WM_KEYDOWN, uintptr_t(vk), 1});
            break;
        }
        case SDL_KEYUP: {
            int vk = sdl::virtual_key(e.key.keysym.sym);
            if (vk) sdl::key_event(vk, false, false);
            break;
        }
        case SDL_MOUSEMOTION: s.queue.push_back({w, WM_MOUSEMOVE, 0, pack_point(e.motion.x, e.motion.y)}); break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            bool down = e.type == SDL_MOUSEBUTTONDOWN;
            uint32_t m = 0;
            if (e.button.button == SDL_BUTTON_LEFT) m = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
            if (e.button.button == SDL_BUTTON_RIGHT) m = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
            if (m) s.queue.push_back({w, m, 0, pack_point(e.button.x, e.button.y)});
            break;
        }
    }
}

}  // namespace

// --- window system ---

int register_class(const WindowClass* wc) {
    SdlState& s = st();
    s.classes.push_back(*wc);
    s.class_names.push_back(wc->name ? wc->name : "");
    return 1;
}

Window* create_window(uint32_t, const char* class_name, const char* caption, uint32_t style, int x, int y, int width,
                      int height) {
    SdlState& s = st();
    const WindowClass* wc = nullptr;
    for (size_t i = 0; i < s.classes.size(); ++i)
        if (s.class_names[i] == (class_name ? class_name : "")) wc = &s.classes[i];
    if (!wc || s.window) return nullptr;
    uint32_t flags = SDL_WINDOW_HIDDEN;
    if (style & WS_POPUP) flags |= SDL_WINDOW_BORDERLESS;
    if (width <= 0 || height <= 0) {  // the full-screen window covers the desktop
        SDL_Rect bounds{0, 0, 800, 600};
        SDL_GetDisplayBounds(0, &bounds);
        x = bounds.x;
        y = bounds.y;
        width = bounds.w;
        height = bounds.h;
    }
    SDL_Window* sw = SDL_CreateWindow(caption ? caption : "", x, y, width, height, flags);
    if (!sw) return nullptr;
    Window* w = new Window{*wc, sw, style, false};
    w->window_class.name = nullptr;
    s.window = w;
    if (style & WS_VISIBLE) SDL_ShowWindow(sw);
    return w;
}

int show_window(Window* w, int) {
    if (!w) return 0;
    SDL_ShowWindow(w->sdl);
    SDL_RaiseWindow(w->sdl);
    return 1;
}

int destroy_window(Window* w) {
    SdlState& s = st();
    if (!w) return 0;
    SDL_DestroyWindow(w->sdl);
    if (s.window == w) s.window = nullptr;
    delete w;
    s.queue.clear();
    return 1;
}

int adjust_window_rect(Rect*, uint32_t, int) {
    // SDL sizes windows by their client area: no frame to add.
    return 1;
}

int get_system_metrics(int index) {
    SDL_DisplayMode m{};
    switch (index) {
        case SM_CXSCREEN:
            return SDL_GetDesktopDisplayMode(0, &m) == 0 ? m.w : 800;
        case SM_CYSCREEN:
            return SDL_GetDesktopDisplayMode(0, &m) == 0 ? m.h : 600;
        default:
            return 0;  // frames and captions are the window manager's, outside the client size
    }
}

int get_client_rect(Window* w, Rect* r) {
    if (!w) return 0;
    int cw = 0, ch = 0;
    SDL_GetWindowSize(w->sdl, &cw, &ch);
    *r = {0, 0, cw, ch};
    return 1;
}

int client_to_screen(Window* w, Point* p) {
    if (!w) return 0;
    int x = 0, y = 0;
    SDL_GetWindowPosition(w->sdl, &x, &y);
    p->x += x;
    p->y += y;
    return 1;
}

int message_box(Window*, const char* text, const char* caption, uint32_t) {
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"},
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
    };
    SDL_MessageBoxData box{};
    box.flags = SDL_MESSAGEBOX_INFORMATION;
    box.title = caption;
    box.message = text;
    box.numbuttons = 2;
    box.buttons = buttons;
    int answer = IDNO;
    if (SDL_ShowMessageBox(&box, &answer) != 0) return IDNO;  // no box: stay windowed
    return answer == IDYES ? IDYES : IDNO;
}

int peek_message(Message* m, Window*, uint32_t, uint32_t, uint32_t remove) {
    SdlState& s = st();
    SDL_Event e;
    while (s.queue.empty() && SDL_PollEvent(&e)) translate(e);
    if (s.queue.empty()) return 0;
    *m = s.queue.front();
    if (remove & PM_REMOVE) s.queue.pop_front();
    return 1;
}

int translate_message(const Message*) { return 0; }

intptr_t dispatch_message(const Message* m) {
    Window* w = st().window;
    if (!m->window || m->window != w) return 0;
    return w->window_class.proc(m->window, m->message, m->wparam, m->lparam);
}

intptr_t def_window_proc(Window*, uint32_t, uintptr_t, intptr_t) { return 0; }

int system_parameters_info(uint32_t action, uint32_t param, void*, uint32_t) {
    if (action != SPI_SETSCREENSAVEACTIVE) return 0;
    if (param)
        SDL_EnableScreenSaver();
    else
        SDL_DisableScreenSaver();
    return 1;
}

int show_cursor(int show) { return SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE) == SDL_ENABLE ? 0 : -1; }

void* set_cursor(void* cursor) {
    if (!cursor) SDL_ShowCursor(SDL_DISABLE);
    return nullptr;
}

void exit_process(int code) {
    std::fflush(nullptr);
    SDL_Quit();
    std::_Exit(code);
}

}  // namespace platform
