// convert.cpp: the eight row converters. The packed paths handle several
// pixels per step with 64-bit integer operations (two pixels per 64-bit word,
// each in its own 32-bit lane; the masks keep every shifted field inside its
// lane), and the per-pixel formula finishes the row. Both give the same bytes.
#include "display/convert.h"

#include <cstring>

namespace display {

namespace {

inline uint64_t load2(const uint32_t* s) {
    uint64_t v;
    std::memcpy(&v, s, 8);
    return v;
}

// Two 16-bit results, one in the low half of each 32-bit lane, packed into
// the low 32 bits.
inline uint64_t pack_lanes(uint64_t t) { return (t & 0xFFFF) | ((t >> 16) & 0xFFFF0000u); }

inline uint64_t lanes_rgb565(uint64_t a) {
    return ((a >> 8) & 0x0000F8000000F800ull) | ((a >> 5) & 0x000007E0000007E0ull) |
           ((a >> 3) & 0x0000001F0000001Full);
}
inline uint64_t lanes_bgr565(uint64_t a) {
    return ((a << 8) & 0x0000F8000000F800ull) | ((a >> 5) & 0x000007E0000007E0ull) |
           ((a >> 19) & 0x0000001F0000001Full);
}
inline uint64_t lanes_rgb555(uint64_t a) {
    return ((a >> 9) & 0x00007C0000007C00ull) | ((a >> 6) & 0x000003E0000003E0ull) |
           ((a >> 3) & 0x0000001F0000001Full);
}
inline uint64_t lanes_bgr555(uint64_t a) {
    return ((a << 7) & 0x00007C0000007C00ull) | ((a >> 6) & 0x000003E0000003E0ull) |
           ((a >> 19) & 0x0000001F0000001Full);
}

template <uint64_t (*Lanes)(uint64_t), uint16_t (*Pixel)(uint32_t), int Step>
inline void row_16(const uint32_t* s, void* d, int32_t count) {
    uint8_t* out = static_cast<uint8_t*>(d);
    int32_t i = 0;
    for (; i + Step <= count; i += Step) {
        for (int k = 0; k < Step; k += 4) {
            uint64_t lo = pack_lanes(Lanes(load2(s + i + k)));
            uint64_t hi = pack_lanes(Lanes(load2(s + i + k + 2)));
            uint64_t v = lo | (hi << 32);
            std::memcpy(out + 2 * (i + k), &v, 8);
        }
    }
    for (; i < count; ++i) {
        uint16_t v = Pixel(s[i]);
        std::memcpy(out + 2 * i, &v, 2);
    }
}

}  // namespace

void row_to_xrgb8888(const uint32_t* s, void* d, int32_t count) {
    if (count <= 0) return;
    const size_t blocks = size_t(count >> 4) * 64;
    std::memcpy(d, s, blocks);
    const uint8_t* sb = reinterpret_cast<const uint8_t*>(s);
    uint8_t* db = static_cast<uint8_t*>(d);
    for (size_t i = blocks; i < size_t(count) * 4; ++i) db[i] = sb[i];
}

void row_to_xbgr8888(const uint32_t* s, void* d, int32_t count) {
    uint8_t* out = static_cast<uint8_t*>(d);
    for (int32_t i = 0; i < count; ++i) {
        uint32_t v = pixel_xbgr8888(s[i]);
        std::memcpy(out + 4 * i, &v, 4);
    }
}

void row_to_rgb888(const uint32_t* s, void* d, int32_t count) {
    uint8_t* out = static_cast<uint8_t*>(d);
    int32_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const uint64_t p0 = s[i] & 0xFFFFFFu, p1 = s[i + 1] & 0xFFFFFFu, p2 = s[i + 2] & 0xFFFFFFu,
                       p3 = s[i + 3] & 0xFFFFFFu;
        const uint64_t first = p0 | (p1 << 24) | (p2 << 48);
        const uint32_t second = uint32_t(p2 >> 16) | uint32_t(p3 << 8);
        std::memcpy(out + 3 * i, &first, 8);
        std::memcpy(out + 3 * i + 8, &second, 4);
    }
    for (; i < count; ++i) {
        out[3 * i] = uint8_t(s[i]);
        out[3 * i + 1] = uint8_t(s[i] >> 8);
        out[3 * i + 2] = uint8_t(s[i] >> 16);
    }
}

void row_to_bgr888(const uint32_t* s, void* d, int32_t count) {
    uint8_t* out = static_cast<uint8_t*>(d);
    for (int32_t i = 0; i < count; ++i) {
        out[3 * i] = uint8_t(s[i] >> 16);
        out[3 * i + 1] = uint8_t(s[i] >> 8);
        out[3 * i + 2] = uint8_t(s[i]);
    }
}

void row_to_rgb565(const uint32_t* s, void* d, int32_t count) { row_16<lanes_rgb565, pixel_rgb565, 4>(s, d, count); }
void row_to_bgr565(const uint32_t* s, void* d, int32_t count) { row_16<lanes_bgr565, pixel_bgr565, 4>(s, d, count); }
void row_to_rgb555(const uint32_t* s, void* d, int32_t count) { row_16<lanes_rgb555, pixel_rgb555, 8>(s, d, count); }
void row_to_bgr555(const uint32_t* s, void* d, int32_t count) { row_16<lanes_bgr555, pixel_bgr555, 8>(s, d, count); }

RowConverter pick_row_converter(uint32_t bits, uint32_t r, uint32_t g, uint32_t b) {
    static const struct {
        uint32_t bits, r, g, b;
        RowConverter converter;
    } table[] = {
        {32, 0xFF0000, 0xFF00, 0xFF, row_to_xrgb8888}, {32, 0xFF, 0xFF00, 0xFF0000, row_to_xbgr8888},
        {24, 0xFF0000, 0xFF00, 0xFF, row_to_rgb888},   {24, 0xFF, 0xFF00, 0xFF0000, row_to_bgr888},
        {16, 0xF800, 0x7E0, 0x1F, row_to_rgb565},      {16, 0x1F, 0x7E0, 0xF800, row_to_bgr565},
        {16, 0x7C00, 0x3E0, 0x1F, row_to_rgb555},      {16, 0x1F, 0x3E0, 0x7C00, row_to_bgr555},
    };
    for (const auto& row : table)
        if (row.bits == bits && row.r == r && row.g == g && row.b == b) return row.converter;
    return nullptr;
}

}  // namespace display
