// detail.h: what the shared platform code asks of the back end it is linked
// with. Not for use outside platform/.
#pragma once

namespace platform::detail {
// A scripted test may refuse these; the real back end never does.
bool refuse_thread_create();
bool refuse_heap_create();
}  // namespace platform::detail
