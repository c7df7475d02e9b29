// convert.cpp: the eight row converters. The packed paths handle several
// pixels per step with 64-bit integer operations (two pixels per 64-bit word,
// each in its own 32-bit lane; the masks keep every shifted field inside its
// lane), and the per-pixel formula finishes the row. Both give the same bytes.
// Where the processor has them, wider steps come first: AVX2 for the 16-bit
// layouts (16 pixels a step) and the swapped 32-bit one (8 pixels a step),
// SSSE3 byte shuffles for the 24-bit ones and the swapped 32-bit one (4 pixels
// a step); WebAssembly SIMD (built with -msimd128) takes their place in the
// browser. The 64-bit path and the per-pixel formula then finish the row.
#include "display/convert.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define QUILLON_X86 1
#elif defined(__wasm_simd128__)
#include <wasm_simd128.h>
#define QUILLON_WASM_SIMD 1
#endif

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

// Red and blue exchanged in both lanes, the fourth byte cleared.
inline uint64_t lanes_xbgr8888(uint64_t a) {
    return ((a & 0x000000FF000000FFull) << 16) | (a & 0x0000FF000000FF00ull) | ((a >> 16) & 0x000000FF000000FFull);
}

#ifdef QUILLON_X86
// The 16-bit formulas on eight 32-bit lanes at a time.
enum class Wide { rgb565, bgr565, rgb555, bgr555 };

__attribute__((target("avx2"))) inline __m256i field(__m256i v, uint32_t mask) {
    return _mm256_and_si256(v, _mm256_set1_epi32(int(mask)));
}

template <Wide W>
__attribute__((target("avx2"))) inline __m256i wide_lanes(__m256i a) {
    switch (W) {
        case Wide::rgb565:
            return _mm256_or_si256(_mm256_or_si256(field(_mm256_srli_epi32(a, 8), 0xF800), field(_mm256_srli_epi32(a, 5), 0x07E0)),
                                   field(_mm256_srli_epi32(a, 3), 0x001F));
        case Wide::bgr565:
            return _mm256_or_si256(_mm256_or_si256(field(_mm256_slli_epi32(a, 8), 0xF800), field(_mm256_srli_epi32(a, 5), 0x07E0)),
                                   field(_mm256_srli_epi32(a, 19), 0x001F));
        case Wide::rgb555:
            return _mm256_or_si256(_mm256_or_si256(field(_mm256_srli_epi32(a, 9), 0x7C00), field(_mm256_srli_epi32(a, 6), 0x03E0)),
                                   field(_mm256_srli_epi32(a, 3), 0x001F));
        case Wide::bgr555:
            return _mm256_or_si256(_mm256_or_si256(field(_mm256_slli_epi32(a, 7), 0x7C00), field(_mm256_srli_epi32(a, 6), 0x03E0)),
                                   field(_mm256_srli_epi32(a, 19), 0x001F));
    }
    return a;
}

// Converts whole steps of 16 pixels; returns how many pixels it did.
template <Wide W>
__attribute__((target("avx2"))) int32_t row_16_avx2(const uint32_t* s, uint8_t* out, int32_t count) {
    int32_t i = 0;
    for (; i + 16 <= count; i += 16) {
        __m256i a = wide_lanes<W>(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i)));
        __m256i b = wide_lanes<W>(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i + 8)));
        // packus interleaves the 128-bit halves; the permute puts them back in order.
        __m256i packed = _mm256_permute4x64_epi64(_mm256_packus_epi32(a, b), 0xD8);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 2 * i), packed);
    }
    return i;
}

__attribute__((target("ssse3"))) int32_t row_rgb888_ssse3(const uint32_t* s, uint8_t* out, int32_t count) {
    const __m128i drop_fourth = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    int32_t i = 0;
    // Each step stores 16 bytes of which 12 are the step's; the last 4 are
    // overwritten by the next step, so stop while a whole 16 fit in the row.
    for (; i + 6 <= count; i += 4) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * i), _mm_shuffle_epi8(v, drop_fourth));
    }
    return i;
}

__attribute__((target("ssse3"))) int32_t row_bgr888_ssse3(const uint32_t* s, uint8_t* out, int32_t count) {
    const __m128i swap_drop_fourth = _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
    int32_t i = 0;
    for (; i + 6 <= count; i += 4) {  // 16 bytes stored, 12 kept: as for rgb888
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * i), _mm_shuffle_epi8(v, swap_drop_fourth));
    }
    return i;
}

