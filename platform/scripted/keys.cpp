// keys.cpp: the scripted asynchronous key state: what the frame's scripted
// input (script.cpp) holds down or taps.
#include "platform/keys.h"
#include "platform/scripted/scripted_state.h"

namespace platform {

using script::detail::state;

uint16_t get_async_key_state(int virtual_key) {
    script::detail::KeyTrack& k = state().keys[virtual_key & 255];
    uint16_t r = uint16_t((k.down ? 0x8000 : 0) | (k.pressed ? 1 : 0));
    k.pressed = false;
    return r;
}

}  // namespace platform
