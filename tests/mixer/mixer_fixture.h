// mixer_fixture.h: hand-made samples and voices for the mixer's tests, and a
// plain per-frame model of a voice to compare the mixer against.
//
//   auto s = mixer_test::sample({0, 100, 200}, 1, 1, 2);   // forward loop 1..2
//   music::Voice& v = mixer_test::voice(0, s->record, 1.5, 255, 255);
//   music::mix_voices(0, 64);  ... mixer_test::acc(f, 0) ...
#pragma once
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "music/fill.h"
#include "music/mixer.h"
#include "music/state.h"

namespace mixer_test {

// A sample record with its own data: the values, the guard (the loop start's
// value for a forward loop, the last value for ping-pong, else 0) and two
// zeros, as the loader lays them out. Unlooped samples get loop start 0 and
// loop length = length unless raw fields are asked for.
struct TestSample {
    std::vector<int16_t> data;
    music::SampleRecord record{};
};

inline std::unique_ptr<TestSample> sample(std::vector<int16_t> values, uint8_t loop_type = 0, int32_t loop_start = 0,
                                          int32_t loop_length = -1) {
    auto s = std::make_unique<TestSample>();
    const int32_t n = int32_t(values.size());
    int16_t guard = 0;
    if (loop_type == 1 && loop_start >= 0 && loop_start < n) guard = values[size_t(loop_start)];
    if (loop_type == 2 && n > 0) guard = values.back();
    s->data = std::move(values);
    s->data.push_back(guard);
    s->data.push_back(0);
    s->data.push_back(0);
    s->record.length = n;
    s->record.loop_start = loop_type == 0 && loop_length < 0 ? 0 : loop_start;
    s->record.loop_length = loop_length < 0 ? n : loop_length;
    s->record.loop_type = loop_type;
    s->record.volume = 64;
    s->record.data = s->data.data();
    return s;
}

// Voices all silent, accumulators and ring clear, block 0 next.
inline void reset() {
    for (music::Voice& v : music::voices) v = music::Voice{};
    for (float& f : music::stream.mix_buffer) f = 0.0f;
    music::stream.block_index = 0;
    music::stream.info_index = 0;
    for (auto& e : music::stream.info_ring) {
        e.levels = 0;
        e.time = 0;
    }
    music::stream.volume_divisor = 16;
}

constexpr double two32 = 4294967296.0;

inline int64_t fixed(double frames) { return int64_t(std::llround(frames * two32)); }

// Voice k on sample s at a step (in frames) and steady gains: no ramp runs.
inline music::Voice& voice(int k, music::SampleRecord& s, double step, int32_t left, int32_t right,
                           int64_t position = 0, int32_t direction = 0) {
    music::Voice& v = music::voices[k];
    v = music::Voice{};
    v.index = k;
    v.sample = &s;
    const int64_t st = fixed(step);
    v.step_integer = int32_t(st >> 32);
    v.step_fraction = uint32_t(st);
    v.position = int32_t(position >> 32);
    v.position_fraction = uint32_t(uint64_t(position));
    v.direction = direction;
    v.gain_left = v.mix_target_left = v.ramp_gain_left = left;
    v.gain_right = v.mix_target_right = v.ramp_gain_right = right;
    return v;
}

inline int64_t position_of(const music::Voice& v) {
    return int64_t(v.position) * (int64_t(1) << 32) + int64_t(v.position_fraction);
}

inline float acc(int frame, int side) { return music::stream.mix_buffer[2 * frame + side]; }

// The per-frame model: before each frame the end of the range is tested and
// handled by the plain rules (subtract loop lengths; mirror at the ends one
// at a time), then the frame is interpolated in double precision. It knows
// nothing of segments, the 2^-24 count or the ramp; the cases that use it
// keep clear of positions a hair from an end.
struct Model {
    int64_t p;
    int32_t direction;
    bool alive = true;
    std::vector<double> values;  // one per output frame; 0 once silent
};

inline Model model(const music::SampleRecord& s, int64_t p, int32_t direction, int64_t step, int frames) {
    Model m{p, direction, true, {}};
    const int64_t one = int64_t(1) << 32;
    const int64_t start = int64_t(s.loop_start) * one, end = int64_t(s.loop_start + s.loop_length) * one;
    const int64_t length = int64_t(s.length) * one;
    // Going forwards the range ends at the loop end, or at the sample end for
    // a position already beyond the loop end; the choice is made again only
    // after an end was handled.
    int64_t limit = 0;
    auto choose_limit = [&] { limit = (m.p >> 32) > (end >> 32) ? length : end; };
    auto ended = [&] { return m.direction == 0 ? m.p >= limit : m.p <= start; };
    choose_limit();
    auto settle = [&] {
        while (m.alive && ended()) {
            if (s.loop_type == 1) {
                m.p -= end - start;
                while (m.p >= end) m.p -= end - start;
            } else if (s.loop_type == 2) {
                m.p = m.direction == 0 ? 2 * end - m.p - 1 : 2 * start - m.p - 1;
                m.direction ^= 1;
                for (;;) {
                    if (m.direction && m.p < start) {
                        m.p = 2 * start - m.p - 1;
                        m.direction = 0;
                    } else if (!m.direction && m.p >= end) {
                        m.p = 2 * end - m.p - 1;
                        m.direction = 1;
                    } else {
                        break;
                    }
                }
            } else {
                m.alive = false;
                m.p = 0;
            }
            choose_limit();
        }
    };
    for (int f = 0; f < frames; ++f) {
        settle();
        if (!m.alive) {
            m.values.push_back(0.0);
            continue;
        }
        const int64_t i = m.p >> 32;
        const double t = double(uint32_t(m.p) >> 1) / 2147483648.0;
        m.values.push_back(s.data[i] + (s.data[i + 1] - s.data[i]) * t);
        m.p = (m.p & ~int64_t(1)) + (m.direction ? -step : step);
    }
    settle();  // the mixer handles an end as soon as a pass reaches it
    return m;
}

}  // namespace mixer_test
