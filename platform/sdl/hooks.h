// hooks.h: what the files of the SDL back end ask of each other. Not for use
// outside platform/sdl.
#pragma once
#include <cstdint>

namespace platform::sdl {

// pacing.cpp: a present that waited for the retrace of a 60 Hz display has
// just returned; the next pace_frame follows it instead of sleeping.
void pacing_note_retrace_present();
// Monotonic clock in nanoseconds.
int64_t pacing_now_ns();

// wave.cpp: SDL reported an audio device as removed (SDL_AUDIODEVICEREMOVED).
void wave_device_removed(uint32_t device_id);
// SDL's id of the device that plays now, 0 when none (tests).
uint32_t wave_device_id();

}  // namespace platform::sdl
