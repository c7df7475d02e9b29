// exact_heap.cpp: the private heap for the fuzz targets. It keeps the
// platform heap's interface and limit (blocks rounded to 16 bytes count
// against heap_limit) but gives every block its own calloc of exactly the
// size asked for, so AddressSanitizer sees the end of each pattern and each
// sample's data instead of the end of a 64 KiB chunk. Linking this object
// keeps the archive's heap out of the fuzz targets.
//
// QUILLON_FUZZ_HEAP_MB=n lowers the limit to n MiB (scripts/fuzz uses 4):
// a module that claims 200 MiB of samples or millions of cells then fails
// its load early, by the same refusal as past heap_limit, instead of
// spending a second zeroing, decoding and unpacking on every such input.
#include <atomic>
#include <cstdlib>
#include <vector>

#include "platform/heap.h"

namespace platform {

namespace {
std::atomic<int> heaps_alive{0};

size_t limit() {
    static const size_t bytes = [] {
        const char* mb = std::getenv("QUILLON_FUZZ_HEAP_MB");
        const size_t n = mb ? size_t(std::strtoull(mb, nullptr, 10)) << 20 : heap_limit;
        return n > 0 && n < heap_limit ? n : heap_limit;
    }();
    return bytes;
}
}  // namespace

struct Heap {
    std::vector<void*> blocks;
    size_t handed_out = 0;
};

Heap* heap_create() {
    heaps_alive.fetch_add(1);
    return new Heap;
}

void* heap_alloc(Heap* heap, size_t size) {
    if (!heap || size > limit()) return nullptr;
    size_t rounded = (size + 15) & ~size_t(15);
    if (rounded == 0) rounded = 16;
    if (heap->handed_out + rounded > limit()) return nullptr;
    void* p = std::calloc(1, size ? size : 1);
    if (!p) return nullptr;
    heap->blocks.push_back(p);
    heap->handed_out += rounded;
    return p;
}

void heap_destroy(Heap* heap) {
    if (!heap) return;
    for (void* p : heap->blocks) std::free(p);
    delete heap;
    heaps_alive.fetch_sub(1);
}

size_t heap_bytes(const Heap* heap) { return heap ? heap->handed_out : 0; }

int live_heaps() { return heaps_alive.load(); }

}  // namespace platform
