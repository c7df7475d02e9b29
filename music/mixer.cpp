// mixer.cpp: mix_voices, the resampling mixer. Every sounding voice is added
// into the float accumulators of stream.mix_buffer by linear interpolation
// over its 16-bit data, at a 32.32 fixed-point position and step, with its
// left and right gains (factor gain / 255) and a 128-frame linear ramp after
// every gain change. Called by fill_block between tick boundaries.
//
// A voice's frames are cut into segments: the frames up to the end of the
// range being played (the loop end or the sample end going forwards, the
// loop start going backwards), counted once per segment with one division,
// the frames left in a running gain ramp, and the frames asked for. The
// loops over a segment hold no end tests; the plain loop makes two frames a
// turn. Then the end is handled: a forward loop wraps back by whole loop
// lengths, a ping-pong loop mirrors at its ends (any number of times), any
// other sample falls silent.
//
// A voice whose gains are both 0 (and no ramp runs) adds nothing: only its
// position moves, in closed form. The plain and ramp loops run eight frames a
// turn with AVX2 where the processor has it, bit for bit as the scalar ones;
// the scalar loops are the portable path, the only one on other processors.
//
// Positions advance by clearing the fraction's lowest bit and then adding the
// step (subtracting it backwards). After the first frame the positions thus
// form an arithmetic sequence with the step rounded to even, which lets a
// segment's exact bound be computed in closed form (frames_below/above).
//
// Safety of the sample reads (every read is data[i] and data[i + 1]):
// - Loop fields are not trusted: a loop that starts outside the sample or has
//   no length plays as unlooped, a loop end beyond the sample end is cut to
//   it, so every range lies within data[0 .. length] (index length is the
//   loader's guard value).
// - The frames to the end are counted at 2^-24 precision (step and distance
//   shifted right by 8 bits, fallback step 97391 when the shifted step is 0),
//   so a count can be off by a hair either way. Each segment is therefore
//   also cut to the frames whose position lies exactly inside the range, and
//   the end handling brings a position that ends a hair outside the loop back
//   in: below the loop start to the loop start (fraction 0), backwards at or
//   past the loop end to the last position before it. Without this a
//   backward pass that ends exactly on a loop start of 0 would mirror to the
//   position just before the sample and read data[-1].
// - Steps are limited to 0 .. 2^24 frames per output frame so no position
//   arithmetic can overflow.
#include <algorithm>
#include <cmath>
#include <cstdint>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define QUILLON_X86 1
#endif

#include "music/mixer.h"

