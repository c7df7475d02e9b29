// alloc.h: the module's memory, from the player's private heap (stream.heap),
// which each start creates and each stop drops as a whole.
//
//   Cell* cells = static_cast<Cell*>(player_alloc(bytes));   // null: refused
#pragma once
#include <cstdint>

namespace music {

// Zero-filled memory from stream.heap; null when it cannot be had.
void* player_alloc(uint32_t size);

}  // namespace music
