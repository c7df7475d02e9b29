// samples.h: the loader's sample steps. sample_read_head reads one sample
// header (40 bytes of fields in a header of the instrument's stored sample
// header size: fields past that size read as zero, bytes past the fields are
// stepped over) and takes the record with room for its decoded data;
// sample_read_data then reads and decodes that data (delta-coded 8- or 16-bit,
// or 4-bit delta-packed) and writes the guard the mixer interpolates into.
//
//   SampleRecord* s = sample_read_head(40);      // null: no memory for it
//   ... the other headers of the instrument ...
//   if (!sample_read_data(s)) fail;              // 16-bit data marked 4-bit packed
#pragma once
#include <cstdint>

#include "music/module.h"

namespace music {

SampleRecord* sample_read_head(uint32_t header_size);
int32_t sample_read_data(SampleRecord* sample);

}  // namespace music
