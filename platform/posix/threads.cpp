// threads.cpp: threads on POSIX threads. A thread runs at once; raising it to
// real-time priority asks for the highest SCHED_RR priority the process may
// have (its RLIMIT_RTPRIO), and is silently given up when the system refuses.
#include <pthread.h>
#include <sched.h>
// Threads without resource limits (the scripted back end of a cross build
// on winpthreads) ask for the highest priority.
#if __has_include(<sys/resource.h>)
#include <sys/resource.h>
#define QUILLON_HAVE_RLIMIT 1
#endif

#include <atomic>
#include <cstdlib>

#include "platform/posix/posix.h"
#include "platform/threads.h"

namespace platform {

namespace {
std::atomic<int> threads_alive{0};

void* trampoline(void* arg) {
    ThreadFn fn = reinterpret_cast<ThreadFn>(arg);
    fn();
    threads_alive.fetch_sub(1);
    return nullptr;
}
}  // namespace

struct Thread {
    pthread_t id;
    bool joined;
};

Thread* posix::thread_start(ThreadFn fn) {
    if (!fn) return nullptr;
    // malloc, not calloc: glibc's calloc never reuses its per-thread cache.
    Thread* t = static_cast<Thread*>(std::malloc(sizeof(Thread)));
    if (!t) return nullptr;
    *t = Thread{};
    threads_alive.fetch_add(1);
    if (pthread_create(&t->id, nullptr, trampoline, reinterpret_cast<void*>(fn)) != 0) {
        threads_alive.fetch_sub(1);
        std::free(t);
        return nullptr;
    }
    return t;
}

int posix::realtime_priority(int lo, int hi, long limit) {
    if (limit < 0 || limit >= hi || limit < lo) return hi;
    return int(limit);
}

int thread_set_priority_time_critical(Thread* thread) {
    if (!thread) return 0;
    const int lo = sched_get_priority_min(SCHED_RR);
    const int hi = sched_get_priority_max(SCHED_RR);
    if (lo < 0 || hi < lo) return 0;
    long limit = -1;
#ifdef QUILLON_HAVE_RLIMIT
    rlimit r{};
    if (getrlimit(RLIMIT_RTPRIO, &r) == 0 && r.rlim_cur != RLIM_INFINITY)
        limit = r.rlim_cur > rlim_t(hi) ? long(hi) : long(r.rlim_cur);
#endif
    sched_param p{};
    p.sched_priority = posix::realtime_priority(lo, hi, limit);
    return pthread_setschedparam(thread->id, SCHED_RR, &p) == 0 ? 1 : 0;
}

void thread_wait(Thread* thread) {
    if (!thread || thread->joined) return;
    pthread_join(thread->id, nullptr);
    thread->joined = true;
}

void thread_close(Thread* thread) {
    if (!thread) return;
    if (!thread->joined) pthread_detach(thread->id);
    std::free(thread);
}

int live_threads() { return threads_alive.load(); }

}  // namespace platform