namespace music {

namespace {

constexpr int32_t ramp_frames = 128;
constexpr float ramp_divisor = 32640.0f;  // 255 x 128
constexpr uint32_t fallback_step24 = 97391;
constexpr int64_t far_frames = int64_t(1) << 24;
constexpr int64_t max_step = int64_t(1) << 56;  // 2^24 frames in 32.32
constexpr float fraction_scale = 1.0f / 2147483648.0f;
constexpr float gain_scale = 255.0f;

// The range a sample plays, in 32.32 frames.
struct Range {
    int64_t start;   // loop start (0 when not looping)
    int64_t end;     // loop end, or sample end when not looping
    int64_t length;  // sample end
    int32_t type;    // 1 forward loop, 2 ping-pong, anything else: the sample ends
};

Range range_of(const SampleRecord* s) {
    const int64_t length = s->length > 0 ? s->length : 0;
    const int64_t loop_start = s->loop_start, loop_length = s->loop_length;
    Range r;
    r.length = length << 32;
    if (loop_start >= 0 && loop_length > 0 && loop_start < length) {
        r.start = loop_start << 32;
        r.end = std::min(loop_start + loop_length, length) << 32;
        r.type = s->loop_type;
    } else {
        r.start = 0;
        r.end = length << 32;
        r.type = (s->loop_type == 1 || s->loop_type == 2) ? 0 : s->loop_type;
    }
    return r;
}

int64_t next_position(int64_t p, int64_t delta) { return (p & ~int64_t(1)) + delta; }

// From the second frame on, positions move by this even stride.
int64_t stride_of(int64_t delta) { return delta >= 0 ? (delta & ~int64_t(1)) : -((-delta + 1) & ~int64_t(1)); }

// How many frames from position p (p < limit) going forwards by step lie
// below limit, at most cap. Mostly the cap's own last frame (frame cap - 1,
// at second + (cap - 2) x stride) is still below the limit, which one product
// tells without the division; strides up to 2^52 keep it inside 63 bits for
// the 1,024 frames of a block.
constexpr int64_t product_stride = int64_t(1) << 52;

int64_t frames_below(int64_t p, int64_t step, int64_t limit, int64_t cap) {
    const int64_t second = next_position(p, step);
    if (second >= limit) return 1;
    const int64_t stride = step & ~int64_t(1);
    if (stride == 0) return cap;
    if (stride < product_stride && cap <= block_frames && second + (cap - 2) * stride < limit) return cap;
    return std::min(cap, 2 + (limit - 1 - second) / stride);
}

// How many frames from position p (p > limit) going backwards by step lie
// above limit, at most cap. (Going backwards, reaching the loop start is the
// end, as reaching the loop end is going forwards.)
int64_t frames_above(int64_t p, int64_t step, int64_t limit, int64_t cap) {
    const int64_t second = next_position(p, -step);
    if (second <= limit) return 1;
    const int64_t stride = (step + 1) & ~int64_t(1);
    if (stride == 0) return cap;
    if (stride < product_stride && cap <= block_frames && second - (cap - 2) * stride > limit) return cap;
    return std::min(cap, 2 + (second - limit - 1) / stride);
}

inline float interpolate(const int16_t* s, int64_t p) {
    const int32_t i = int32_t(p >> 32);
    const float t = float(int32_t(uint32_t(p) >> 1)) * fraction_scale;
    const float a = float(s[i]);
    return a + float(int32_t(s[i + 1]) - int32_t(s[i])) * t;
}

// n frames at constant gains, two a turn.
void mix_plain_scalar(const int16_t* s, int64_t& position, int64_t delta, float* out, int32_t n, float left, float right) {
    int64_t p = position;
    for (; n >= 2; n -= 2) {
        const float v0 = interpolate(s, p);
        p = next_position(p, delta);
        const float v1 = interpolate(s, p);
        p = next_position(p, delta);
        out[0] += v0 * left;
        out[1] += v0 * right;
        out[2] += v1 * left;
        out[3] += v1 * right;
        out += 4;
    }
    if (n) {
        const float v = interpolate(s, p);
        p = next_position(p, delta);
        out[0] += v * left;
        out[1] += v * right;
    }
    position = p;
}

// n frames of a voice whose gains are both 0 and not ramping: it adds
// nothing, so only its position moves, to exactly where the frame-by-frame
// walk would put it (the first step from p, then the even stride).
void skip_silent(int64_t& position, int64_t delta, int32_t n) {
    position = next_position(position, delta) + int64_t(n - 1) * stride_of(delta);
}

// n frames with the gains moving by their steps after every frame.
void mix_ramp_scalar(const int16_t* s, int64_t& position, int64_t delta, float* out, int32_t n, float& left,
                     float& right, float left_step, float right_step) {
    int64_t p = position;
    float l = left, r = right;
    for (int32_t k = 0; k < n; ++k) {
        const float v = interpolate(s, p);
        p = next_position(p, delta);
        out[0] += v * l;
        out[1] += v * r;
        out += 2;
        l += left_step;
        r += right_step;
    }
    position = p;
    left = l;
    right = r;
}

#ifdef QUILLON_X86
// Eight frames a turn with AVX2, bit for bit as the scalar loops: after the
// first frame the positions form the sequence p1 + k x stride, so eight of
// them are computed at once in 64-bit lanes; one 32-bit gather at &s[i]
// brings s[i] and s[i + 1] together. No FMA: every product and sum is rounded
// on its own, in the scalar loops' order.
//
// Where the eight frames read within nine neighbouring values (steps up to
// one frame, either direction), two plain loads and two lane permutes take
// the place of the gather, when the nine values lie within the sample's data
// (length + 3 values: the frames, the guard and two zeros).
struct Wide {
    __m256i pos_a, pos_b;  // positions of frames 0..3 and 4..7 of the next turn
    __m256i eight;         // 8 x stride
    int64_t p, stride;     // the position of frame 0, and the stride
    int64_t last;          // the last index of the sample's data
};

__attribute__((target("avx2"))) inline Wide wide_start(int64_t p, int64_t stride, int32_t length) {
    Wide w;
    w.p = p;
    w.stride = stride;
    w.last = int64_t(length) + 2;
    w.pos_a = _mm256_add_epi64(_mm256_set1_epi64x(p), _mm256_set_epi64x(3 * stride, 2 * stride, stride, 0));
    w.pos_b = _mm256_add_epi64(w.pos_a, _mm256_set1_epi64x(4 * stride));
    w.eight = _mm256_set1_epi64x(8 * stride);
    return w;
}

// The eight interpolated values of the turn; moves on to the next turn.
__attribute__((target("avx2"))) inline __m256 wide_values(const int16_t* s, Wide& w) {
    const __m256i order = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
    const __m256i a = _mm256_permutevar8x32_epi32(w.pos_a, order);  // f0 f1 f2 f3 i0 i1 i2 i3
    const __m256i b = _mm256_permutevar8x32_epi32(w.pos_b, order);  // f4 .. f7 i4 .. i7
    const __m256i fraction = _mm256_permute2x128_si256(a, b, 0x20);
    const __m256i index = _mm256_permute2x128_si256(a, b, 0x31);
    const int64_t i0 = w.p >> 32, i7 = (w.p + 7 * w.stride) >> 32;
    const int64_t lo = std::min(i0, i7);
    w.p += 8 * w.stride;
    __m256i first, second;
    if (std::max(i0, i7) - lo <= 7 && lo + 8 <= w.last) {
        const __m256i at = _mm256_sub_epi32(index, _mm256_set1_epi32(int32_t(lo)));
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + lo));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + lo + 1));
        first = _mm256_permutevar8x32_epi32(_mm256_cvtepi16_epi32(here), at);
        second = _mm256_permutevar8x32_epi32(_mm256_cvtepi16_epi32(next), at);
    } else {
        const __m256i pair = _mm256_i32gather_epi32(reinterpret_cast<const int*>(s), index, 2);
        first = _mm256_srai_epi32(_mm256_slli_epi32(pair, 16), 16);
        second = _mm256_srai_epi32(pair, 16);
    }
    const __m256 t = _mm256_mul_ps(_mm256_cvtepi32_ps(_mm256_srli_epi32(fraction, 1)), _mm256_set1_ps(fraction_scale));
    const __m256 d = _mm256_cvtepi32_ps(_mm256_sub_epi32(second, first));
    w.pos_a = _mm256_add_epi64(w.pos_a, w.eight);
    w.pos_b = _mm256_add_epi64(w.pos_b, w.eight);
    return _mm256_add_ps(_mm256_cvtepi32_ps(first), _mm256_mul_ps(d, t));
}

