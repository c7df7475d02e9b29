// alloc.cpp: player_alloc, the module's memory. Every block comes zero-filled
// from stream.heap, the player's private heap that each start creates and
// each stop drops as a whole; nothing is freed piece by piece. The heap
// refuses to grow past platform::heap_limit, so a module claiming more fails
// its load.
#include "music/loader.h"
#include "music/state.h"
#include "platform/heap.h"

namespace music {

void* player_alloc(uint32_t size) { return stream.heap ? platform::heap_alloc(stream.heap, size) : nullptr; }

}  // namespace music
