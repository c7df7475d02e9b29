// loader.h: loading an XM module through the chosen source (source.h) into
// the tables of module.h, in the player's private heap (alloc.h).
//
//   source_select(kind, size);      // before anything else of a start
//   ... create stream.heap ...
//   if (!module_load(data)) fail;   // open, 336-byte header, "Exte", xm_load, close
//
// After a successful load `song` holds the header's fields as read, except
// channels (the low byte, at most 32), pattern_slots (the number of slots in
// pattern_table) and instrument_count (the low byte: the records in
// instruments); song_title holds the title's printable characters. What the
// loader leaves for its readers to bound:
//   - song_length may exceed the 256 entries of order_table;
//   - envelope point counts may exceed 12, and sustain and loop point numbers
//     may lie beyond the points;
//   - a pattern of 0 rows (or a song of 0 channels) has null cells;
//   - restart and cell notes are as read;
//   - sample map values may lie past the instrument's samples.
// Everything else is in bounds: cell instrument numbers are at most
// instrument_count, an instrument's samples hold sample_count (0..255)
// records, and a sample's loop (loop_type 1..3) lies inside its length with
// a loop_length above 0; an unlooped sample has loop_start 0 and
// loop_length = length. Sample data
// hold length + 3 values; the value at index length is the guard, except for
// 4-bit packed data of odd length, whose one extra decoded value sits there
// (the guard follows it). Loop type 3 gets no guard.
#pragma once
#include <cstdint>

#include "music/alloc.h"
#include "music/module.h"

namespace music {

// Opens the source with data, reads the header into `song`, runs xm_load when
// it starts with "Exte", closes the source. 1 on success, 0 on failure.
int32_t module_load(const void* data);
// Parses the rest of the module; the header is in `song` and the source open.
int32_t xm_load();

}  // namespace music