__attribute__((target("ssse3"))) int32_t row_xbgr8888_ssse3(const uint32_t* s, uint8_t* out, int32_t count) {
    const __m128i swap = _mm_setr_epi8(2, 1, 0, -1, 6, 5, 4, -1, 10, 9, 8, -1, 14, 13, 12, -1);
    int32_t i = 0;
    for (; i + 4 <= count; i += 4) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * i), _mm_shuffle_epi8(v, swap));
    }
    return i;
}

__attribute__((target("avx2"))) int32_t row_xbgr8888_avx2(const uint32_t* s, uint8_t* out, int32_t count) {
    const __m256i swap = _mm256_setr_epi8(2, 1, 0, -1, 6, 5, 4, -1, 10, 9, 8, -1, 14, 13, 12, -1,  //
                                          2, 1, 0, -1, 6, 5, 4, -1, 10, 9, 8, -1, 14, 13, 12, -1);
    int32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * i), _mm256_shuffle_epi8(v, swap));
    }
    return i;
}

struct Cpu {
    bool avx2, ssse3;
    Cpu() {
        __builtin_cpu_init();
        avx2 = __builtin_cpu_supports("avx2");
        ssse3 = __builtin_cpu_supports("ssse3");
    }
};
const Cpu cpu;
#endif

#ifdef QUILLON_WASM_SIMD
// Byte shuffles with constant lanes (lane 16 and up take the zero vector's
// bytes) and the 16-bit formulas on four 32-bit lanes at a time.
enum class Order { xbgr8888, rgb888, bgr888 };

template <Order O>
inline v128_t reorder(v128_t v) {
    const v128_t z = wasm_i32x4_splat(0);
    switch (O) {
        case Order::xbgr8888: return wasm_i8x16_shuffle(v, z, 2, 1, 0, 16, 6, 5, 4, 16, 10, 9, 8, 16, 14, 13, 12, 16);
        case Order::rgb888: return wasm_i8x16_shuffle(v, z, 0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, 16, 16, 16, 16);
        case Order::bgr888: return wasm_i8x16_shuffle(v, z, 2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, 16, 16, 16, 16);
    }
    return v;
}

// Whole steps of 4 pixels; the 24-bit layouts store 16 bytes of which 12 are
// the step's, so they stop while a whole 16 fit in the row, as the SSSE3
// steps do. Returns how many pixels it did.
template <Order O>
int32_t row_reorder_wasm(const uint32_t* s, uint8_t* out, int32_t count) {
    constexpr int32_t bytes = O == Order::xbgr8888 ? 4 : 3;
    constexpr int32_t reach = O == Order::xbgr8888 ? 4 : 6;
    int32_t i = 0;
    for (; i + reach <= count; i += 4) wasm_v128_store(out + bytes * i, reorder<O>(wasm_v128_load(s + i)));
    return i;
}

enum class Wide { rgb565, bgr565, rgb555, bgr555 };

inline v128_t field(v128_t v, uint32_t mask) { return wasm_v128_and(v, wasm_i32x4_splat(int32_t(mask))); }

template <Wide W>
inline v128_t wide_lanes(v128_t a) {
    switch (W) {
        case Wide::rgb565:
            return wasm_v128_or(wasm_v128_or(field(wasm_u32x4_shr(a, 8), 0xF800), field(wasm_u32x4_shr(a, 5), 0x07E0)),
                                field(wasm_u32x4_shr(a, 3), 0x001F));
        case Wide::bgr565:
            return wasm_v128_or(wasm_v128_or(field(wasm_i32x4_shl(a, 8), 0xF800), field(wasm_u32x4_shr(a, 5), 0x07E0)),
                                field(wasm_u32x4_shr(a, 19), 0x001F));
        case Wide::rgb555:
            return wasm_v128_or(wasm_v128_or(field(wasm_u32x4_shr(a, 9), 0x7C00), field(wasm_u32x4_shr(a, 6), 0x03E0)),
                                field(wasm_u32x4_shr(a, 3), 0x001F));
        case Wide::bgr555:
            return wasm_v128_or(wasm_v128_or(field(wasm_i32x4_shl(a, 7), 0x7C00), field(wasm_u32x4_shr(a, 6), 0x03E0)),
                                field(wasm_u32x4_shr(a, 19), 0x001F));
    }
    return a;
}

