// setup.h: the start steps that the streaming player (player.cpp) and the
// offline render (offline.cpp) share: after the source is chosen, load the
// module and put the song at its start, without touching a device.
//
//   source_select(kind, size);
//   if (!song_setup(data)) player_stop();
#pragma once
#include <cstdint>

namespace music {

// Voices and channels cleared, the private heap created, the module loaded
// from data, the volume defaulted to full when never set, the song at its
// start values. 0 on failure; the caller cleans up with player_stop.
int32_t song_setup(const void* data);

}  // namespace music
