// stream.h: the player's own pieces behind player.h and offline.h (not for
// the application): the stop sequence, the streaming thread, and the start
// steps that load a module and set the song up without touching a device.
//
//   player_stop();                     // thread ended, ring cleared, device closed, heap dropped
//   source_select(kind, size);
//   if (!song_setup(data)) player_stop();
#pragma once
#include <cstdint>

namespace music {

// The stop sequence: ends the thread (stop flag, then an unbounded wait),
// clears info_index, the ring and song_title, puts block_index at 0, resets
// and closes the device, destroys the heap. Safe in any state. Returns 0.
int32_t player_stop();
// The player's thread: polls the play position every 5 ms and renders each
// block that has been played, one per wake, until stop_flag is set.
void stream_thread();
// Start steps after the source is chosen: voices and channels cleared, the
// private heap created, the module loaded from data, the volume defaulted to
// full when never set, the song at its start values. 0 on failure; the
// caller cleans up with player_stop.
int32_t song_setup(const void* data);

}  // namespace music
