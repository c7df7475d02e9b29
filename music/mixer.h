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
// The mixing loops (plain and gain ramp) and the block's conversion to output bytes run
// several frames a turn with AVX2 where the processor has it (the default),
// with the same result bit for bit; tests turn it off to compare.
// mixer_use_wide_steps returns the previous setting.
bool mixer_use_wide_steps(bool on);
bool mixer_wide_steps();

}  // namespace music
