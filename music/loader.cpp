// loader.cpp: the 336-byte XM header, the "Exte" test, song_title and xm_load
// (patterns, instruments and their samples into the player's heap).
//
//   source_select(kind, size);   // source.cpp
//   module_load(data);           // 1: `song` holds the header fields and the tables
//
// Every count and size in the file is trusted only as far as memory goes:
// sizes are computed in 64 bits and refused past the heap's limit, reads
// into fresh zeroed buffers (so what lies past the end of the data reads as
// zero bytes), and the order table is scanned no further than its 256
// entries. Everything else is taken as it comes: a truncated module loads
// with the bytes it has.
#include "music/loader.h"

#include <bit>
#include <cstring>

#include "music/samples.h"
#include "music/source.h"
#include "music/state.h"
#include "platform/heap.h"

namespace music {

namespace {

static_assert(std::endian::native == std::endian::little, "instrument bytes are kept in the file's byte order");

constexpr uint32_t header_bytes = 336;
constexpr uint32_t instrument_bytes = 208;  // sample_map .. fadeout
constexpr int32_t empty_pattern_rows = 64;

// The header as read, for the title.
uint8_t header[header_bytes];

uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

void* alloc64(uint64_t size) { return size > platform::heap_limit ? nullptr : player_alloc(uint32_t(size)); }

uint8_t read_byte() {
    uint8_t b = 0;
    source.read(&b, 1);
    return b;
}

void copy_title() {
    int32_t n = 0;
    for (int32_t i = 0; i < 20; ++i) {
        const uint8_t c = header[17 + i];
        if (c >= 0x20 && c <= 0x7F) song_title[n++] = char(c);
    }
    std::memset(song_title + n, 0, sizeof song_title - size_t(n));
}

// Unpacks rows x channels cells: a byte with bit 7 set is a mask of the
// fields that follow (note, instrument, volume, effect, parameter), any other
// byte is the note of a plain five-byte cell.
void unpack_cells(Cell* cells, uint64_t count, uint8_t instrument_count) {
    for (uint64_t i = 0; i < count; ++i) {
        Cell& c = cells[i];
        const uint8_t b = read_byte();
        if (b & 0x80) {
            if (b & 0x01) c.note = read_byte();
            if (b & 0x02) c.instrument = read_byte();
            if (b & 0x04) c.volume = read_byte();
            if (b & 0x08) c.effect = read_byte();
            if (b & 0x10) c.parameter = read_byte();
        } else {
            uint8_t rest[4] = {};
            source.read(rest, sizeof rest);
            c.note = b;
            c.instrument = rest[0];
            c.volume = rest[1];
            c.effect = rest[2];
            c.parameter = rest[3];
        }
        if (c.instrument > instrument_count) c.instrument = 0;
    }
}

int32_t load_patterns(uint32_t stored, uint32_t highest, int32_t channels, uint8_t instrument_count) {
    for (uint32_t k = 0; k < stored; ++k) {
        uint8_t h[9] = {};
        source.read(h, sizeof h);
        PatternSlot& slot = song.pattern_table[k];
        slot.rows = le16(h + 5);
        slot.packed_size = le16(h + 7);
        const uint64_t count = uint64_t(slot.rows) * uint64_t(channels);
        if (count == 0) continue;
        slot.cells = static_cast<Cell*>(alloc64(count * sizeof(Cell)));
        if (!slot.cells) return 0;
        if (slot.packed_size == 0) continue;
        unpack_cells(slot.cells, count, instrument_count);
    }
    // Slots named by the order table beyond the stored patterns.
    for (uint32_t k = stored; k <= highest && k < song.pattern_slots; ++k) {
        PatternSlot& slot = song.pattern_table[k];
        slot.rows = empty_pattern_rows;
        slot.packed_size = 0;
        if (channels == 0) continue;
        slot.cells = static_cast<Cell*>(alloc64(uint64_t(empty_pattern_rows) * uint64_t(channels) * sizeof(Cell)));
        if (!slot.cells) return 0;
    }
    return 1;
}

int32_t load_instrument(Instrument& ins) {
    const int64_t start = source.seek(0, 1);
    uint8_t h[33] = {};
    source.read(h, sizeof h);
    const uint32_t header_size = le32(h);
    const uint8_t count = h[27];  // low byte of the sample count
    if (count > 16) return 0;
    ins.sample_count = count;

    uint8_t extended[instrument_bytes] = {};
    source.read(extended, sizeof extended);
    std::memcpy(ins.sample_map, extended, sizeof extended);
    source.seek(start + int64_t(header_size), 0);
    ins.fadeout = ins.fadeout > 0x7FFF ? 0xFFFF : uint16_t(ins.fadeout * 2);
    if (ins.volume_points < 2) ins.volume_type = 0;
    if (ins.panning_points < 2) ins.panning_type = 0;

    for (int32_t i = 0; i < count; ++i) {
        ins.samples[i] = sample_read_head();
        if (!ins.samples[i]) return 0;
    }
    for (int32_t i = 0; i < count; ++i)
        if (!sample_read_data(ins.samples[i])) return 0;
    return 1;
}

}  // namespace

int32_t module_load(const void* data) {
    void* handle = source.open(data);
    // A source that delivers nothing leaves a zeroed header, which fails the
    // magic test instead of passing with an earlier module's bytes.
    std::memset(header, 0, sizeof header);
    source.read(header, header_bytes);
    int32_t result = 0;
    if (std::memcmp(header, "Exte", 4) == 0) {
        song = SongState{};
        song.header_size = le32(header + 60);
        song.song_length = le16(header + 64);
        song.restart = le16(header + 66);
        song.channels = le16(header + 68);
        song.pattern_slots = le16(header + 70);
        song.instrument_count = le16(header + 72);
        song.flags = le16(header + 74);
        song.default_speed = le16(header + 76);
        song.default_bpm = le16(header + 78);
        std::memcpy(song.order_table, header + 80, sizeof song.order_table);
        result = xm_load();
    }
    source.close(handle);
    return result;
}

int32_t xm_load() {
    copy_title();
    source.seek(60 + int64_t(song.header_size), 0);

    // Pattern slots: the stored ones, and any the order table names beyond them.
    const uint32_t stored = song.pattern_slots;
    const uint32_t scanned = song.song_length < 256 ? song.song_length : 256;
    uint32_t highest = 0;
    for (uint32_t i = 0; i < scanned; ++i)
        if (song.order_table[i] > highest) highest = song.order_table[i];
    uint32_t slots = stored;
    if (scanned > 0 && highest + 1 > slots) slots = highest + 1;
    song.pattern_slots = uint16_t(slots);

    // Only the low byte counts; keep the count of the records that exist.
    const uint8_t instrument_count = uint8_t(song.instrument_count);
    song.instrument_count = instrument_count;
    const uint64_t table_bytes = uint64_t(slots) * sizeof(PatternSlot) + uint64_t(instrument_count) * sizeof(Instrument);
    uint8_t* block = static_cast<uint8_t*>(alloc64(table_bytes));
    if (!block) return 0;
    song.pattern_table = reinterpret_cast<PatternSlot*>(block);
    song.instruments = reinterpret_cast<Instrument*>(block + uint64_t(slots) * sizeof(PatternSlot));

    const uint8_t channel_byte = uint8_t(song.channels);
    song.channels = channel_byte > max_channels ? max_channels : channel_byte;

    if (!load_patterns(stored, scanned > 0 ? highest : 0, song.channels, instrument_count)) return 0;
    for (int32_t i = 0; i < instrument_count; ++i)
        if (!load_instrument(song.instruments[i])) return 0;
    return 1;
}

}  // namespace music
