// modulation.cpp: the continuing parts of the effects: volume slide, tone
// portamento step, vibrato, tremolo, tremor and the retrigger volume.
//
// Vibrato and tremolo positions run -32..31 (64 steps a cycle). A waveform
// gives a magnitude 0..256 and the sign of the position gives its direction:
//   sine    round(256 x |sin(pi x pos / 32)|), from a table built once;
//   ramp    8 x |pos|: with the sign taken from the position this is one
//           straight saw across the cycle (256 at -32 through 0 to 248 at 31);
//   square  255.
// Vibrato: magnitude (depth x value) >> 5 with the two low bits cleared, a
// period change of at most 120 (about two semitones). Tremolo: magnitude
// (depth x value) >> 6, at most 60, so depth 15 swings nearly the whole
// volume range; the offset is then kept within 0..64 of the volume.
#include <cmath>
#include <numbers>

#include "music/effects.h"

namespace music {
namespace {

struct SineTable {
    int32_t value[33];  // |sin| for |pos| 0..32
};

const SineTable& sine_table() {
    static const SineTable table = [] {
        SineTable t{};
        for (int32_t i = 0; i <= 32; i++)
            t.value[i] = int32_t(std::nearbyint(256.0 * std::fabs(std::sin(std::numbers::pi * i / 32.0))));
        return t;
    }();
    return table;
}

int32_t advance(int32_t pos, int32_t speed) {
    pos += speed;
    return pos > 31 ? pos - 64 : pos;
}

}  // namespace

int32_t wave_value(int32_t waveform, int32_t position) {
    int32_t a = position < 0 ? -position : position;
    if (a > 32) a = 32;
    switch (waveform & 3) {
    case 0: return sine_table().value[a];
    case 1: return 8 * a;
    default: return 255;
    }
}

void volume_slide(ChannelState& c) {
    int32_t x = c.vol_slide_memory >> 4, y = c.vol_slide_memory & 15;
    c.volume += x != 0 ? x : -y;
    c.flags |= flag_volume;
}

void tone_porta_step(ChannelState& c) {
    c.flags |= flag_pitch;
    c.pitch_offset = 0;
    int32_t s = 4 * c.porta_speed;
    if (c.period < c.porta_target) {
        c.period += s;
        if (c.period > c.porta_target) c.period = c.porta_target;
    } else {
        c.period -= s;
        if (c.period < c.porta_target) c.period = c.porta_target;
    }
}

void vibrato_compute(ChannelState& c) {
    int32_t value = wave_value(c.wave_control & 3, c.vib_pos);
    int32_t magnitude = ((c.vib_depth * value) >> 5) & ~3;
    c.pitch_offset = c.vib_pos >= 0 ? -magnitude : magnitude;
    c.flags |= flag_pitch;
}

void vibrato_advance(ChannelState& c) { c.vib_pos = int8_t(advance(c.vib_pos, c.vib_speed)); }

void tremolo_step(ChannelState& c) {
    int32_t waveform = (c.wave_control >> 4) & 3;
    if (waveform == 3) waveform = 0;  // tremolo control 3 is the sine, as 0
    int32_t m = (c.trem_depth * wave_value(waveform, c.trem_pos)) >> 6;
    if (c.trem_pos >= 0) {
        c.volume_offset = m < 64 - c.volume ? m : 64 - c.volume;
    } else {
        c.volume_offset = -m > -c.volume ? -m : -c.volume;
    }
    c.trem_pos = int8_t(advance(c.trem_pos, c.trem_speed));
    c.flags |= flag_volume;
}

void tremor_step(ChannelState& c) {
    c.flags |= flag_volume;
    if (c.tremor_count > c.tremor_on) c.volume_offset = -c.volume;
    int32_t next = c.tremor_count + 1;
    c.tremor_count = next > c.tremor_on + c.tremor_off + 1 ? 0 : uint8_t(next);
}

int32_t retrig_volume(int32_t retrig, int32_t v) {
    switch (retrig) {
    case 1: return v - 1;
    case 2: return v - 2;
    case 3: return v - 4;
    case 4: return v - 8;
    case 5: return v - 16;
    case 6: return v * 2 / 3;
    case 7: return v >> 1;
    case 9: return v + 1;
    case 10: return v + 2;
    case 11: return v + 4;
    case 12: return v + 8;
    case 13: return v + 16;
    case 14: return (v * 3) >> 1;
    case 15: return v * 2;
    default: return v;
    }
}

}  // namespace music
