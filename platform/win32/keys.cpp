// keys.cpp: the asynchronous key state is GetAsyncKeyState's, bit for bit.
#ifdef _WIN32
#include "platform/win32/win32_state.h"

namespace platform {
uint16_t get_async_key_state(int virtual_key) { return uint16_t(GetAsyncKeyState(virtual_key)); }
}  // namespace platform
#endif
