// offline.h: rendering a module without a sound device, as fast as the
// machine allows. The blocks are exactly the ones the streaming player would
// hand to the device, in the same order, for the same module and volume.
//
//   if (!music::offline_start(bytes, size, 1)) fail;   // kinds as player_start
//   for (...) { const uint8_t* b = music::offline_block(); write(b, music::block_bytes); }
//   music::offline_stop();
//
// It works on the player's single global state, so it stops the streaming
// player first, and player_start ends an offline render.
#pragma once
#include <cstdint>

#include "music/format.h"

namespace music {

// Loads the module and sets the song to its start. 1 on success, 0 when the
// module cannot be had or loaded (everything is released again).
int32_t offline_start(const void* data, int32_t size, int32_t kind);
// Renders the next block and returns its block_bytes (block_frames frames of
// 16-bit little-endian left and right), valid until the ring comes round
// again. Null, rendering nothing, when no offline render is started (before
// offline_start, after offline_stop or a failed start, while the streaming
// player plays).
const uint8_t* offline_block();
// Releases the module; offline_block refuses from here on.
void offline_stop();

}  // namespace music
