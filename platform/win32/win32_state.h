// win32_state.h: what the Win32 back end's files share: the window procedures of
// the registered classes and the full-screen frame when the display keeps its
// own mode (see surfaces.cpp). Not for use outside platform/win32.
#pragma once
#ifdef _WIN32
// The platform's names first: windows.h defines the same names (WM_PAINT,
// VK_ESCAPE, DDSCL_NORMAL...) as macros with the same values.
#include "platform/heap.h"
#include "platform/keys.h"
#include "platform/pacing.h"
#include "platform/resources.h"
#include "platform/surfaces.h"
#include "platform/threads.h"
#include "platform/wave.h"
#include "platform/window.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace platform::win32 {

struct Win32State {
    // Full screen at the desktop's own mode: the frame of frame_width x
    // frame_height is stretched into `frame` (centred, aspect kept) of the
    // screen, and mouse positions are mapped back to frame pixels.
    bool scaled;
    RECT frame;
    uint32_t frame_width, frame_height;
};

extern Win32State state;

// A mouse message's lParam in frame pixels.
LPARAM frame_point(LPARAM lparam);

}  // namespace platform::win32
#endif
