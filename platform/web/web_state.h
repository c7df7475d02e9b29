// web_state.h: what the files of the web back end share: the cooperative
// scheduler that runs the player's thread on the page's one JavaScript thread,
// and the window's message queue. Not for use outside platform/web/.
//
// The page's script (page/quillon-web.js, global QuillonWeb) owns the canvas,
// the dialog, the key state, the input events and the Web Audio nodes; these
// files reach it through small EM_JS calls.
#pragma once
#include <cstdint>

#include "platform/window.h"

namespace platform::web {

// Milliseconds of browser time (performance.now()).
double now_ms();
// The main context only: runs every thread whose sleep has ended, each until
// it sleeps again or ends. Returns the earliest wake-up time of the threads
// still sleeping, or a negative number when there are none.
double run_due_threads();
// The main context only: yields to the browser for at most `ms`, running the
// threads that fall due meanwhile.
void wait_ms(double ms);
// True while a thread (not the main context) is running.
bool in_thread();

// Messages the back end itself queues for the window (activation).
void post_message(uint32_t message, uintptr_t wparam, intptr_t lparam);

}  // namespace platform::web
