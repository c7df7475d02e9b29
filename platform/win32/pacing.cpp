// pacing.cpp: frame pacing on the performance counter: at most one frame per
// 1/60 s. The wait sleeps to within a millisecond (with the system timer at
// 1 ms resolution while the program runs) and spins the rest.
#ifdef _WIN32
#include "platform/win32/win32_state.h"
#include <mmsystem.h>


namespace platform {

void pace_frame() {
    static LARGE_INTEGER frequency;
    static long long last;
    if (!frequency.QuadPart) {
        QueryPerformanceFrequency(&frequency);
        timeBeginPeriod(1);
    }
    const long long interval = frequency.QuadPart / 60;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const long long target = last + interval;
    if (last != 0 && now.QuadPart < target) {
        const long long wait_ms = (target - now.QuadPart) * 1000 / frequency.QuadPart;
        if (wait_ms > 1) Sleep(DWORD(wait_ms - 1));
        do QueryPerformanceCounter(&now);
        while (now.QuadPart < target);
        // Keep the beat exact while frames keep up; start afresh after a stall.
        last = target;
    } else {
        last = now.QuadPart;
    }
}

}  // namespace platform
#endif
