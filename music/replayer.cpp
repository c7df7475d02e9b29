// replayer.cpp: the song's clock and rows: set_bpm, replayer_reset,
// replayer_tick, play_row (the first tick of a row, its 14 channel steps),
// continue_row (every other tick) and the rule that picks the next row.
//
//   replayer_reset();                        // after a load: start values, order 0 row 0
//   if (song.samples_left == 0) replayer_tick();
//
// Whatever the module says, the replayer reads only inside its tables:
// - orders: the song length counts at most the 256 stored entries;
// - patterns: an order naming a slot that does not exist, or a slot without
//   cells (0 rows, or 0 channels), plays as a row of empty cells and moves on
//   to the next order; a row chosen beyond the rows of the pattern that plays
//   (a break or loop row taken from a longer pattern) starts that pattern at
//   row 0, as a break beyond the end of the pattern just played does;
// - instruments: only the low byte of the instrument count is loaded, and a
//   channel whose instrument does not exist (also in a module without
//   instruments) plays the empty sample with no envelopes or auto-vibrato;
// - sample maps: the latched note is 0..95.
#include "music/replayer.h"

#include "music/effects.h"
#include "music/periods.h"
#include "music/voice.h"

namespace music {
namespace {

const Cell empty_cell = {0, 0, 0, 0, 0};

// The pattern of the current order, and its rows (0 for a slot without cells).
struct PatternView {
    const Cell* cells;
    int32_t rows;
};

int32_t play_channels() { return song.channels < 0 ? 0 : (song.channels > max_channels ? max_channels : song.channels); }

PatternView current_pattern() {
    if (song.order < 0 || song.order >= 256 || !song.pattern_table) return {nullptr, 0};
    int32_t slot = song.order_table[song.order];
    if (slot >= song.pattern_slots) return {nullptr, 0};
    const PatternSlot& p = song.pattern_table[slot];
    if (!p.cells || play_channels() == 0) return {nullptr, 0};
    return {p.cells, p.rows};
}

const Cell& cell_at(const PatternView& p, int32_t channel) {
    if (!p.cells || song.row < 0 || song.row >= p.rows) return empty_cell;
    return p.cells[size_t(song.row) * size_t(play_channels()) + size_t(channel)];
}

const Instrument* channel_instrument(const ChannelState& c) {
    int32_t count = song.instrument_count & 0xFF;
    if (!song.instruments || c.instrument >= count) return nullptr;
    return &song.instruments[c.instrument];
}

SampleRecord* channel_sample(const ChannelState& c, const Instrument* ins) {
    if (!ins || c.note >= 96) return &empty_sample;
    uint8_t n = ins->sample_map[c.note];
    if (int32_t(n) >= ins->sample_count || !ins->samples[n]) return &empty_sample;
    return ins->samples[n];
}

bool envelope_active(const Instrument* ins, Envelope which) {
    if (!ins) return false;
    return ((which == Envelope::volume ? ins->volume_type : ins->panning_type) & envelope_on) != 0;
}

void fade(ChannelState& c, const Instrument* ins) {
    c.fadeout_volume -= ins ? ins->fadeout : 0;
    if (c.fadeout_volume < 0) c.fadeout_volume = 0;
}

void play_channel(ChannelState& c, const Cell& cell, RowState& row) {
    // 1-2: note and instrument, unless the note is a tone portamento target.
    bool porta = cell.effect == fx_tone_porta || cell.effect == fx_tone_porta_slide;
    if (!porta) {
        if (cell.instrument != 0) c.instrument = uint8_t(cell.instrument - 1);
        if (cell.note >= 1 && cell.note <= 96) c.note = uint8_t(cell.note - 1);
    }
    // 3: instrument and sample.
    const Instrument* ins = channel_instrument(c);
    SampleRecord* sample = channel_sample(c, ins);
    ChannelTick t{cell, sample, ins};
    // 4: what a note delay goes back to.
    Kept kept{c.volume, c.period, c.panning};
    // 5-6: a tremolo that ends leaves its last offset in the volume.
    if (cell.effect != fx_tremolo && c.last_effect == fx_tremolo) c.volume += c.volume_offset;
    c.last_effect = cell.effect;
    c.volume_offset = 0;
    c.pitch_offset = 0;
    c.flags = flag_pitch | flag_volume;
    // 7: the note.
    if (cell.note >= 1 && cell.note <= 96) {
        int32_t real = ((cell.note + sample->relative_note) & 255) - 1;
        c.real_note = uint8_t(real);
        c.note_period = note_period(real, sample);
        if (!porta && cell.volume < 0xF0) c.period = c.note_period;
        c.flags |= flag_trigger;
    }
    // 8-9: instrument defaults, volume column.
    if (cell.instrument != 0) apply_instrument_defaults(c, sample);
    volume_column_first(c, t);
    // 10-12: key-off, envelopes, fade-out.
    if (cell.note >= 97 || cell.effect == fx_key_off) c.released = 1;
    if (envelope_active(ins, Envelope::volume))
        step_envelope(c, ins, Envelope::volume);
    else if (c.released)
        c.vol_env_value = 0;
    if (envelope_active(ins, Envelope::panning)) step_envelope(c, ins, Envelope::panning);
    if (c.released) fade(c, ins);
    // 13-14: the effect, then the voice.
    effect_first(c, t, kept, row);
    update_voice(c, sample, ins);
}

void continue_channel(ChannelState& c, const Cell& cell) {
    const Instrument* ins = channel_instrument(c);
    SampleRecord* sample = channel_sample(c, ins);
    ChannelTick t{cell, sample, ins};
    c.volume_offset = 0;
    c.pitch_offset = 0;
    c.flags = 0;
    if (envelope_active(ins, Envelope::volume)) step_envelope(c, ins, Envelope::volume);
    if (envelope_active(ins, Envelope::panning)) step_envelope(c, ins, Envelope::panning);
    if (c.released) {
        fade(c, ins);
        c.flags |= flag_volume;
    }
    volume_column_other(c, t);
    if (cell.effect <= fx_tremor) effect_other(c, t);
    update_voice(c, sample, ins);
}

// After a row: the row that plays next (next_row / next_order).
void choose_next_row(int32_t rows) {
    int32_t r = song.next_row >= 0 ? song.next_row : song.row + 1;
    if (r < rows) {
        song.next_row = r;
        return;
    }
    song.next_row = 0;
    int32_t orders = song_orders();
    if (song.order + 1 < orders)
        song.next_order = song.order + 1;
    else if (song.restart < orders)
        song.next_order = song.restart;
    else
        song.next_order = 0;
}

}  // namespace

int32_t song_orders() { return song.song_length > 256 ? 256 : song.song_length; }

void set_bpm(int32_t bpm) { song.samples_per_tick = bpm <= 0 ? 110250 : 110250 / bpm; }

void replayer_reset() {
    for (int32_t k = 0; k < voice_count; k++) {
        voices[k] = Voice{};
        voices[k].index = k;
        voices[k].step_integer = 1;
    }
    for (int32_t k = 0; k < max_channels; k++) {
        channels[k] = ChannelState{};
        channels[k].voice = &voices[k];
    }
    song.speed = song.default_speed;
    song.global_volume = 64;
    song.samples_left = 0;
    song.tick = 0;
    song.delay_ticks = 0;
    song.next_order = 0;
    song.next_row = 0;
    song.elapsed_ms = 0;
    song.global_slide_memory = 0;
    song.order = 0;
    song.row = 0;
    set_bpm(song.default_bpm);
}

void replayer_tick() {
    if (song.tick == 0)
        play_row();
    else
        continue_row();
    song.tick += 1;
    if (song.tick >= song.speed + song.delay_ticks) {
        song.tick = 0;
        song.delay_ticks = 0;
    }
    song.samples_left = song.samples_per_tick;
}

void play_row() {
    if (song.next_order >= 0) song.order = song.next_order;
    if (song.next_row >= 0) song.row = song.next_row;
    song.next_order = song.next_row = -1;
    if (song.order < 0 || song.order >= 256) song.order = 0;
    PatternView p = current_pattern();
    if (song.row < 0 || song.row >= p.rows) song.row = 0;
    RowState row{false};
    for (int32_t k = 0; k < play_channels(); k++) play_channel(channels[k], cell_at(p, k), row);
    choose_next_row(p.rows);
}

void continue_row() {
    PatternView p = current_pattern();
    for (int32_t k = 0; k < play_channels(); k++) continue_channel(channels[k], cell_at(p, k));
}

}  // namespace music
