// pacing.cpp: frame pacing on SDL2's performance counter: pace_frame returns
// no sooner than 1/60 s after its previous return, keeping the beat exact
// while frames keep up and starting afresh after a stall.
#include <SDL.h>

#include <cstdint>

#include "platform/pacing.h"

namespace platform {

namespace {
uint64_t last_pace = 0;
}  // namespace

void pace_frame() {
    const uint64_t freq = SDL_GetPerformanceFrequency();
    const uint64_t interval = freq / 60;
    uint64_t now = SDL_GetPerformanceCounter();
    uint64_t target = last_pace + interval;
    if (last_pace != 0 && now < target) {
        uint64_t wait_ms = (target - now) * 1000 / freq;
        if (wait_ms > 1) SDL_Delay(uint32_t(wait_ms - 1));
        while ((now = SDL_GetPerformanceCounter()) < target) {
        }
        // Keep the beat exact while frames keep up; start afresh after a stall.
        last_pace = target;
    } else {
        last_pace = now;
    }
}

}  // namespace platform
