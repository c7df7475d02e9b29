// threads.cpp: threads on the SDL back end are POSIX threads
// (platform/posix/threads.cpp); sleeping is SDL's delay.
#include <SDL.h>

#include "platform/posix/posix.h"
#include "platform/threads.h"

namespace platform {

Thread* thread_create(ThreadFn fn) { return posix::thread_start(fn); }

void sleep_ms(uint32_t ms) { SDL_Delay(ms); }

}  // namespace platform
