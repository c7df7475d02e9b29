// framebuffer.cpp: the one frame buffer of the program.
#include "render/render.h"

namespace render {
alignas(64) uint32_t Framebuffer[frame_width * frame_height];
}
