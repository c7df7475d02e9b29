// pacing.h: frame pacing, the one call the frame loop makes to keep its speed.
#pragma once

namespace platform {

// Returns no sooner than 1/60 s after its previous return, so per-frame
// motion runs at the same speed on every machine. The scripted back end
// returns at once.
void pace_frame();

}  // namespace platform
