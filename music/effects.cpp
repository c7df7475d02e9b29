// effects.cpp: the volume column and the effect table, first tick and other
// ticks. x and y are the parameter's nibbles, xx the whole parameter; a
// "memory" is written when its parameter (or nibble) is non-zero and the
// action then uses the memory.
//
// The first-tick actions run after the channel's note and instrument have
// been taken (the flags then hold pitch | volume, and trigger for a note);
// the other-tick actions run with the flags cleared except for what the
// envelopes and the fade-out set. Tick numbers are song.tick: 1, 2, ... on
// the other ticks, counting on through a pattern delay.
#include "music/effects.h"
#include "music/periods.h"
#include "music/replayer.h"
#include "music/voice.h"

namespace music {
namespace {

uint8_t store(uint8_t& memory, uint8_t value) {
    if (value != 0) memory = value;
    return memory;
}

// The volume column's panning slides stop at the ends, as effect P does, so
// no amount of sliding takes the panning out of 0..255.
void pan_left(ChannelState& c, int32_t y) {
    c.panning = c.panning - y < 0 ? 0 : c.panning - y;
    c.flags |= flag_panning;
}

void pan_right(ChannelState& c, int32_t y) {
    c.panning = c.panning + y > 255 ? 255 : c.panning + y;
    c.flags |= flag_panning;
}

void extended_first(ChannelState& c, const ChannelTick& t, const Kept& kept) {
    uint8_t x = t.cell.parameter >> 4, y = t.cell.parameter & 15;
    switch (x) {
    case 0x1: c.period = slide_period(c.period, -4 * store(c.fine_up_memory, y)); break;
    case 0x2: c.period = slide_period(c.period, 4 * store(c.fine_down_memory, y)); break;
    case 0x4: c.wave_control = uint8_t((c.wave_control & 0xF0) | y); break;
    case 0x5:
        // The finetune belongs to the shared sample record; the empty sample
        // stands for "no sample" and is never written.
        if (t.sample != &empty_sample) t.sample->finetune = int8_t(y);
        break;
    case 0x6:
        if (y == 0) {
            c.loop_row = song.row;
        } else {
            if (c.loop_count == 0) c.loop_count = y + 1;
            c.loop_count -= 1;
            if (c.loop_count != 0) song.next_row = c.loop_row;
        }
        break;
    case 0x7: c.wave_control = uint8_t((c.wave_control & 0x0F) | (y << 4)); break;
    case 0x8:
        c.panning = y * 16;
        c.flags |= flag_panning;
        break;
    case 0xA:
        if (y != 0) c.fine_vol_memory = int8_t(-y);
        c.volume -= c.fine_vol_memory;
        break;
    case 0xB:
        if (y != 0) c.fine_vol_memory = int8_t(y);
        c.volume -= c.fine_vol_memory;
        break;
    case 0xD:
        c.volume = kept.volume;
        c.period = kept.period;
        c.panning = kept.panning;
        c.flags = 0;
        break;
    case 0xE: song.delay_ticks = y * song.speed; break;
    default: break;  // E0, E3, E9, EC, EF: nothing on the first tick
    }
}

void extended_other(ChannelState& c, const ChannelTick& t) {
    uint8_t x = t.cell.parameter >> 4, y = t.cell.parameter & 15;
    switch (x) {
    case 0x9:
        if (y != 0 && song.tick % y == 0) c.flags |= flag_trigger | flag_pitch | flag_volume;
        break;
    case 0xC:
        if (y != 0 && song.tick == y) {
            c.volume = 0;
            c.flags |= flag_volume;
        }
        break;
    case 0xD:
        if (y != 0 && song.tick == y) {
            apply_instrument_defaults(c, t.sample);
            c.period = c.note_period;
            c.flags |= flag_trigger | flag_pitch;
            volume_column_first(c, t);
        } else {
            c.flags = 0;
        }
        break;
    default: break;
    }
}

}  // namespace

void volume_column_first(ChannelState& c, const ChannelTick& t) {
    uint8_t v = t.cell.volume, y = v & 15;
    if (v >= 0x10 && v <= 0x50) {
        c.volume = v - 0x10;
        return;
    }
    switch (v >> 4) {
    case 0x6: case 0x8: c.volume -= y; break;
    case 0x7: case 0x9: c.volume += y; break;
    case 0xA: c.vib_speed = y; break;
    case 0xB: c.vib_depth = y; break;
    case 0xC:
        c.panning = y * 16;
        c.flags |= flag_panning;
        break;
    case 0xD:
        pan_left(c, y);
        break;
    case 0xE:
        pan_right(c, y);
        break;
    case 0xF:
        if (y != 0) c.porta_speed = uint8_t(y * 16);
        c.flags &= uint8_t(~flag_trigger);
        c.porta_target = c.note_period;
        break;
    default: break;
    }
}

void volume_column_other(ChannelState& c, const ChannelTick& t) {
    uint8_t v = t.cell.volume, y = v & 15;
    switch (v >> 4) {
    case 0x6:
        c.volume -= y;
        c.flags |= flag_volume;
        break;
    case 0x7:
        c.volume += y;
        c.flags |= flag_volume;
        break;
    case 0xB:
        c.vib_depth = y;
        vibrato_compute(c);
        vibrato_advance(c);
        break;
    case 0xD:
        pan_left(c, y);
        break;
    case 0xE:
        pan_right(c, y);
        break;
    case 0xF: tone_porta_step(c); break;
    default: break;
    }
}

void effect_first(ChannelState& c, const ChannelTick& t, const Kept& kept, RowState& row) {
    uint8_t xx = t.cell.parameter, x = xx >> 4, y = xx & 15;
    switch (t.cell.effect) {
    case fx_porta_up: store(c.porta_up_memory, xx); break;
    case fx_porta_down: store(c.porta_down_memory, xx); break;
    case fx_tone_porta:
        store(c.porta_speed, xx);
        c.porta_target = c.note_period;
        c.flags &= uint8_t(~flag_trigger);
        break;
    case fx_vibrato:
        store(c.vib_speed, x);
        store(c.vib_depth, y);
        vibrato_compute(c);
        break;
    case fx_tone_porta_slide:
        store(c.vol_slide_memory, xx);
        c.porta_target = c.note_period;
        c.flags &= uint8_t(~flag_trigger);
        break;
    case fx_vibrato_slide:
        store(c.vol_slide_memory, xx);
        vibrato_compute(c);
        break;
    case fx_tremolo:
        store(c.trem_speed, x);
        store(c.trem_depth, y);
        break;
    case fx_panning:
        c.panning = xx;
        c.flags |= flag_panning;
        break;
    case fx_offset: {
        if (xx != 0) c.sample_offset = uint32_t(xx) * 256;
        int64_t end = int64_t(t.sample->loop_start) + t.sample->loop_length;
        if (int64_t(c.sample_offset) >= end) {
            c.flags &= uint8_t(~flag_trigger);
            c.flags |= flag_restart;
        } else {
            c.voice->start_offset = int32_t(c.sample_offset);
        }
        break;
    }
    case fx_volume_slide: store(c.vol_slide_memory, xx); break;
    case fx_jump:
        song.next_row = 0;
        song.next_order = xx >= song_orders() ? 0 : xx;
        row.jumped = true;
        break;
    case fx_volume: c.volume = xx; break;
    case fx_break:
        song.next_row = 10 * x + y;
        if (!row.jumped) song.next_order = song.order + 1 >= song_orders() ? 0 : song.order + 1;
        break;
    case fx_extended: extended_first(c, t, kept); break;
    case fx_speed:
        if (xx < 32)
            song.speed = xx;
        else
            set_bpm(xx);
        break;
    case fx_global_volume: song.global_volume = xx > 64 ? 64 : xx; break;
    case fx_global_slide: store(song.global_slide_memory, xx); break;
    case fx_envelope_position:
        if (t.instrument && (t.instrument->volume_type & envelope_on)) set_envelope_position(c, t.instrument, xx);
        break;
    case fx_panning_slide:
        if (xx != 0) {
            c.pan_slide_memory = xx;
            c.flags |= flag_panning;
        }
        break;
    case fx_retrig:
        if (xx != 0) {
            c.retrig_volume = x;
            c.retrig_interval = y;
        }
        break;
    case fx_tremor:
        if (xx != 0) {
            c.tremor_on = x;
            c.tremor_off = y;
        }
        tremor_step(c);
        break;
    case fx_extra_fine:
        if (x == 1) c.period = slide_period(c.period, -store(c.xfine_up_memory, y));
        if (x == 2) c.period = slide_period(c.period, store(c.xfine_down_memory, y));
        break;
    default: break;  // 0 arpeggio, K key off (the channel steps release it), and the unused numbers
    }
}

void effect_other(ChannelState& c, const ChannelTick& t) {
    uint8_t xx = t.cell.parameter, x = xx >> 4, y = xx & 15;
    switch (t.cell.effect) {
    case fx_arpeggio: {
        if (xx == 0) break;
        int32_t phase = song.tick % 3;
        int32_t semitones = phase == 0 ? 0 : (phase == 1 ? x : y);
        if (linear_table()) {
            c.pitch_offset = 64 * semitones;
        } else {
            int32_t n = c.real_note == 255 ? -1 : c.real_note;
            c.pitch_offset = amiga_period(n + semitones, t.sample) - amiga_period(n, t.sample);
        }
        c.flags |= flag_pitch;
        break;
    }
    case fx_porta_up:
        c.period = slide_period(c.period, -4 * c.porta_up_memory);
        if (c.period < 56) c.period = 56;
        c.pitch_offset = 0;
        c.flags |= flag_pitch;
        break;
    case fx_porta_down:
        c.period = slide_period(c.period, 4 * c.porta_down_memory);
        c.pitch_offset = 0;
        c.flags |= flag_pitch;
        break;
    case fx_tone_porta: tone_porta_step(c); break;
    case fx_vibrato:
        vibrato_compute(c);
        vibrato_advance(c);
        break;
    case fx_tone_porta_slide:
        tone_porta_step(c);
        volume_slide(c);
        break;
    case fx_vibrato_slide:
        vibrato_compute(c);
        vibrato_advance(c);
        volume_slide(c);
        break;
    case fx_tremolo: tremolo_step(c); break;
    case fx_volume_slide: volume_slide(c); break;
    case fx_extended: extended_other(c, t); break;
    case fx_global_slide: {
        uint8_t m = song.global_slide_memory;
        if (m >> 4) {
            song.global_volume += m >> 4;
            if (song.global_volume > 64) song.global_volume = 64;
        } else {
            song.global_volume -= m & 15;
            if (song.global_volume < 0) song.global_volume = 0;
        }
        break;
    }
    case fx_panning_slide: {
        uint8_t m = c.pan_slide_memory;
        if (m >> 4) {
            c.panning += m >> 4;
            if (c.panning > 255) c.panning = 255;
        } else {
            c.panning -= m & 15;
            if (c.panning < 0) c.panning = 0;
        }
        c.flags |= flag_panning;
        break;
    }
    case fx_retrig:
        if (c.retrig_interval != 0 && song.tick % c.retrig_interval == 0) {
            c.flags |= flag_trigger;
            if (c.retrig_volume != 0) {
                c.volume = retrig_volume(c.retrig_volume, c.volume);
                c.flags |= flag_volume;
            }
        }
        break;
    case fx_tremor: tremor_step(c); break;
    default: break;
    }
}

}  // namespace music
