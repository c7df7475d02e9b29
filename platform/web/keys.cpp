// keys.cpp: asynchronous key state from the page's key events. The page keeps,
// per virtual key, whether it is down now and whether it was pressed since the
// previous query (page/quillon-web.js); a query reads both and clears the second.
#include <emscripten.h>

#include "platform/keys.h"

// clang-format off
EM_JS(int, web_key_state, (int vk), { return QuillonWeb.keyState(vk); });
// clang-format on

namespace platform {

uint16_t get_async_key_state(int virtual_key) { return uint16_t(web_key_state(virtual_key & 255)); }

}  // namespace platform
