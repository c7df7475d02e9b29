// module.h: the loaded XM module as the replayer and the mixer play it: the
// pattern table with unpacked cells, the instrument records and the sample
// records with their data decoded to 16-bit values plus a guard. Everything
// lives in the player's private heap and goes with it at the next start or
// stop; the loader (loader.h) fills it.
#pragma once
#include <cstddef>
#include <cstdint>

namespace music {

// One pattern cell: note (0 none, 1..96 C-0..B-7, 97 key-off), instrument
// (0 none, 1..count), volume column byte, effect number, effect parameter.
struct Cell {
    uint8_t note;
    uint8_t instrument;
    uint8_t volume;
    uint8_t effect;
    uint8_t parameter;
};
static_assert(sizeof(Cell) == 5);

struct PatternSlot {
    uint16_t rows;
    uint16_t packed_size;  // 0: the pattern is empty
    Cell* cells;           // rows x channels cells, row after row; null when rows x channels is 0
};

struct SampleRecord {
    int32_t length;       // frames
    int32_t loop_start;   // frames; 0 when the sample does not loop
    int32_t loop_length;  // frames; equals length when the sample does not loop
    uint8_t volume;       // 0..64
    int8_t finetune;
    uint8_t is_16bit;
    uint8_t panning;      // 0..255
    int8_t relative_note;
    uint8_t packing;      // 0xAD: 4-bit delta-packed in the file
    uint8_t loop_type;    // 0 none, 1 forward, 2 ping-pong, 3 as read
    uint8_t name_byte;    // second byte of the sample name, unused
    int16_t* data;        // length + 3 values: the frames, the guard, two zeros
};

struct EnvelopePoint {
    uint16_t x;  // tick
    uint16_t y;  // value 0..64
};

// Envelope type bits.
enum : uint8_t { envelope_on = 1, envelope_sustain = 2, envelope_loop = 4 };

struct Instrument {
    int32_t sample_count;    // 0..255
    SampleRecord** samples;  // sample_count records in file order; null when there are none
    // From here to fadeout: the 208 bytes of the file's extended instrument
    // header, in the file's order.
    uint8_t sample_map[96];
    EnvelopePoint volume_envelope[12];
    EnvelopePoint panning_envelope[12];
    uint8_t volume_points, panning_points;
    uint8_t volume_sustain, volume_loop_start, volume_loop_end;
    uint8_t panning_sustain, panning_loop_start, panning_loop_end;
    uint8_t volume_type, panning_type;
    uint8_t vibrato_type, vibrato_sweep, vibrato_depth, vibrato_rate;
    uint16_t fadeout;  // twice the file's value
};
static_assert(offsetof(Instrument, fadeout) + sizeof(uint16_t) - offsetof(Instrument, sample_map) == 208,
              "the extended instrument header is kept byte for byte");

// The all-zero sample (length 0) that a voice gets when a note maps to no sample.
extern SampleRecord empty_sample;

}  // namespace music
