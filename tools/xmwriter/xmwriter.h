// xmwriter.h: writes XM modules from a plain description, for tests and for
// the built-in module. The version decides the layout: 0x0104 (and any other
// value) writes the patterns, then each instrument with its sample headers
// and data; 0x0102 and 0x0103 write the instruments with their sample
// headers, then the patterns, then every sample's data in instrument order,
// and 0x0102 writes 8-byte pattern headers with a one-byte rows - 1 count.
//
//   xmw::Module m;
//   m.channels = 2;
//   m.orders = {0};
//   m.patterns.resize(1);                      // 64 rows, all empty
//   xmw::cell(m, 0, 0, 1) = {49, 1, 0, 0, 0};  // C-4, instrument 1, row 0 channel 1
//   xmw::Instrument& ins = m.instruments.emplace_back();
//   ins.samples.push_back({.data = {0, 8192, 16384}});
//   std::vector<uint8_t> bytes = xmw::xm_write(m);
//
// Everything is written as a tracker writes it unless a raw override says
// otherwise. The overrides (std::optional fields, `raw` data) put any value
// into any counted field, so hostile fixtures are built the same way as sound
// ones: a header size that moves the first pattern, a song length above 256,
// pattern and instrument counts that disagree with what follows, pattern
// headers claiming other rows or packed sizes, instrument header sizes,
// sample counts, lengths and loop fields in bytes, the packing byte. Every
// stored header size (module, pattern, instrument, sample header) cuts or
// zero-pads its header to that many bytes. An instrument may hold any number
// of samples; the count field is 16-bit.
//
// Sample values are the decoded values: the writer delta-codes them. An 8-bit
// sample gives its values as int16 v where the stored byte is v >> 8 (so
// 2560 is the byte 10). Loop fields are in frames; the writer doubles them
// (and the length) for 16-bit data, as the file counts bytes.
//
// 4-bit packed data (packed4) is written with the sample's `packed4_table` of
// 16 signed deltas. Each value's high byte is reached exactly when its step
// from the previous high byte (wrapping at 8 bits) is in the table; otherwise
// the nearest reachable byte is taken. An odd length gets one padding nibble
// (the table's 0 entry when it has one).
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace xmw {

struct Cell {
    uint8_t note = 0, instrument = 0, volume = 0, effect = 0, parameter = 0;
};

struct Pattern {
    uint16_t rows = 64;
    std::vector<Cell> cells;  // rows x channels, row-major; missing cells are empty, extra ones ignored
    bool packed = true;       // true: a mask byte before every cell (0x80 alone for an empty cell); false: 5 plain bytes
    // Raw overrides.
    std::optional<uint32_t> header_length;  // default 9, or 8 in 0x0102; the header is cut or padded to it
    uint8_t packing_type = 0;
    std::optional<uint16_t> stored_rows;   // the rows field as written (0x0102: its byte, rows - 1); cells still follow `rows`
    std::optional<uint16_t> packed_size;   // the packed size field as written
    std::optional<std::vector<uint8_t>> raw;  // written instead of the encoded cells (empty: no data)
};

struct EnvelopePoint {
    uint16_t x = 0, y = 0;
};

struct Envelope {
    std::vector<EnvelopePoint> points;  // at most 12 are stored
    uint8_t sustain = 0, loop_start = 0, loop_end = 0, type = 0;
    std::optional<uint8_t> point_count;  // the count as written (default: points.size())
};

struct Sample {
    std::vector<int16_t> data;  // decoded values
    bool sixteen_bit = false;
    bool packed4 = false;
    uint32_t loop_start = 0, loop_length = 0;  // frames
    uint8_t loop_type = 0;                     // 0 none, 1 forward, 2 ping-pong (3 is written as given)
    uint8_t volume = 64, panning = 128;
    int8_t finetune = 0, relative_note = 0;
    std::string name;
    std::array<int8_t, 16> packed4_table = {0, 1, 2, 4, 8, 16, 32, 64, -1, -2, -4, -8, -16, -32, -64, -128};
    // Raw overrides: fields as written, in the file's units (bytes).
    std::optional<uint32_t> length_field, loop_start_field, loop_length_field;
    std::optional<uint8_t> type_byte;      // replaces loop_type | 0x10 for 16-bit
    std::optional<uint8_t> reserved_byte;  // the packing byte (0xAD for packed4 otherwise 0)
    std::optional<std::vector<uint8_t>> raw;  // written instead of the encoded data
};

struct Instrument {
    std::string name;
    uint8_t sample_map[96] = {};
    Envelope volume, panning;
    uint8_t vibrato_type = 0, vibrato_sweep = 0, vibrato_depth = 0, vibrato_rate = 0;
    uint16_t fadeout = 0;
    std::vector<Sample> samples;
    // Raw overrides.
    uint8_t type = 0;
    std::optional<uint32_t> header_size;     // default 263, or 29 without samples; the header is cut or padded to it
    std::optional<uint16_t> sample_count;    // the count as written; all of `samples` follow regardless
    uint32_t sample_header_size = 40;        // each sample header is cut or padded to it
};

struct Module {
    std::string title;  // bytes as given, cut or zero-padded to 20
    uint16_t channels = 4, restart = 0, flags = 1 /* linear */, speed = 6, bpm = 125;
    std::vector<uint8_t> orders;  // at most 256 are stored
    std::vector<Pattern> patterns;
    std::vector<Instrument> instruments;
    // Raw overrides.
    std::string id = "Extended Module: ";  // the first 17 bytes
    std::string tracker = "xmwriter";
    uint16_t version = 0x0104;
    uint32_t header_size = 276;  // the 336-byte header is cut or zero-padded to 60 + header_size
    std::optional<uint16_t> song_length, pattern_count, instrument_count;
};

// The module's bytes.
std::vector<uint8_t> xm_write(const Module& m);

// Cell (row, channel) of a pattern, growing its cell list as needed.
Cell& cell(Module& m, int pattern, int row, int channel);

// The sample's data as the file stores it (deltas, or table and nibbles).
std::vector<uint8_t> encode_sample(const Sample& s);
// The cells of a pattern as the file stores them.
std::vector<uint8_t> encode_pattern(const Pattern& p, int channels);

}  // namespace xmw
