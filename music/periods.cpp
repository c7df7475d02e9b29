// periods.cpp: amiga_period, the linear periods and the frequency of a
// period under either table.
//
// Amiga table: P(k) = round(13.375 x 2^((132 - k) / 12)), built once for the
// real notes 0..131 (P(0) = 27392, P(48) = 1712, P(131) = 14); a finetune f
// moves a note |f| / 128 of the way towards its neighbour (above for f >= 0,
// below for f < 0). Outside 0..131 there is no table entry: real notes below
// 0 play as note 0 and notes above 131 as note 131, and a neighbour outside
// the table is the note itself, so at the ends the finetune has no effect
// (C-0 with a negative finetune stays at P(0)).
#include <cmath>
#include <cstdlib>

#include "music/periods.h"

namespace music {
namespace {

constexpr int32_t amiga_notes = 132;

struct AmigaTable {
    int32_t period[amiga_notes];
};

const AmigaTable& amiga_table() {
    static const AmigaTable table = [] {
        AmigaTable t{};
        for (int32_t k = 0; k < amiga_notes; k++)
            t.period[k] = int32_t(std::nearbyint(13.375 * std::exp2(double(132 - k) / 12.0)));
        return t;
    }();
    return table;
}

int32_t clamp_note(int32_t n) { return n < 0 ? 0 : (n >= amiga_notes ? amiga_notes - 1 : n); }

}  // namespace

int32_t amiga_period(int32_t real_note, const SampleRecord* sample) {
    const AmigaTable& t = amiga_table();
    int32_t n = clamp_note(real_note);
    int32_t f = sample ? sample->finetune : 0;
    int32_t neighbour = clamp_note(n + (f < 0 ? -1 : 1));
    int32_t p = t.period[n];
    return p + ((std::abs(f) * (t.period[neighbour] - p)) >> 7);
}

int32_t linear_period(int32_t real_note, const SampleRecord* sample) {
    int32_t f = sample ? sample->finetune : 0;
    return linear_c0_period - 64 * real_note - f / 2;
}

int32_t note_period(int32_t real_note, const SampleRecord* sample) {
    return linear_table() ? linear_period(real_note, sample) : amiga_period(real_note, sample);
}

int32_t period_frequency(int32_t period, int32_t pitch_offset) {
    int64_t s = int64_t(period) + pitch_offset;
    if (s == 0) return 0;
    double f;
    if (linear_table()) {
        // 8363.0004: the frequency of real note 48, as two single-precision factors.
        const double base = double(13.375f) * double(625.2710571289062f);
        f = std::nearbyint(base * std::exp2(double(int64_t(linear_base_period) - period + pitch_offset) / 768.0));
    } else {
        f = double(amiga_clock / s);
    }
    if (!(f >= min_frequency)) return min_frequency;  // also catches NaN
    if (f > 2147483647.0) return 2147483647;
    return int32_t(f);
}

void set_voice_step(Voice& voice, int32_t frequency) {
    voice.step_integer = frequency / output_rate;
    voice.step_fraction = uint32_t((uint64_t(frequency % output_rate) << 32) / output_rate);
}

int32_t slide_period(int32_t period, int32_t delta) {
    int64_t p = int64_t(period) + delta;
    if (p > period_bound) p = period_bound;
    if (p < -period_bound) p = -period_bound;
    return int32_t(p);
}

}  // namespace music