// Adds l and r (eight frames of each side) into out, interleaved.
__attribute__((target("avx2"))) inline void wide_add(float* out, __m256 l, __m256 r) {
    const __m256 lo = _mm256_unpacklo_ps(l, r);  // frames 0 1 | 4 5
    const __m256 hi = _mm256_unpackhi_ps(l, r);  // frames 2 3 | 6 7
    _mm256_storeu_ps(out, _mm256_add_ps(_mm256_loadu_ps(out), _mm256_permute2f128_ps(lo, hi, 0x20)));
    _mm256_storeu_ps(out + 8, _mm256_add_ps(_mm256_loadu_ps(out + 8), _mm256_permute2f128_ps(lo, hi, 0x31)));
}

__attribute__((target("avx2"))) void mix_plain_avx2(const int16_t* s, int32_t length, int64_t& position, int64_t delta,
                                                    float* out, int32_t n, float left, float right) {
    if (n >= 9) {
        // Frame 0 from any position; from frame 1 on the sequence is regular.
        mix_plain_scalar(s, position, delta, out, 1, left, right);
        out += 2;
        --n;
        Wide w = wide_start(position, stride_of(delta), length);
        const __m256 vl = _mm256_set1_ps(left), vr = _mm256_set1_ps(right);
        for (; n >= 8; n -= 8, out += 16) {
            const __m256 v = wide_values(s, w);
            wide_add(out, _mm256_mul_ps(v, vl), _mm256_mul_ps(v, vr));
        }
        position = _mm256_extract_epi64(w.pos_a, 0);
    }
    if (n > 0) mix_plain_scalar(s, position, delta, out, n, left, right);
}

