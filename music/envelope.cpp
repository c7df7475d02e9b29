// envelope.cpp: the volume and panning envelopes of an instrument, stepped
// once per tick (step_envelope) and set to a position by effect L
// (set_envelope_position). Values are 16.16 fixed point while they slide
// between points; the value for output is the whole part, 0..64.
//
// Whatever the module stores, nothing here reads beyond the 12 stored points:
// a point count above 12 counts as 12, a loop start at or beyond the point
// count turns the loop off, and point values above 64 count as 64. A point
// whose tick lies at or before the tick already reached (points out of order,
// or two on the same tick) is reached at the next step, so the envelope never
// slides past it.
#include "music/voice.h"

namespace music {
namespace {

constexpr int32_t max_points = 12;
constexpr int32_t max_value = 64;

// One envelope of an instrument and the channel fields that follow it.
struct EnvelopeView {
    const EnvelopePoint* points;
    int32_t count;
    int32_t sustain, loop_start, loop_end;
    uint8_t type;
    int32_t* tick;
    int32_t* point;
    int32_t* slope;
    int32_t* fixed;
    int32_t* value;
    uint8_t* done;
};

EnvelopeView view(ChannelState& c, const Instrument& ins, Envelope which) {
    EnvelopeView v;
    if (which == Envelope::volume) {
        v = {ins.volume_envelope, ins.volume_points, ins.volume_sustain, ins.volume_loop_start, ins.volume_loop_end,
             ins.volume_type, &c.vol_env_tick, &c.vol_env_point, &c.vol_env_slope, &c.vol_env_fixed,
             &c.vol_env_value, &c.vol_env_done};
    } else {
        v = {ins.panning_envelope, ins.panning_points, ins.panning_sustain, ins.panning_loop_start,
             ins.panning_loop_end, ins.panning_type, &c.pan_env_tick, &c.pan_env_point, &c.pan_env_slope,
             &c.pan_env_fixed, &c.pan_env_value, &c.pan_env_done};
    }
    if (v.count > max_points) v.count = max_points;
    return v;
}

int32_t y_of(const EnvelopePoint& p) { return p.y > max_value ? max_value : p.y; }

int32_t slope_between(const EnvelopePoint& a, const EnvelopePoint& b) {
    int32_t dx = int32_t(b.x) - int32_t(a.x);
    return dx == 0 ? 0 : (y_of(b) - y_of(a)) * 65536 / dx;
}

int32_t whole(int32_t fixed) {
    int32_t v = fixed >> 16;
    return v < 0 ? 0 : (v > max_value ? max_value : v);
}

}  // namespace

void step_envelope(ChannelState& channel, const Instrument* instrument, Envelope which) {
    channel.flags |= which == Envelope::volume ? flag_volume : flag_panning;
    if (!instrument) return;
    EnvelopeView e = view(channel, *instrument, which);
    if (*e.done) return;
    int32_t i = *e.point;
    if (i < 0 || i >= e.count) {
        *e.value = whole(*e.fixed);
        *e.tick += 1;
        return;
    }
    if (*e.tick < int32_t(e.points[i].x)) {
        *e.fixed += *e.slope;
        *e.value = whole(*e.fixed);
        *e.tick += 1;
        return;
    }
    // Point i reached.
    if ((e.type & envelope_loop) && i == e.loop_end && e.loop_start < e.count) {
        i = e.loop_start;
        *e.tick = e.points[i].x;
    }
    *e.point = i;
    *e.value = y_of(e.points[i]);
    if (i == e.count - 1) {
        *e.done = 1;
        return;
    }
    if ((e.type & envelope_sustain) && i == e.sustain && !channel.released) return;
    i += 1;
    *e.point = i;
    *e.fixed = y_of(e.points[i - 1]) * 65536;
    *e.slope = slope_between(e.points[i - 1], e.points[i]);
    *e.value = whole(*e.fixed);
    *e.tick += 1;
}

void set_envelope_position(ChannelState& channel, const Instrument* instrument, int32_t position) {
    if (!instrument) return;
    EnvelopeView e = view(channel, *instrument, Envelope::volume);
    if (e.count < 1) {
        *e.done = 1;
        return;
    }
    uint16_t xx = uint16_t(position);
    int32_t i = 0;
    while (i < e.count - 1 && xx > e.points[i + 1].x) i++;
    if (i >= e.count - 1) {
        *e.point = i;
        *e.value = y_of(e.points[e.count - 1]);
        *e.done = 1;
        return;
    }
    const EnvelopePoint& a = e.points[i];
    const EnvelopePoint& b = e.points[i + 1];
    *e.done = 0;
    *e.tick = xx;
    *e.slope = slope_between(a, b);
    // A position before the segment's first point (possible only for the
    // first segment) starts at that point rather than extrapolating.
    int64_t into = int64_t(xx) - a.x;
    if (into < 0) into = 0;
    int64_t fixed = int64_t(y_of(a)) * 65536 + into * *e.slope;
    if (fixed < 0) fixed = 0;
    if (fixed > int64_t(max_value) * 65536) fixed = int64_t(max_value) * 65536;
    *e.fixed = int32_t(fixed);
    *e.value = whole(*e.fixed);
    *e.point = i + 1;
}

}  // namespace music
