#include "join/entry.h"

std::size_t ReadEntry(EntryFile& entry, void* into, std::size_t size, bool* ended) {
    std::size_t want = size;
    if (entry.left >= 0 && static_cast<unsigned long long>(entry.left) < size)
        want = static_cast<std::size_t>(entry.left);
    std::size_t n = ReadEntryFile(entry.handle, into, want, &entry.error);
    if (entry.left >= 0)
        entry.left -= static_cast<long long>(n);
    *ended = n < want || entry.left == 0 || entry.error != 0;
    return n;
}
