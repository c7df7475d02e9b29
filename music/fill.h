// fill.h: the buffer fill. fill_block renders the block at
// stream.block_index (1,024 stereo frames), calling replayer_tick on every
// tick boundary and mix_voices (mixer.h) between them, then rounds, clips and
// scales the block into stream.wave_buffer, logs its levels and time and
// moves block_index on to the next block.
//
//   stream.block_index = 0; for (int k = 0; k < 16; ++k) fill_block();
#pragma once

namespace music {

void fill_block();

}  // namespace music
