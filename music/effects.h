// effects.h: the volume column and the effect table of the replayer, split
// into the first tick of a row and the other ticks (internal to the player).
//
//   ChannelTick t{cell, sample, instrument};
//   volume_column_first(channel, t);   ... effect_first(channel, t, kept, row);
//   volume_column_other(channel, t);   ... effect_other(channel, t);
//
// The continuing effects (slides, vibrato, tremolo, tremor, retrigger) are in
// modulation.cpp; the effects that steer the song (B, D, E6, EE, F) write the
// next-row fields of `song`.
#pragma once
#include <cstdint>

#include "music/state.h"

namespace music {

// Effect numbers (0x10 and up are G, H, K, L, P, R, T, X).
enum : uint8_t {
    fx_arpeggio = 0x0, fx_porta_up = 0x1, fx_porta_down = 0x2, fx_tone_porta = 0x3, fx_vibrato = 0x4,
    fx_tone_porta_slide = 0x5, fx_vibrato_slide = 0x6, fx_tremolo = 0x7, fx_panning = 0x8, fx_offset = 0x9,
    fx_volume_slide = 0xA, fx_jump = 0xB, fx_volume = 0xC, fx_break = 0xD, fx_extended = 0xE, fx_speed = 0xF,
    fx_global_volume = 0x10, fx_global_slide = 0x11, fx_key_off = 0x14, fx_envelope_position = 0x15,
    fx_panning_slide = 0x19, fx_retrig = 0x1B, fx_tremor = 0x1D, fx_extra_fine = 0x21,
};

// What one channel's tick works with.
struct ChannelTick {
    const Cell& cell;
    SampleRecord* sample;          // the looked-up sample; empty_sample when none
    const Instrument* instrument;  // null when the channel's instrument does not exist
};

// Volume, period and panning as they were before the row's cell acted (note delay).
struct Kept {
    int32_t volume, period, panning;
};

// Per-row state shared by the channels of one row.
struct RowState {
    bool jumped;  // a B effect in a lower channel of this row
};

void volume_column_first(ChannelState& c, const ChannelTick& t);
void volume_column_other(ChannelState& c, const ChannelTick& t);
void effect_first(ChannelState& c, const ChannelTick& t, const Kept& kept, RowState& row);
void effect_other(ChannelState& c, const ChannelTick& t);

// modulation.cpp
void volume_slide(ChannelState& c);
void tone_porta_step(ChannelState& c);
void vibrato_compute(ChannelState& c);
void vibrato_advance(ChannelState& c);
void tremolo_step(ChannelState& c);
void tremor_step(ChannelState& c);
int32_t retrig_volume(int32_t retrig, int32_t volume);
// Waveform value 0..256 at a position -32..31: 0 sine, 1 ramp, 2 and 3 square.
int32_t wave_value(int32_t waveform, int32_t position);

}  // namespace music
