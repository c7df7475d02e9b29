// replayer.h: rows, ticks and effects. replayer_tick runs one tick of the
// song (the first tick of a row reads its cells and starts notes; the others
// continue the effects), then hands every channel to update_voice.
//
//   replayer_reset();                     // at start, after the load
//   if (song.samples_left == 0) replayer_tick();   // from the buffer fill
#pragma once
#include <cstdint>

#include "music/state.h"

namespace music {

void set_bpm(int32_t bpm);  // samples_per_tick = 110250 / bpm (bpm 0: 110250)
// After a load: every channel and voice zeroed, channel k on voice k, voices
// with their index and a step of 1.0, the song's play state at its start
// values (speed and BPM from the header), so the next tick plays order 0, row 0.
void replayer_reset();
void replayer_tick();
void play_row();
void continue_row();
// The order-table entries the song plays: its length, at most the 256 stored.
int32_t song_orders();

}  // namespace music