__attribute__((target("avx2"))) void mix_ramp_avx2(const int16_t* s, int32_t length, int64_t& position, int64_t delta,
                                                   float* out, int32_t n, float& left, float& right, float left_step,
                                                   float right_step) {
    if (n >= 9) {
        mix_ramp_scalar(s, position, delta, out, 1, left, right, left_step, right_step);
        out += 2;
        --n;
        Wide w = wide_start(position, stride_of(delta), length);
        float l = left, r = right;
        alignas(32) float gl[8], gr[8];
        for (; n >= 8; n -= 8, out += 16) {
            // The gains go on frame by frame, as in the scalar loop.
            for (int k = 0; k < 8; ++k) {
                gl[k] = l;
                gr[k] = r;
                l += left_step;
                r += right_step;
            }
            const __m256 v = wide_values(s, w);
            wide_add(out, _mm256_mul_ps(v, _mm256_load_ps(gl)), _mm256_mul_ps(v, _mm256_load_ps(gr)));
        }
        left = l;
        right = r;
        position = _mm256_extract_epi64(w.pos_a, 0);
    }
    if (n > 0) mix_ramp_scalar(s, position, delta, out, n, left, right, left_step, right_step);
}

bool cpu_has_avx2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}
#else
bool cpu_has_avx2() { return false; }
#endif

const bool has_avx2 = cpu_has_avx2();
bool wide_steps = has_avx2;

void mix_plain(const int16_t* s, int32_t length, int64_t& position, int64_t delta, float* out, int32_t n, float left,
               float right) {
#ifdef QUILLON_X86
    if (wide_steps) return mix_plain_avx2(s, length, position, delta, out, n, left, right);
#else
    (void)length;
#endif
    mix_plain_scalar(s, position, delta, out, n, left, right);
}

void mix_ramp(const int16_t* s, int32_t length, int64_t& position, int64_t delta, float* out, int32_t n, float& left,
              float& right, float left_step, float right_step) {
#ifdef QUILLON_X86
    if (wide_steps) return mix_ramp_avx2(s, length, position, delta, out, n, left, right, left_step, right_step);
#else
    (void)length;
#endif
    mix_ramp_scalar(s, position, delta, out, n, left, right, left_step, right_step);
}

// Ping-pong mirrors. Two mirrors in a row (at one end, then at the other)
// move the position by exactly two loop lengths, so whole pairs are taken at
// once and at most two single mirrors remain.
void mirror_at_end(const Range& r, int64_t& p, int32_t& direction) {
    const int64_t twice = 2 * (r.end - r.start);
    if (p >= r.end) p -= twice * ((p - r.end) / twice);
    p = 2 * r.end - p - 1;
    direction = 1;
}

void mirror_at_start(const Range& r, int64_t& p, int32_t& direction) {
    const int64_t twice = 2 * (r.end - r.start);
    if (p < r.start) p += twice * ((r.start - p - 1) / twice);
    p = 2 * r.start - p - 1;
    direction = 0;
}

// The end of the range was reached: wrap, mirror or end. False when the
// voice fell silent.
bool handle_end(Voice& v, const Range& r, int64_t& p, int32_t& direction) {
    if (r.type == 1) {
        const int64_t loop = r.end - r.start;
        p -= loop;
        if (p >= r.end) p -= loop * ((p - r.end) / loop + 1);
        if (p < r.start) p = r.start;  // the pass stopped a hair short of the loop end
        return true;
    }
    if (r.type == 2) {
        if (direction == 0)
            mirror_at_end(r, p, direction);
        else
            mirror_at_start(r, p, direction);
        for (;;) {
            if (direction != 0 && p < r.start)
                mirror_at_start(r, p, direction);
            else if (direction == 0 && p >= r.end)
                mirror_at_end(r, p, direction);
            else
                break;
        }
        // A pass that ended a hair short of (or exactly on) an end mirrors to
        // just outside the loop; bring it back in.
        if (p < r.start) p = r.start;
        if (direction != 0 && p >= r.end) p = r.end - 1;
        return true;
    }
    v.sample = nullptr;
    v.position = 0;
    v.position_fraction = 0;
    return false;
}

