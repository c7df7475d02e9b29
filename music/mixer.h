// mixer.h: the mixer. mix_voices resamples every sounding voice and adds it
// into stream.mix_buffer; the buffer fill (fill.h) calls it between tick
// boundaries.
#pragma once
#include <cstdint>

#include "music/state.h"

namespace music {

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
