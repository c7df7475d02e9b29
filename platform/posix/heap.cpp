// heap.cpp: the private growable heap. Blocks come zero-filled from chunks of
// at least 64 KiB; nothing is freed piece by piece, heap_destroy drops every
// chunk at once. A heap refuses to grow past heap_limit, so a module header
// that claims gigabytes fails its load instead of exhausting the machine.
#include <atomic>
#include <cstdlib>
#include <new>

#include "platform/heap.h"
#include "platform/posix/posix.h"

namespace platform {

namespace {
struct Chunk {
    Chunk* next;
    size_t size;
    size_t used;
};
constexpr size_t chunk_header = (sizeof(Chunk) + 15) & ~size_t(15);
constexpr size_t min_chunk = size_t(64) << 10;
std::atomic<int> heaps_alive{0};
}  // namespace

struct Heap {
    Chunk* chunks;
    size_t handed_out;
};

Heap* posix::heap_new() {
    // malloc, not calloc: glibc's calloc never reuses its per-thread cache,
    // so a start and stop every few seconds would strand a record each time.
    Heap* h = static_cast<Heap*>(std::malloc(sizeof(Heap)));
    if (!h) return nullptr;
    *h = Heap{};
    heaps_alive.fetch_add(1);
    return h;
}

void* heap_alloc(Heap* heap, size_t size) {
    if (!heap) return nullptr;
    if (size > heap_limit) return nullptr;
    size_t rounded = (size + 15) & ~size_t(15);
    if (rounded == 0) rounded = 16;
    if (heap->handed_out + rounded > heap_limit) return nullptr;
    Chunk* c = heap->chunks;
    if (!c || c->size - c->used < rounded) {
        size_t body = rounded > min_chunk ? rounded : min_chunk;
        c = static_cast<Chunk*>(std::calloc(1, chunk_header + body));
        if (!c) return nullptr;
        c->size = body;
        c->used = 0;
        // Keep the chunk with the most room at the head, so a large block
        // does not strand the free space of a smaller chunk.
        if (heap->chunks && heap->chunks->size - heap->chunks->used > body - rounded) {
            c->next = heap->chunks->next;
            heap->chunks->next = c;
        } else {
            c->next = heap->chunks;
            heap->chunks = c;
        }
    }
    void* p = reinterpret_cast<unsigned char*>(c) + chunk_header + c->used;
    c->used += rounded;
    heap->handed_out += rounded;
    return p;
}

void heap_destroy(Heap* heap) {
    if (!heap) return;
    Chunk* c = heap->chunks;
    while (c) {
        Chunk* next = c->next;
        std::free(c);
        c = next;
    }
    std::free(heap);
    heaps_alive.fetch_sub(1);
}

size_t heap_bytes(const Heap* heap) { return heap ? heap->handed_out : 0; }

int live_heaps() { return heaps_alive.load(); }

}  // namespace platform
