// mixer.h: the buffer fill and the mixer. fill_block renders the block at
// stream.block_index (1,024 stereo frames), calling replayer_tick on every
// tick boundary and mix_voices between them, then rounds, clips and scales
// the block into stream.wave_buffer and logs its levels and time.
#pragma once
#include <cstdint>

#include "music/state.h"

namespace music {

void fill_block();
// Adds n frames (1..1024) of every sounding voice into stream.mix_buffer from
// frame `first_frame` on, and advances the voices.
void mix_voices(int32_t first_frame, int32_t n);

}  // namespace music
