// threads.cpp: threads on the scripted back end are real POSIX threads
// (platform/posix/threads.cpp), which a test may refuse (Call::ThreadCreate).
// The display library's 0 and 1 ms sleeps are logged, not waited; longer
// sleeps (the music player's polling) really sleep.
#include <chrono>
#include <thread>

#include "platform/posix/posix.h"
#include "platform/scripted/scripted_state.h"
#include "platform/threads.h"

namespace platform {

using script::detail::record;

Thread* thread_create(ThreadFn fn) {
    if (script::detail::failing(script::Call::ThreadCreate)) return nullptr;
    return posix::thread_start(fn);
}

void sleep_ms(uint32_t milliseconds) {
    if (milliseconds <= 1)
        record("Sleep", milliseconds);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace platform
