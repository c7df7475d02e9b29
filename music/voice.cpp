// voice.cpp: a channel's instrument defaults and the voice update that ends
// every channel's tick: auto-vibrato, the trigger with the voice pair swap,
// the final volume and panning with the voice's gains, restart, and the step
// from the period.
//
// Channel k plays on voice k or voice k + 32. A trigger that finds the
// channel's voice still holding a sample copies that voice to the other one
// of the pair, silences the old one's gains (the mixer ramps it down over 128
// frames) and starts the new note on the copy.
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "music/periods.h"
#include "music/voice.h"

namespace music {
namespace {

// The other voice of a voice's pair.
Voice& partner(const Voice& v) {
    int32_t k = int32_t(&v - voices);
    return voices[k < max_channels ? k + max_channels : k - max_channels];
}

// Auto-vibrato waveform value at position p (0..255), -64..64.
int32_t autovib_value(uint8_t type, int32_t p) {
    switch (type) {
    case 0: return int32_t(std::nearbyint(64.0 * std::sin(std::numbers::pi * p / 128.0)));
    case 1: return p < 128 ? 64 : -64;
    case 2: return (128 - ((p + 128) & 255)) >> 1;
    default: return (128 - ((128 - p) & 255)) >> 1;
    }
}

void auto_vibrato(ChannelState& c, const Instrument* ins) {
    c.flags |= flag_pitch;
    if (!ins) return;
    int32_t offset = ins->vibrato_depth * autovib_value(ins->vibrato_type, c.autovib_pos);
    if (ins->vibrato_sweep != 0) offset = offset * c.autovib_sweep / ins->vibrato_sweep;
    c.pitch_offset += offset >> 6;
    c.autovib_sweep = c.autovib_sweep + 1 < ins->vibrato_sweep ? c.autovib_sweep + 1 : ins->vibrato_sweep;
    c.autovib_pos = (c.autovib_pos + ins->vibrato_rate) & 255;
}

void trigger(ChannelState& c, SampleRecord* sample) {
    Voice* v = c.voice;
    if (v->sample) {
        Voice& other = partner(*v);
        other.volume = v->volume;
        other.panning = v->panning;
        other.start_offset = v->start_offset;
        other.gain_right = v->gain_right;
        other.gain_left = v->gain_left;
        other.position = v->position;
        other.step_fraction = v->step_fraction;
        other.step_integer = v->step_integer;
        other.mix_target_right = v->mix_target_right;
        other.mix_target_left = v->mix_target_left;
        other.ramp_step_right = v->ramp_step_right;
        other.ramp_step_left = v->ramp_step_left;
        v->volume = 0;
        v->gain_right = 0;
        v->gain_left = 0;
        c.voice = v = &other;
    }
    v->sample = sample;
    v->position_fraction = 0;
    v->direction = 0;
    v->ramp_gain_right = 0;
    v->ramp_gain_left = 0;
    v->ramp_left = 0;
    v->position = v->start_offset;
    v->start_offset = 0;
}

int32_t clamp(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : (v > hi ? hi : v); }

// round(v x env x fade x global x 255 / 2^35), exact, ties to even.
int32_t final_volume(const ChannelState& c) {
    // Tremor and tremolo keep volume + offset within 0..64; limiting it here
    // keeps a volume taken out of range by the volume column (before this
    // update limited it) from giving negative or oversized gains.
    int64_t v = clamp(c.volume + c.volume_offset, 0, 64);
    int64_t env = clamp(c.vol_env_value, 0, 64);
    int64_t fade = clamp(c.fadeout_volume, 0, 65536);
    int64_t global = clamp(song.global_volume, 0, 64);
    int64_t n = v * env * fade * global * 255;
    int64_t q = n >> 35;
    int64_t r = n & ((int64_t(1) << 35) - 1);
    int64_t half = int64_t(1) << 34;
    if (r > half || (r == half && (q & 1))) q++;
    return int32_t(q);
}

void set_gains(Voice& v) {
    v.gain_right = v.volume * v.panning / 255;
    v.gain_left = v.volume * (255 - v.panning) / 255;
}

}  // namespace

void apply_instrument_defaults(ChannelState& c, const SampleRecord* sample) {
    c.volume = sample ? sample->volume : 0;
    c.panning = sample ? sample->panning : 128;
    c.vol_env_value = 64;
    c.pan_env_value = 32;
    c.fadeout_volume = 65536;
    c.vol_env_tick = c.vol_env_point = c.vol_env_slope = 0;
    c.pan_env_point = c.pan_env_tick = c.pan_env_slope = 0;
    c.autovib_sweep = c.autovib_pos = 0;
    c.released = c.vol_env_done = c.pan_env_done = 0;
    c.tremor_count = 0;
    if ((c.wave_control >> 4) < 4) c.trem_pos = 0;
    if ((c.wave_control & 15) < 4) c.vib_pos = 0;
    c.flags |= flag_volume | flag_panning;
}

void update_voice(ChannelState& c, SampleRecord* sample, const Instrument* instrument) {
    auto_vibrato(c, instrument);
    if (c.flags & flag_trigger) trigger(c, sample ? sample : &empty_sample);
    Voice& v = *c.voice;
    c.volume = clamp(c.volume, 0, 64);
    if (c.flags & flag_volume) {
        v.volume = final_volume(c);
        set_gains(v);
    }
    if (c.flags & flag_panning) {
        int32_t factor = (128 - std::abs(c.panning - 128)) >> 5;
        v.panning = clamp(c.panning + (c.pan_env_value - 32) * factor, 0, 255);
        set_gains(v);
    }
    if (c.flags & flag_restart) {
        v.start_offset = 0;
        v.position = 0;
        v.position_fraction = 0;
    }
    if (c.flags & flag_pitch) {
        int32_t f = period_frequency(c.period, c.pitch_offset);
        if (f != 0) set_voice_step(v, f);
    }
}

}  // namespace music
