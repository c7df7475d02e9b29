// pacing.cpp: frame pacing on the SDL back end: 60 viewer frames a second on
// any display. Each pace_frame sleeps until its frame's absolute deadline
// (clock_nanosleep on CLOCK_MONOTONIC with TIMER_ABSTIME; no spinning), with
// the beat rules of beat.h. Where the present already waited for the retrace
// of a 60 Hz display, the retrace sets the beat and nothing more is slept.
//
// QUILLON_FRAME_LOG=FILE records the time each frame ended (one line of
// monotonic nanoseconds per frame, up to 2^16 frames) and writes FILE at exit;
// scripts/measure-viewer reads it.
#include <time.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/pacing.h"
#include "platform/sdl/beat.h"
#include "platform/sdl/hooks.h"

namespace platform {
namespace sdl {

namespace {

struct PacingState {
    Beat beat;
    bool retrace_present;  // the last present waited for a 60 Hz retrace
    bool log_checked;
    const char* log_path;
    std::vector<int64_t> log;
};

PacingState& ps() {
    static PacingState s{};
    return s;
}

void sleep_until(int64_t deadline_ns) {
    timespec t{time_t(deadline_ns / 1000000000), long(deadline_ns % 1000000000)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &t, nullptr) == EINTR) {
    }
}

void write_log() {
    PacingState& s = ps();
    std::FILE* f = std::fopen(s.log_path, "w");
    if (!f) return;
    for (int64_t t : s.log) std::fprintf(f, "%lld\n", static_cast<long long>(t));
    std::fclose(f);
}

void log_frame() {
    PacingState& s = ps();
    if (!s.log_checked) {
        s.log_checked = true;
        s.log_path = std::getenv("QUILLON_FRAME_LOG");
        if (s.log_path) {
            s.log.reserve(size_t(1) << 16);
            std::atexit(write_log);
        }
    }
    if (s.log_path && s.log.size() < s.log.capacity()) s.log.push_back(pacing_now_ns());
}

}  // namespace

int64_t pacing_now_ns() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}

void pacing_note_retrace_present() { ps().retrace_present = true; }

}  // namespace sdl

void pace_frame() {
    sdl::PacingState& s = sdl::ps();
    int64_t now = sdl::pacing_now_ns();
    int64_t due = s.retrace_present ? sdl::beat_after_retrace(s.beat, now, sdl::frame_interval_ns, sdl::beat_stall_ns)
                                    : sdl::beat_next(s.beat, now, sdl::frame_interval_ns, sdl::beat_stall_ns);
    s.retrace_present = false;
    if (due > now) sdl::sleep_until(due);
    sdl::log_frame();
}

}  // namespace platform
