// heap.h: the private growable heap: zero-filled blocks, dropped as a whole,
// never grown past heap_limit.
#pragma once
#include <cstddef>

namespace platform {

struct Heap;

constexpr size_t heap_limit = size_t(256) << 20;  // a heap never grows past 256 MiB

Heap* heap_create();                       // null on failure
void* heap_alloc(Heap* heap, size_t size);  // zero-filled; null on failure or past heap_limit
void heap_destroy(Heap* heap);
size_t heap_bytes(const Heap* heap);       // bytes handed out so far
int live_heaps();                          // heaps created and not destroyed (tests)

}  // namespace platform
