// offline.cpp: offline rendering (offline.h) on the player's own start steps
// and fill_block, so its output cannot drift from the streaming player's.
#include "music/offline.h"

#include "music/fill.h"
#include "music/setup.h"
#include "music/source.h"
#include "music/state.h"
#include "music/stream.h"

namespace music {

int32_t offline_start(const void* data, int32_t size, int32_t kind) {
    player_stop();
    if (!data) return 0;
    source_select(kind, size);
    if (!song_setup(data)) return player_stop();
    return 1;
}

const uint8_t* offline_block() {
    if (!stream.heap || stream.device) return nullptr;  // no module, or it is the streaming player's
    const int32_t block = stream.block_index.load(std::memory_order_relaxed);
    fill_block();
    return stream.wave_buffer + size_t(block) * block_bytes;
}

void offline_stop() { player_stop(); }

}  // namespace music
