// heap.cpp: the private heap of the SDL back end is the shared one
// (platform/posix/heap.cpp).
#include "platform/heap.h"
#include "platform/posix/posix.h"

namespace platform {

Heap* heap_create() { return posix::heap_new(); }

}  // namespace platform
