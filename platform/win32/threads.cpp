// threads.cpp: threads are CreateThread's, handles and all; sleeping is Sleep.
#ifdef _WIN32
#include <atomic>

#include "platform/win32/win32_state.h"

namespace platform {

namespace {
std::atomic<int> threads_alive{0};

DWORD WINAPI trampoline(LPVOID arg) {
    reinterpret_cast<ThreadFn>(arg)();
    threads_alive.fetch_sub(1);
    return 0;
}
HANDLE handle_of(Thread* t) { return reinterpret_cast<HANDLE>(t); }
}  // namespace

Thread* thread_create(ThreadFn fn) {
    if (!fn) return nullptr;
    threads_alive.fetch_add(1);
    HANDLE h = CreateThread(nullptr, 0, trampoline, reinterpret_cast<LPVOID>(fn), 0, nullptr);
    if (!h) threads_alive.fetch_sub(1);
    return reinterpret_cast<Thread*>(h);
}

int thread_set_priority_time_critical(Thread* t) {
    return t && SetThreadPriority(handle_of(t), THREAD_PRIORITY_TIME_CRITICAL) ? 1 : 0;
}

void thread_wait(Thread* t) {
    if (t) WaitForSingleObject(handle_of(t), INFINITE);
}

void thread_close(Thread* t) {
    if (t) CloseHandle(handle_of(t));
}

void sleep_ms(uint32_t milliseconds) { Sleep(milliseconds); }

int live_threads() { return threads_alive.load(); }

}  // namespace platform
#endif
