// loader.h: reaching a module's bytes (memory, a named built-in resource or a
// file) and loading an XM module from them into the tables of module.h, in
// the player's private heap.
//
//   source_select(kind, size);      // before anything else of a start
//   ... create stream.heap ...
//   if (!module_load(data)) fail;   // open, 336-byte header, "Exte", xm_load, close
#pragma once
#include <cstdint>

#include "music/module.h"

namespace music {

// Chooses the source operations by kind (0 and below a resource, 1 memory,
// 2 and above a file), puts the position at 0 and remembers size (the byte
// count of a memory block, the module handle of a resource).
void source_select(int32_t kind, int32_t size);
// Opens the source with data, reads the header into `song`, runs xm_load when
// it starts with "Exte", closes the source. 1 on success, 0 on failure.
int32_t module_load(const void* data);
// Parses the rest of the module; the header is in `song` and the source open.
int32_t xm_load();
// Zero-filled memory from stream.heap; null when it cannot be had.
void* player_alloc(uint32_t size);

}  // namespace music
