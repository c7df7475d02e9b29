// posix.h: what the POSIX code shared by the back ends on POSIX systems
// (threads, the private heap, resources) leaves to each back end. A back end
// compiles platform/posix/*.cpp into its own library and defines
// thread_create, heap_create and sleep_ms itself, forwarding to these, so it
// can add what it needs (the scripted back end's refused calls).
// Not for use outside platform/.
#pragma once
#include "platform/heap.h"
#include "platform/threads.h"

namespace platform::posix {

Thread* thread_start(ThreadFn fn);  // a running thread; null on failure
Heap* heap_new();                    // an empty heap; null on failure

// The SCHED_RR priority to ask for, highest first, for a system whose range
// is lo..hi and whose real-time limit for the process (RLIMIT_RTPRIO) is
// `limit`, or -1 when unlimited. A limit below lo still asks for hi: only a
// privileged process gets it, and the refusal is the usual result.
int realtime_priority(int lo, int hi, long limit);

}  // namespace platform::posix