void mix_voice(Voice& v, float* out, int32_t rest) {
    const SampleRecord* sample = v.sample;
    const int16_t* s = sample->data;
    const Range r = range_of(sample);
    int64_t p = int64_t(v.position) * (int64_t(1) << 32) + int64_t(v.position_fraction);
    if (p < 0) p = 0;
    int32_t direction = v.direction != 0 ? 1 : 0;
    int64_t step = v.step_integer < 0 ? 0 : (int64_t(v.step_integer) << 32) + int64_t(v.step_fraction);
    if (step > max_step) step = max_step;

    while (rest > 0) {
        // 1. Frames to the end.
        int64_t limit, distance;
        if (direction == 0) {
            limit = (p >> 32) > (r.end >> 32) ? r.length : r.end;
            distance = limit - p;
        } else {
            limit = r.start;
            distance = p - r.start;
        }
        int32_t seg = rest;
        bool at_end = false;
        if (distance <= 0) {
            seg = 0;
            at_end = true;
        } else {
            if ((distance >> 32) < far_frames) {
                const uint64_t d24 = uint64_t(distance) >> 8;
                uint32_t s24 = uint32_t(uint64_t(step) >> 8);
                if (s24 == 0) s24 = fallback_step24;
                const uint64_t frames = (d24 + s24 - 1) / s24;
                if (frames <= uint64_t(rest)) {
                    seg = int32_t(frames);
                    at_end = true;
                }
            }
            const int64_t inside =
                direction == 0 ? frames_below(p, step, limit, seg) : frames_above(p, step, limit, seg);
            if (inside < seg) {
                seg = int32_t(inside);
                at_end = true;
            }
        }

        // 2. Gain ramp.
        if (v.ramp_left == 0 || v.gain_right != v.mix_target_right || v.gain_left != v.mix_target_left) {
            v.mix_target_right = v.gain_right;
            v.mix_target_left = v.gain_left;
            const bool left_moves = v.gain_left != v.ramp_gain_left;
            const bool right_moves = v.gain_right != v.ramp_gain_right;
            v.ramp_step_left = left_moves ? float(v.gain_left - v.ramp_gain_left) / ramp_divisor : 0.0f;
            v.ramp_step_right = right_moves ? float(v.gain_right - v.ramp_gain_right) / ramp_divisor : 0.0f;
            if (left_moves || right_moves) v.ramp_left = ramp_frames;
        }
        const bool ramping = v.ramp_left > 0;
        if (ramping && seg > v.ramp_left) {  // the ramp ends first; the end is counted again after it
            seg = v.ramp_left;
            at_end = false;
        }

        // 3. Mix.
        const int64_t delta = direction == 0 ? step : -step;
        if (ramping) {
            float left = float(v.ramp_gain_left) / gain_scale;
            float right = float(v.ramp_gain_right) / gain_scale;
            if (seg > 0) mix_ramp(s, sample->length, p, delta, out, seg, left, right, v.ramp_step_left, v.ramp_step_right);
            // 4. After the pass.
            v.ramp_gain_left = int32_t(std::nearbyint(left * gain_scale));
            v.ramp_gain_right = int32_t(std::nearbyint(right * gain_scale));
            v.ramp_left -= seg;
            if (v.ramp_left <= 0) {
                v.ramp_left = 0;
                v.ramp_step_left = 0.0f;
                v.ramp_step_right = 0.0f;
                v.ramp_gain_right = v.gain_right;
                v.ramp_gain_left = v.gain_left;
            }
        } else if (seg > 0 && v.gain_left == 0 && v.gain_right == 0) {
            skip_silent(p, delta, seg);
        } else if (seg > 0) {
            mix_plain(s, sample->length, p, delta, out, seg, float(v.gain_left) / gain_scale, float(v.gain_right) / gain_scale);
        }
        rest -= seg;
        out += 2 * seg;

        // 5. End handling.
        if (at_end && !handle_end(v, r, p, direction)) return;
    }

    v.position = int32_t(p >> 32);
    v.position_fraction = uint32_t(uint64_t(p));
    v.direction = direction;
}

}  // namespace

bool mixer_use_wide_steps(bool on) {
    const bool was = wide_steps;
    wide_steps = on && has_avx2;
    return was;
}

bool mixer_wide_steps() { return wide_steps; }

void mix_voices(int32_t first_frame, int32_t n) {
    if (n <= 0) return;
    float* out = stream.mix_buffer + 2 * first_frame;
    for (Voice& v : voices)
        if (v.sample) mix_voice(v, out, n);
}

}  // namespace music
