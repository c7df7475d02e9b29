// beat.h: the frame beat of the SDL back end, as plain arithmetic on
// nanoseconds (no clock, no SDL), so the rules can be tested alone.
//
//   Beat b{};
//   int64_t until = beat_next(b, now, frame_interval_ns, beat_stall_ns);
//   if (until > now) sleep until `until` (an absolute deadline);
//
// Frame k is due at start + k * interval. A frame that comes late by less
// than the stall limit keeps that grid: it does not sleep, and the frames
// after it catch up, so short jitter does not lower the average rate. Only a
// real stall (later than the limit, or the very first frame) starts a new
// grid from now.
//
// After a present that waited for the vertical retrace of a 60 Hz display,
// the retrace is the beat: beat_after_retrace follows it instead of sleeping,
// unless the present came back far too early (a retrace wait that does not
// wait), in which case the deadline is kept.
#pragma once
#include <cstdint>

namespace platform::sdl {

constexpr int64_t frame_interval_ns = 1000000000 / 60;  // 16,666,666 ns
constexpr int64_t beat_stall_ns = 3 * frame_interval_ns;  // later than this restarts the beat

struct Beat {
    int64_t next = 0;  // when the next frame is due; 0 before the first frame
};

// The deadline this frame waits for (<= now: no wait), and the beat moved on.
inline int64_t beat_next(Beat& b, int64_t now, int64_t interval, int64_t stall) {
    if (b.next == 0 || now > b.next + stall) {
        b.next = now + interval;
        return now;
    }
    int64_t due = b.next;
    b.next += interval;
    return due;
}

// The same after a present that waited for the retrace.
inline int64_t beat_after_retrace(Beat& b, int64_t now, int64_t interval, int64_t stall) {
    if (b.next != 0 && now < b.next - interval / 2) return beat_next(b, now, interval, stall);
    b.next = now + interval;
    return now;
}

// Whether waiting for the retrace of a display refreshing `refresh_hz` times a
// second gives 60 frames a second. 0 (unknown) does not.
inline bool retrace_gives_60(int refresh_hz) { return refresh_hz >= 59 && refresh_hz <= 61; }

}  // namespace platform::sdl
