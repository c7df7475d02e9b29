// pacing.cpp: the scripted frame pacing returns at once: tests run frames as
// fast as they can. It only counts the calls (script::paced_frames).
#include "platform/pacing.h"
#include "platform/scripted/scripted_state.h"

namespace platform {

void pace_frame() { ++script::detail::state().paced; }

}  // namespace platform
