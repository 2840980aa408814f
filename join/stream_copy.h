// A copy into memory that another thread reads next, past this thread's cache.
#pragma once

#include <cstddef>

// Copies size bytes as memcpy does, but writes the whole 64-byte lines of `to` with streaming
// stores where the processor has them (SSE2): a plain store first fetches its line only to
// overwrite it, and for the page's output buffer, which the writer thread reads and this
// thread fills again, that fetch cost more than the copy. The lines are written before it
// returns.
void CopyPastCache(void* to, const void* from, std::size_t size);
