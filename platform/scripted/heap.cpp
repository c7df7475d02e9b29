// heap.cpp: the scripted back end's private heap is the shared one
// (platform/posix/heap.cpp), which a test may refuse (Call::HeapCreate).
#include "platform/heap.h"
#include "platform/posix/posix.h"
#include "platform/scripted/scripted_state.h"

namespace platform {

Heap* heap_create() {
    if (script::detail::failing(script::Call::HeapCreate)) return nullptr;
    return posix::heap_new();
}

}  // namespace platform
