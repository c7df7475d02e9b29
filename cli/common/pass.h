// pass.h: how long a render is: one or more passes of the song, or a number
// of frames, never more than a hard limit.
//
//   cli::PassLimits limits{1, 0};               // one pass
//   cli::PassPlan plan;
//   if (!cli::pass_plan(bytes, size, 1, limits, &plan)) fail;   // kinds as player_start
//   render plan.frames frames
//
// The pass rule. The song is walked tick by tick on the player's own
// replayer, without mixing, keeping the tick clock exactly as the buffer
// fill keeps it, so every row's first frame is known. A pass ends at the
// first frame of a row that
//   1. was already played in this pass at the same point of every pattern
//      loop: the same order and row with the same loop counters on every
//      channel (so the repeats an E6x loop makes are not the end, but a row
//      met again with the loops where they were is), or
//   2. is row 0 of order 0 or of the restart order, reached from a later
//      order: the song wrapping round, or jumping back to its beginning.
// That row then starts the next pass. Songs that jump in circles end at the
// first row they meet again; songs whose loop counters never come round, or
// that are very long, end at the hard limit (30 minutes of audio).
#pragma once
#include <cstdint>

#include "music/format.h"

namespace cli {

constexpr int64_t frames_per_second = music::output_rate;
constexpr int64_t hard_limit_frames = 30 * 60 * frames_per_second;

struct PassLimits {
    int32_t passes;  // end after this many passes; 0: passes do not end the render
    int64_t frames;  // end after this many frames; 0: frames do not end it (the hard limit still does)
};

struct PassPlan {
    int64_t frames;   // frames to render
    int64_t rows;     // rows begun within them
    int64_t ticks;    // ticks begun within them
    int32_t passes;   // passes completed within them
    bool hit_limit;   // the hard limit ended the render
};

// Loads the module (it uses the player's global state, stopping whatever
// plays) and walks the song from its start to the end the limits set. 1 on
// success, 0 when the module does not load.
int32_t pass_plan(const void* data, int32_t size, int32_t kind, const PassLimits& limits, PassPlan* out);

}  // namespace cli
