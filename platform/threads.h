// threads.h: threads (created running; raised to time-critical priority when
// the system allows it), waiting for their end, and sleeping. Safe from any
// thread.
#pragma once
#include <cstdint>

namespace platform {

struct Thread;
using ThreadFn = void (*)();

Thread* thread_create(ThreadFn fn);      // running at once; null on failure
int thread_set_priority_time_critical(Thread* thread);  // 0 when the system refuses (not an error)
void thread_wait(Thread* thread);        // waits for the thread to end, no time-out
void thread_close(Thread* thread);       // frees the handle of an ended thread
void sleep_ms(uint32_t milliseconds);
int live_threads();                      // threads created and not yet ended (tests)

}  // namespace platform
