#include "join/entry.h"

std::size_t ReadEntry(EntryFile& entry, void* into, std::size_t size, bool* ended) {
    std::size_t want = size;
    if (entry.left >= 0 && static_cast<unsigned long long>(entry.left) < size)
        want = static_cast<std::size_t>(entry.left);
    // A read may bring fewer bytes than asked before the end (a pipe, a file the system makes
    // up): the next one follows until the end, an error or all that was asked for.
    std::size_t n = 0;
    while (n < want && entry.error == 0) {
        std::size_t got =
            ReadEntryOnce(entry.handle, static_cast<char*>(into) + n, want - n, &entry.error);
        if (got == 0)
            break;
        n += got;
    }
    if (entry.left >= 0)
        entry.left -= static_cast<long long>(n);
    *ended = n < want || entry.left == 0 || entry.error != 0;
    return n;
}
