// stream.h: the player's own pieces behind player.h and offline.h (not for
// the application): the stop sequence and the streaming thread.
//
//   player_stop();                     // thread ended, ring cleared, device closed, heap dropped
#pragma once
#include <cstdint>

namespace music {

// The stop sequence: ends the thread (stop flag, then an unbounded wait),
// clears info_index, the ring and song_title, puts block_index at 0, resets
// and closes the device, destroys the heap and clears what pointed into it
// (the song's tables, the voices' samples). Safe in any state. Returns 0.
int32_t player_stop();
// The player's thread: polls the play position every 5 ms and renders each
// block that has been played, one per wake, until stop_flag is set.
void stream_thread();

}  // namespace music
