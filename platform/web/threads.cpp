// threads.cpp: threads as cooperative tasks on the page's one JavaScript
// thread, so the page needs no SharedArrayBuffer and no special headers.
//
// Each thread is an Asyncify fiber with a C stack of its own. It runs from
// its start until it sleeps; sleep_ms in a thread records its wake-up time and
// swaps back to the main context. The main context runs the threads that are
// due whenever it sleeps itself (sleep_ms, the frame pacing's wait) and while
// it waits for a thread to end, so the player's 5 ms polls come several times
// a frame. Priority has no meaning here and is refused, as a system may.
#include <emscripten.h>
#include <emscripten/fiber.h>

#include <cstdlib>

#include "platform/threads.h"
#include "platform/web/web_state.h"

namespace platform {

namespace {
constexpr size_t c_stack_bytes = size_t(512) << 10;
constexpr size_t asyncify_stack_bytes = size_t(64) << 10;
constexpr int max_threads = 4;
}  // namespace

struct Thread {
    emscripten_fiber_t fiber;
    void* c_stack;
    void* asyncify_stack;
    ThreadFn fn;
    double wake_ms;
    bool ended;
    bool closed;
};

namespace {
struct Scheduler {
    emscripten_fiber_t main_fiber;
    void* main_asyncify_stack;
    Thread* threads[max_threads];
    Thread* current;
    int alive;
};
Scheduler sched;

void switch_to(Thread* t) {
    sched.current = t;
    emscripten_fiber_swap(&sched.main_fiber, &t->fiber);
    sched.current = nullptr;
}

void forget(Thread* t) {
    for (Thread*& slot : sched.threads)
        if (slot == t) slot = nullptr;
    std::free(t->c_stack);
    std::free(t->asyncify_stack);
    std::free(t);
}
}  // namespace

}  // namespace platform

// The fiber's entry: runs the thread's function, then hands control back for
// good (a fiber's entry never returns).
extern "C" EMSCRIPTEN_KEEPALIVE void quillon_fiber_entry(void* arg) {
    using namespace platform;
    Thread* t = static_cast<Thread*>(arg);
    t->fn();
    t->ended = true;
    sched.alive -= 1;
    emscripten_fiber_swap(&t->fiber, &sched.main_fiber);
}

namespace platform {

namespace web {

double now_ms() { return emscripten_get_now(); }

bool in_thread() { return sched.current != nullptr; }

double run_due_threads() {
    if (in_thread()) return -1;
    double earliest = -1;
    for (Thread* t : sched.threads) {
        if (!t || t->ended) continue;
        if (t->wake_ms <= now_ms()) switch_to(t);
        if (!t->ended && (earliest < 0 || t->wake_ms < earliest)) earliest = t->wake_ms;
    }
    return earliest;
}

void wait_ms(double ms) {
    const double until = now_ms() + ms;
    bool yielded = false;
    for (;;) {
        const double next = run_due_threads();
        const double now = now_ms();
        if (yielded && now >= until) return;
        double step = until > now ? until - now : 0;
        if (next >= 0 && next - now < step) step = next > now ? next - now : 0;
        emscripten_sleep(unsigned(step));  // at least one yield, even for 0
        yielded = true;
    }
}

}  // namespace web

Thread* thread_create(ThreadFn fn) {
    if (!fn || web::in_thread()) return nullptr;
    int free_slot = -1;
    for (int i = 0; i < max_threads; ++i)
        if (!sched.threads[i]) free_slot = i;
    if (free_slot < 0) return nullptr;
    if (!sched.main_asyncify_stack) {
        sched.main_asyncify_stack = std::malloc(asyncify_stack_bytes);
        if (!sched.main_asyncify_stack) return nullptr;
        emscripten_fiber_init_from_current_context(&sched.main_fiber, sched.main_asyncify_stack, asyncify_stack_bytes);
    }
    Thread* t = static_cast<Thread*>(std::calloc(1, sizeof(Thread)));
    if (!t) return nullptr;
    t->c_stack = std::aligned_alloc(16, c_stack_bytes);
    t->asyncify_stack = std::malloc(asyncify_stack_bytes);
    if (!t->c_stack || !t->asyncify_stack) {
        forget(t);
        return nullptr;
    }
    t->fn = fn;
    t->wake_ms = 0;  // due at the main context's next sleep
    emscripten_fiber_init(&t->fiber, quillon_fiber_entry, t, t->c_stack, c_stack_bytes, t->asyncify_stack,
                          asyncify_stack_bytes);
    sched.threads[free_slot] = t;
    sched.alive += 1;
    return t;
}

int thread_set_priority_time_critical(Thread* thread) {
    (void)thread;
    return 0;
}

void thread_wait(Thread* thread) {
    if (!thread || web::in_thread()) return;
    // The waiting context does nothing else, so the thread need not sleep
    // out its time: it runs at once until it ends.
    while (!thread->ended) switch_to(thread);
}

void thread_close(Thread* thread) {
    if (!thread) return;
    if (thread->ended) {
        forget(thread);
        return;
    }
    thread->closed = true;  // detached: freed when it ends (never, here: only the player uses threads)
}

void sleep_ms(uint32_t milliseconds) {
    if (Thread* t = sched.current) {
        t->wake_ms = web::now_ms() + milliseconds;
        emscripten_fiber_swap(&t->fiber, &sched.main_fiber);
        return;
    }
    // The main context: a sleep here is a chance for the threads, not a
    // yield to the browser (the frame pacing yields once a frame).
    web::run_due_threads();
}

int live_threads() { return sched.alive; }

}  // namespace platform
