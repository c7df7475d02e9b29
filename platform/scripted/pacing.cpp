// pacing.cpp: the scripted frame pacing returns at once: tests run frames as
// fast as they can.
#include "platform/pacing.h"

namespace platform {

void pace_frame() {}

}  // namespace platform