template <Wide W>
int32_t row_16_wasm(const uint32_t* s, uint8_t* out, int32_t count) {
    int32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        v128_t a = wide_lanes<W>(wasm_v128_load(s + i));
        v128_t b = wide_lanes<W>(wasm_v128_load(s + i + 4));
        wasm_v128_store(out + 2 * i, wasm_u16x8_narrow_i32x4(a, b));  // every lane fits in 16 bits
    }
    return i;
}
#endif

bool wide_steps = true;

template <uint64_t (*Lanes)(uint64_t), uint16_t (*Pixel)(uint32_t), int Step, int WideKind>
inline void row_16(const uint32_t* s, void* d, int32_t count) {
    uint8_t* out = static_cast<uint8_t*>(d);
    int32_t i = 0;
#ifdef QUILLON_X86
    if (wide_steps && cpu.avx2) i = row_16_avx2<Wide(WideKind)>(s, out, count);
#elif defined(QUILLON_WASM_SIMD)
    if (wide_steps) i = row_16_wasm<Wide(WideKind)>(s, out, count);
#endif
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
    int32_t i = 0;
#ifdef QUILLON_X86
    if (wide_steps && cpu.avx2) i = row_xbgr8888_avx2(s, out, count);
    if (wide_steps && cpu.ssse3) i += row_xbgr8888_ssse3(s + i, out + 4 * i, count - i);
#elif defined(QUILLON_WASM_SIMD)
    if (wide_steps) i = row_reorder_wasm<Order::xbgr8888>(s, out, count);
#endif
    for (; i + 2 <= count; i += 2) {
        uint64_t v = lanes_xbgr8888(load2(s + i));
        std::memcpy(out + 4 * i, &v, 8);
    }
    for (; i < count; ++i) {
        uint32_t v = pixel_xbgr8888(s[i]);
        std::memcpy(out + 4 * i, &v, 4);
    }
}

void row_to_rgb888(const uint32_t* s, void* d, int32_t count) {
    uint8_t* out = static_cast<uint8_t*>(d);
    int32_t i = 0;
#ifdef QUILLON_X86
    if (wide_steps && cpu.ssse3) i = row_rgb888_ssse3(s, out, count);
#elif defined(QUILLON_WASM_SIMD)
    if (wide_steps) i = row_reorder_wasm<Order::rgb888>(s, out, count);
#endif
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
    int32_t i = 0;
#ifdef QUILLON_X86
    if (wide_steps && cpu.ssse3) i = row_bgr888_ssse3(s, out, count);
#elif defined(QUILLON_WASM_SIMD)
    if (wide_steps) i = row_reorder_wasm<Order::bgr888>(s, out, count);
#endif
    for (; i + 4 <= count; i += 4) {  // rgb888's packing of the swapped pixels
        const uint64_t p0 = pixel_xbgr8888(s[i]), p1 = pixel_xbgr8888(s[i + 1]), p2 = pixel_xbgr8888(s[i + 2]),
                       p3 = pixel_xbgr8888(s[i + 3]);
        const uint64_t first = p0 | (p1 << 24) | (p2 << 48);
        const uint32_t second = uint32_t(p2 >> 16) | uint32_t(p3 << 8);
        std::memcpy(out + 3 * i, &first, 8);
        std::memcpy(out + 3 * i + 8, &second, 4);
    }
    for (; i < count; ++i) {
        out[3 * i] = uint8_t(s[i] >> 16);
        out[3 * i + 1] = uint8_t(s[i] >> 8);
        out[3 * i + 2] = uint8_t(s[i]);
    }
}

void row_to_rgb565(const uint32_t* s, void* d, int32_t count) { row_16<lanes_rgb565, pixel_rgb565, 4, 0>(s, d, count); }
void row_to_bgr565(const uint32_t* s, void* d, int32_t count) { row_16<lanes_bgr565, pixel_bgr565, 4, 1>(s, d, count); }
void row_to_rgb555(const uint32_t* s, void* d, int32_t count) { row_16<lanes_rgb555, pixel_rgb555, 8, 2>(s, d, count); }
void row_to_bgr555(const uint32_t* s, void* d, int32_t count) { row_16<lanes_bgr555, pixel_bgr555, 8, 3>(s, d, count); }

void convert_use_wide_steps(bool on) { wide_steps = on; }

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
