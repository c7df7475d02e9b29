// keys.cpp: the asynchronous key state on SDL2. The window's events (see
// window.cpp) mark a key down, up and pressed; a query returns 0x8000 while it
// is down and 0x0001 when it was pressed since the previous query of that key.
#include <SDL.h>

#include "platform/keys.h"
#include "platform/sdl/sdl_state.h"

namespace platform {

namespace {
struct KeyTrack {
    bool down, pressed;
};
KeyTrack keys[256];
}  // namespace

namespace sdl {

int virtual_key(SDL_Keycode k) {
    switch (k) {
        case SDLK_ESCAPE: return VK_ESCAPE;
        case SDLK_END: return VK_END;
        case SDLK_HOME: return VK_HOME;
        case SDLK_UP: return VK_UP;
        case SDLK_DOWN: return VK_DOWN;
        case SDLK_LEFT: return 37;
        case SDLK_RIGHT: return 39;
        case SDLK_PAGEUP: return 33;
        case SDLK_PAGEDOWN: return 34;
        case SDLK_RETURN: return 13;
        case SDLK_SPACE: return 32;
        default: break;
    }
    if (k >= SDLK_F1 && k <= SDLK_F12) return VK_F1 + int(k - SDLK_F1);
    if (k >= SDLK_a && k <= SDLK_z) return 'A' + int(k - SDLK_a);
    if (k >= SDLK_0 && k <= SDLK_9) return '0' + int(k - SDLK_0);
    return 0;
}

void key_event(int vk, bool down, bool repeat) {
    KeyTrack& k = keys[vk & 255];
    if (down && !repeat) k.pressed = true;
    k.down = down;
}

}  // namespace sdl

uint16_t get_async_key_state(int vk) {
    KeyTrack& k = keys[vk & 255];
    uint16_t r = uint16_t((k.down ? 0x8000 : 0) | (k.pressed ? 1 : 0));
    k.pressed = false;
    return r;
}

}  // namespace platform
