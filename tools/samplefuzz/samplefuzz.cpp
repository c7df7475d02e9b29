// samplefuzz.cpp: a libFuzzer target for the sample decoders. The first
// seven bytes of an input describe one sample (what the 40-byte header would
// say, kept small so inputs stay fast); the rest is the file from the header
// on: the data (for 4-bit packed data the 16-byte table first), possibly
// short. sample_read_head takes the header from a memory source, the record
// is copied into a block of exactly its size, sample_read_data decodes into
// it, and every value, the guard, the zeros after it and the source position
// are checked against a plain model of the decoders.
//
//   byte 0: bit 0 16-bit, bit 1 4-bit packed (reserved byte 0xAD),
//           bits 2-3 loop type, bit 4 an odd byte added to the length field
//   bytes 1-2, 3-4, 5-6: length, loop start, loop length fields (little-endian)
//
//   scripts/fuzz samplefuzz 300
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "music/loader.h"
#include "music/samples.h"
#include "music/source.h"
#include "music/state.h"
#include "music/stream.h"
#include "platform/heap.h"

using namespace music;

namespace {
void check(bool ok) {
    if (!ok) std::abort();
}

void put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> 8 * i);
}

// The decoded values a sample's data should hold (without guard and zeros).
std::vector<int16_t> model(const SampleRecord& s, const uint8_t* in, size_t size) {
    auto at = [&](size_t i) -> uint8_t { return i < size ? in[i] : 0; };
    const uint32_t n = uint32_t(s.length);
    std::vector<int16_t> out;
    if (s.packing == 0xAD) {
        uint8_t acc = 0;
        for (uint32_t i = 0; i < (n + 1) / 2; ++i) {
            const uint8_t b = at(16 + i);
            acc = uint8_t(acc + int8_t(at(b & 15)));
            out.push_back(int16_t(uint16_t(acc << 8)));
            acc = uint8_t(acc + int8_t(at(b >> 4)));
            out.push_back(int16_t(uint16_t(acc << 8)));
        }
    } else if (s.is_16bit) {
        uint16_t acc = 0;
        for (uint32_t i = 0; i < n; ++i) out.push_back(int16_t(acc = uint16_t(acc + (at(2 * i) | at(2 * i + 1) << 8))));
    } else {
        uint8_t acc = 0;
        for (uint32_t i = 0; i < n; ++i) out.push_back(int16_t(uint16_t((acc = uint8_t(acc + at(i))) << 8)));
    }
    return out;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 7 || size > (1 << 20)) return 0;
    const uint8_t flags = data[0];
    const bool sixteen = flags & 1, packed = flags & 2;
    const uint32_t length_field = uint32_t(data[1] | data[2] << 8) + (flags & 16 ? 1 : 0);
    const uint32_t loop_start_field = data[3] | data[4] << 8, loop_length_field = data[5] | data[6] << 8;

    // The header and the data as the file holds them.
    std::vector<uint8_t> file(40);
    put32(&file[0], length_field);
    put32(&file[4], loop_start_field);
    put32(&file[8], loop_length_field);
    file[12] = 64;
    file[14] = uint8_t((flags >> 2 & 3) | (sixteen ? 0x10 : 0));
    file[17] = packed ? 0xAD : 0;
    file.insert(file.end(), data + 7, data + size);

    source_select(1, int32_t(file.size()));
    source.open(file.data());
    stream.heap = platform::heap_create();
    SampleRecord* head = sample_read_head();
    check(head != nullptr);

    // Head fields: frames, and a loop inside them or none at all.
    const uint32_t n = sixteen ? length_field / 2 : length_field;
    check(uint32_t(head->length) == n && head->is_16bit == (sixteen ? 1 : 0));
    if (head->loop_type == 0) {
        check(head->loop_start == 0 && head->loop_length == head->length);
    } else {
        check(head->loop_type == (flags >> 2 & 3));
        check(head->loop_length > 0 && int64_t(head->loop_start) + head->loop_length <= head->length);
    }

    // The record in a block of exactly its size.
    const size_t bytes = sizeof(SampleRecord) + 2 * (size_t(n) + 3);
    uint8_t* block = static_cast<uint8_t*>(std::calloc(1, bytes));
    SampleRecord* s = reinterpret_cast<SampleRecord*>(block);
    *s = *head;
    s->data = reinterpret_cast<int16_t*>(s + 1);

    const int64_t start = source_state.position;
    const int32_t ok = sample_read_data(s);
    if (packed && sixteen) {
        check(ok == 0);
    } else {
        check(ok == 1);
        const uint8_t* in = data + 7;
        const size_t in_size = size - 7;
        const std::vector<int16_t> want = model(*s, in, in_size);
        const int64_t consumed = packed ? 16 + (n + 1) / 2 : sixteen ? 2 * int64_t(n) : n;
        check(source_state.position - start == consumed);
        for (size_t i = 0; i < want.size(); ++i) check(s->data[i] == want[i]);
        const size_t g = want.size();  // the guard's index: n, or n + 1 after an odd packed length
        int16_t guard = 0;
        if (s->loop_type == 1) guard = want[size_t(s->loop_start)];
        if (s->loop_type == 2) guard = want[n - 1];
        check(s->data[g] == guard);
        for (size_t i = g + 1; i < size_t(n) + 3; ++i) check(s->data[i] == 0);
    }

    std::free(block);
    platform::heap_destroy(stream.heap);
    stream.heap = nullptr;
    return 0;
}
