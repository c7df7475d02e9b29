// viewer_state.cpp: the one ViewerState of the program.
#include "app/state/viewer_state.h"

namespace app {
ViewerState viewer;
}
