// samples.h: the loader's sample steps. sample_read_head reads one 40-byte
// sample header and takes the record with room for its decoded data;
// sample_read_data then reads and decodes that data (delta-coded 8- or 16-bit,
// or 4-bit delta-packed) and writes the guard the mixer interpolates into.
//
//   SampleRecord* s = sample_read_head();        // null: no memory for it
//   ... the other headers of the instrument ...
//   if (!sample_read_data(s)) fail;              // 16-bit data marked 4-bit packed
#pragma once
#include <cstdint>

#include "music/module.h"

namespace music {

SampleRecord* sample_read_head();
int32_t sample_read_data(SampleRecord* sample);

}  // namespace music
