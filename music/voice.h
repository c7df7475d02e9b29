// voice.h: channel state to voice output: instrument defaults, envelopes,
// fade-out, auto-vibrato and update_voice, which turns a channel's period,
// volume and panning into its voice's step and gains (and moves a new note to
// the other voice of the channel's pair so the old one can fade out).
#pragma once
#include <cstdint>

#include "music/state.h"

namespace music {

enum class Envelope { volume, panning };

void apply_instrument_defaults(ChannelState& channel, const SampleRecord* sample);
void step_envelope(ChannelState& channel, const Instrument* instrument, Envelope which);
void set_envelope_position(ChannelState& channel, const Instrument* instrument, int32_t position);
void update_voice(ChannelState& channel, SampleRecord* sample, const Instrument* instrument);

}  // namespace music
