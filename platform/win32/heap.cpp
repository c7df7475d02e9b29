// heap.cpp: the private growable heap is a Win32 heap (HeapCreate with no
// options, no initial size and no maximum); blocks come zero-filled and
// HeapDestroy drops them all. The heap's own record, which counts what was
// handed out against heap_limit, is the heap's first block.
#ifdef _WIN32
#include <atomic>

#include "platform/win32/win32_state.h"

namespace platform {

struct Heap {
    HANDLE handle;
    size_t handed_out;
};

namespace {
std::atomic<int> heaps_alive{0};
}

Heap* heap_create() {
    HANDLE h = HeapCreate(0, 0, 0);
    if (!h) return nullptr;
    Heap* heap = static_cast<Heap*>(HeapAlloc(h, HEAP_ZERO_MEMORY, sizeof(Heap)));
    if (!heap) {
        HeapDestroy(h);
        return nullptr;
    }
    heap->handle = h;
    heaps_alive.fetch_add(1);
    return heap;
}

void* heap_alloc(Heap* heap, size_t size) {
    if (!heap || size > heap_limit) return nullptr;
    size_t rounded = (size + 15) & ~size_t(15);
    if (rounded == 0) rounded = 16;
    if (heap->handed_out + rounded > heap_limit) return nullptr;
    void* p = HeapAlloc(heap->handle, HEAP_ZERO_MEMORY, rounded);
    if (p) heap->handed_out += rounded;
    return p;
}

void heap_destroy(Heap* heap) {
    if (!heap) return;
    HeapDestroy(heap->handle);
    heaps_alive.fetch_sub(1);
}

size_t heap_bytes(const Heap* heap) { return heap ? heap->handed_out : 0; }

int live_heaps() { return heaps_alive.load(); }

}  // namespace platform
#endif
