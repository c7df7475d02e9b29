// keys.h: the asynchronous key state of the keyboard's virtual keys (VK_*).
// Main thread only.
#pragma once
#include <cstdint>

namespace platform {

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

}  // namespace platform
