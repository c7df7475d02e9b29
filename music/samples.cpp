// samples.cpp: sample headers, sample data decoding and the guard value (see
// samples.h), and the module-less empty_sample.
//
// A record and its data are one block from player_alloc: the head, then
// length + 3 values (the frames, the guard, two zeros). Lengths and loop
// fields come from the file in bytes and are trusted only as far as memory
// goes: the block's size is computed in 64 bits and refused past the heap's
// limit, and a loop reaching past the data is cut back into it.
#include "music/samples.h"

#include <cstring>

#include "music/loader.h"
#include "music/source.h"
#include "platform/heap.h"

namespace music {

namespace {
int16_t empty_data[3];
constexpr uint8_t packed4_mark = 0xAD;

uint32_t le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

void make_unlooped(uint32_t length, uint32_t& loop_start, uint32_t& loop_length, uint8_t& loop_type) {
    loop_start = 0;
    loop_length = length;
    loop_type = 0;
}
}  // namespace

// The data pointer leads to three zero values, as an inline record's would,
// so a reader of the guard past frame 0 stays inside memory.
SampleRecord empty_sample = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, empty_data};

SampleRecord* sample_read_head() {
    uint8_t h[40] = {};
    source.read(h, sizeof h);
    uint32_t length = le32(h), loop_start = le32(h + 4), loop_length = le32(h + 8);
    const uint8_t type = h[14];
    const bool sixteen_bit = type & 0x10;
    if (sixteen_bit) {
        length >>= 1;
        loop_start >>= 1;
        loop_length >>= 1;
    }
    uint8_t loop_type = type & 3;
    if (loop_type == 0 || loop_length == 0) {
        make_unlooped(length, loop_start, loop_length, loop_type);
    } else {
        // Keep the loop inside the frames; one with nothing left does not loop.
        const uint64_t end = uint64_t(loop_start) + loop_length;
        if (loop_start > length) loop_start = length;
        loop_length = uint32_t((end < length ? end : length) - loop_start);
        if (loop_length == 0) make_unlooped(length, loop_start, loop_length, loop_type);
    }

    const uint64_t bytes = sizeof(SampleRecord) + 2 * (uint64_t(length) + 3);
    if (bytes > platform::heap_limit) return nullptr;
    SampleRecord* s = static_cast<SampleRecord*>(player_alloc(uint32_t(bytes)));
    if (!s) return nullptr;
    s->length = int32_t(length);
    s->loop_start = int32_t(loop_start);
    s->loop_length = int32_t(loop_length);
    s->volume = h[12];
    s->finetune = int8_t(h[13]);
    s->is_16bit = sixteen_bit ? 1 : 0;
    s->panning = h[15];
    s->relative_note = int8_t(h[16]);
    s->packing = h[17];
    s->loop_type = loop_type;
    s->name_byte = h[19];
    s->data = reinterpret_cast<int16_t*>(s + 1);
    return s;
}

int32_t sample_read_data(SampleRecord* s) {
    int16_t* d = s->data;
    const uint32_t n = uint32_t(s->length);
    uint32_t decoded = n;

    if (s->packing == packed4_mark) {
        if (s->is_16bit) return 0;
        int8_t table[16] = {};
        source.read(table, sizeof table);
        // Low nibble first; an odd length decodes one value more.
        uint8_t accumulator = 0;
        uint8_t chunk[512];
        uint32_t out = 0;
        for (uint32_t left = (n + 1) / 2; left > 0;) {
            const uint32_t k = left < sizeof chunk ? left : uint32_t(sizeof chunk);
            std::memset(chunk, 0, k);
            source.read(chunk, k);
            for (uint32_t i = 0; i < k; ++i) {
                accumulator = uint8_t(accumulator + table[chunk[i] & 15]);
                d[out++] = int16_t(uint16_t(accumulator) << 8);
                accumulator = uint8_t(accumulator + table[chunk[i] >> 4]);
                d[out++] = int16_t(uint16_t(accumulator) << 8);
            }
            left -= k;
        }
        decoded = out;
    } else if (s->is_16bit) {
        uint8_t* bytes = reinterpret_cast<uint8_t*>(d);
        source.read(bytes, 2 * n);
        uint16_t accumulator = 0;
        for (uint32_t i = 0; i < n; ++i) {
            accumulator = uint16_t(accumulator + (bytes[2 * i] | bytes[2 * i + 1] << 8));
            d[i] = int16_t(accumulator);
        }
    } else {
        // Delta sum over the bytes in place, then widen from the end so no
        // byte is overwritten before it is read. Summing before widening
        // gives the same values as widening first: (sum v) mod 256, times 256.
        uint8_t* bytes = reinterpret_cast<uint8_t*>(d);
        source.read(bytes, n);
        uint8_t accumulator = 0;
        for (uint32_t i = 0; i < n; ++i) bytes[i] = accumulator = uint8_t(accumulator + bytes[i]);
        for (uint32_t i = n; i-- > 0;) d[i] = int16_t(uint16_t(bytes[i]) << 8);
    }

    if (s->loop_type == 1)
        d[decoded] = d[s->loop_start];
    else if (s->loop_type == 2)
        d[decoded] = d[n - 1];
    return 1;
}

}  // namespace music
