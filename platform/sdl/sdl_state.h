// sdl_state.h: the SDL back end's one state record and the handle types its
// files share (window.cpp, keys.cpp, surfaces.cpp). Not for use outside
// platform/sdl/.
#pragma once
#include <SDL.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/surfaces.h"
#include "platform/window.h"

namespace platform {

struct Window {
    WindowClass window_class;
    SDL_Window* sdl;
    uint32_t style;
    bool active;
};

struct Surface {
    bool primary;
    SDL_Texture* texture;  // back buffer or offscreen surface
    Surface* attached;
    uint32_t width, height;
    uint32_t format;  // SDL pixel format
};

struct Clipper {
    Window* window;
};

struct DirectDraw {
    uint32_t cooperative;
    uint32_t mode_width, mode_height, mode_bits;
};

struct Library {
    int unused;
};

namespace sdl {

struct SdlState {
    Library library;
    bool library_loaded;
    DirectDraw dd;
    std::vector<WindowClass> classes;
    std::vector<std::string> class_names;
    Window* window;
    SDL_Renderer* renderer;
    Surface primary, back, offscreen;
    Clipper clipper;
    std::deque<Message> queue;
};

inline SdlState& st() {
    static SdlState s{};
    return s;
}

// keys.cpp: the virtual key of an SDL key (0 for keys the program has no
// code for), and a key going down or up in the key state.
int virtual_key(SDL_Keycode key);
void key_event(int virtual_key, bool down, bool repeat);

}  // namespace sdl
}  // namespace platform
