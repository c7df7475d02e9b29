// fill.cpp: fill_block, the buffer fill. Renders the block at
// stream.block_index: 1,024 stereo frames, cleared, then mixed in stretches
// that end on tick boundaries (replayer_tick runs whenever the current tick's
// frames are used up, also across block boundaries), then rounded (ties to
// even), clamped to 16 bits, scaled by the master volume (x 16 / divisor,
// truncated) and stored little-endian into the block's part of
// stream.wave_buffer.
//
// It logs two ring entries: the song time at the end of the block into the
// block's own entry, and the block's mean absolute output levels into the
// entry of the next block (the one the getters read while this block plays).
// block_index is stored last, with release order, so a thread that sees it
// advance also sees the block's bytes.
//
//   stream.block_index = 0; for (int k = 0; k < 16; ++k) fill_block();
#include <algorithm>
#include <cmath>
#include <cstdint>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define QUILLON_X86 1
#endif

#include "music/mixer.h"
#include "music/replayer.h"

namespace music {

namespace {

// One output sample from an accumulator, at the block's divisor (above 0).
inline int32_t output_sample(float x, int32_t divisor) {
    if (!(x >= -32768.0f)) x = -32768.0f;  // NaN too
    if (x > 32767.0f) x = 32767.0f;
    const int32_t clamped = int32_t(std::lrint(x));  // ties to even
    if (divisor == unity_divisor) return clamped;
    // The quotient of two exact doubles is exact enough to truncate: both
    // operands stay below 2^31, so its error is far below 1 / divisor.
    return int32_t(double(clamped * 16) / double(divisor));
}

// Frames [from, to) of the block: accumulators to output bytes, adding the
// absolute values to the level sums.
void convert_scalar(const float* acc, uint8_t* out, int32_t from, int32_t to, int32_t divisor, uint32_t& left_sum,
                    uint32_t& right_sum) {
    for (int32_t f = from; f < to; ++f) {
        const int32_t left = output_sample(acc[2 * f], divisor);
        const int32_t right = output_sample(acc[2 * f + 1], divisor);
        out[4 * f + 0] = uint8_t(left);
        out[4 * f + 1] = uint8_t(uint32_t(left) >> 8);
        out[4 * f + 2] = uint8_t(right);
        out[4 * f + 3] = uint8_t(uint32_t(right) >> 8);
        left_sum += uint32_t(left < 0 ? -left : left);
        right_sum += uint32_t(right < 0 ? -right : right);
    }
}

#ifdef QUILLON_X86
// The same, four frames a turn with AVX2, bit for bit: max before min sends
// NaN to the low clamp; the conversion rounds ties to even as lrint does;
// the master volume is the same exact double quotient, truncated.
__attribute__((target("avx2"))) void convert_avx2(const float* acc, uint8_t* out, int32_t frames, int32_t divisor,
                                                  uint32_t& left_sum, uint32_t& right_sum) {
    const __m256 low = _mm256_set1_ps(-32768.0f), high = _mm256_set1_ps(32767.0f);
    const __m256d sixteen = _mm256_set1_pd(16.0), by = _mm256_set1_pd(double(divisor));
    __m256i sums = _mm256_setzero_si256();  // left, right, left, right, ...
    int32_t f = 0;
    for (; f + 4 <= frames; f += 4) {
        const __m256 x = _mm256_min_ps(_mm256_max_ps(_mm256_loadu_ps(acc + 2 * f), low), high);
        __m256i v = _mm256_cvtps_epi32(x);
        if (divisor != unity_divisor) {
            const __m256d lo = _mm256_div_pd(_mm256_mul_pd(_mm256_cvtepi32_pd(_mm256_castsi256_si128(v)), sixteen), by);
            const __m256d hi =
                _mm256_div_pd(_mm256_mul_pd(_mm256_cvtepi32_pd(_mm256_extracti128_si256(v, 1)), sixteen), by);
            v = _mm256_set_m128i(_mm256_cvttpd_epi32(hi), _mm256_cvttpd_epi32(lo));
        }
        sums = _mm256_add_epi32(sums, _mm256_abs_epi32(v));
        const __m256i packed = _mm256_permute4x64_epi64(_mm256_packs_epi32(v, v), 0x08);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * f), _mm256_castsi256_si128(packed));
    }
    alignas(32) uint32_t lanes[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), sums);
    left_sum += lanes[0] + lanes[2] + lanes[4] + lanes[6];
    right_sum += lanes[1] + lanes[3] + lanes[5] + lanes[7];
    convert_scalar(acc, out, f, frames, divisor, left_sum, right_sum);
}

#else
// Elsewhere (the browser) mixer_wide_steps() is false and this is never called.
void convert_avx2(const float* acc, uint8_t* out, int32_t frames, int32_t divisor, uint32_t& left_sum,
                  uint32_t& right_sum) {
    convert_scalar(acc, out, 0, frames, divisor, left_sum, right_sum);
}
#endif

}  // namespace

void fill_block() {
    const int32_t block = stream.block_index.load(std::memory_order_relaxed) & (block_count - 1);
    const int32_t first = block * block_frames;
    float* acc = stream.mix_buffer + 2 * first;
    std::fill(acc, acc + 2 * block_frames, 0.0f);

    for (int32_t done = 0; done < block_frames;) {
        if (song.samples_left <= 0) {
            replayer_tick();
            if (song.samples_left <= 0) song.samples_left = 1;  // a tick lasts at least one frame
        }
        const int32_t n = std::min(song.samples_left, block_frames - done);
        mix_voices(first + done, n);
        song.elapsed_ms = int32_t(uint32_t(song.elapsed_ms) + uint32_t(20 * n / 882));
        song.samples_left -= n;
        done += n;
    }
    stream.info_ring[block].time.store(song.elapsed_ms, std::memory_order_relaxed);

    // The master volume is read once for the whole block; never set means
    // full volume.
    uint8_t* out = stream.wave_buffer + size_t(first) * 4;
    int32_t divisor = stream.volume_divisor.load(std::memory_order_relaxed);
    if (divisor <= 0) divisor = unity_divisor;
    uint32_t left_sum = 0, right_sum = 0;
    if (mixer_wide_steps())
        convert_avx2(acc, out, block_frames, divisor, left_sum, right_sum);
    else
        convert_scalar(acc, out, 0, block_frames, divisor, left_sum, right_sum);

    const int32_t next = (block + 1) & (block_count - 1);
    const uint32_t levels = (left_sum / block_frames) << 16 | (right_sum / block_frames);
    stream.info_ring[next].levels.store(int32_t(levels), std::memory_order_relaxed);
    stream.block_index.store(next, std::memory_order_release);
}

}  // namespace music
