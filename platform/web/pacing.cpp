// pacing.cpp: frame pacing in the browser. Each frame yields to the browser
// (which then shows the canvas and delivers events and audio requests) until
// 1/60 s after the previous frame's beat, running the player's thread
// whenever its sleeps end meanwhile. The beat is kept exact while frames keep
// up (a frame up to one interval late still counts on it) and starts afresh
// after a longer stall (a hidden page, a slow machine).
#include "platform/pacing.h"
#include "platform/web/web_state.h"

namespace platform {

namespace {
double last_beat = 0;
constexpr double interval_ms = 1000.0 / 60.0;
}  // namespace

void pace_frame() {
    const double now = web::now_ms();
    const double target = last_beat + interval_ms;
    if (last_beat == 0 || now > target + interval_ms) {
        web::wait_ms(0);  // still one yield, so the page stays responsive
        last_beat = web::now_ms();
        return;
    }
    // A frame a little late (the browser's timers are coarse) keeps the beat,
    // so the next one comes that much sooner.
    web::wait_ms(now < target ? target - now : 0);
    last_beat = target;
}

}  // namespace platform
