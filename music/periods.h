// periods.h: note periods and playback frequencies of the two frequency
// tables, for the replayer and the voice update (internal to the player).
//
//   int32_t p = note_period(real_note, sample);     // the period a note starts at
//   int32_t f = period_frequency(period, offset);   // frames per second, at least 100
//   set_voice_step(voice, f);                       // 32.32 step per output frame
//
// Linear table: 64 period units per semitone, 7680 for real note 0 and 4608
// (8363 Hz) for real note 48. Amiga table: amiga_period, played at
// 14317056 / period.
#pragma once
#include <cstdint>

#include "music/state.h"

namespace music {

constexpr int32_t linear_c0_period = 7680;
constexpr int32_t linear_base_period = 4608;  // real note 48
constexpr int32_t amiga_clock = 14317056;
constexpr int32_t min_frequency = 100;
// Periods are kept within this bound by every slide so that no amount of
// sliding overflows; far beyond it the frequency is already pinned.
constexpr int32_t period_bound = 1 << 24;

// True when the song uses the linear frequency table (header flags bit 0).
inline bool linear_table() { return (song.flags & 1) != 0; }

// The Amiga-table period of a real note for the sample's finetune.
int32_t amiga_period(int32_t real_note, const SampleRecord* sample);
// Linear-table period of a real note (-1..254) with the sample's finetune.
int32_t linear_period(int32_t real_note, const SampleRecord* sample);
// The period a note starts at under the song's frequency table.
int32_t note_period(int32_t real_note, const SampleRecord* sample);
// Frequency in frames per second of period + pitch_offset under the song's
// table, raised to 100; 0 when period + pitch_offset is 0 (no change).
int32_t period_frequency(int32_t period, int32_t pitch_offset);
// step_integer / step_fraction of a voice playing at f frames per second.
void set_voice_step(Voice& voice, int32_t frequency);
// Adds delta to a period, kept within +-period_bound.
int32_t slide_period(int32_t period, int32_t delta);

}  // namespace music
