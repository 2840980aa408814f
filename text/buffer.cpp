#include "text/buffer.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "text/sjis.h"

void CopyBounded(char* destination, int size, const char* source) {
    int n = size;
    // Byte n-1 would complete a character whose first half sits at n-2: keep both out.
    if (ByteClassAt(source, static_cast<unsigned>(n - 1)) == kTrailByte)
        --n;
    int i = 0;
    for (; i < n - 1 && source[i] != '\0'; ++i)
        destination[i] = source[i];
    if (i < n - 1)
        std::memset(destination + i, 0, static_cast<std::size_t>(n - 1 - i));
    destination[n - 1] = '\0';
}

bool CopyWholePath(char* out, const char* path) {
    std::size_t length = std::strlen(path);
    if (length >= static_cast<std::size_t>(kPathBufferSize)) {
        out[0] = '\0';
        return false;
    }
    std::memmove(out, path, length + 1);
    return true;
}

int PrintBounded(char* buffer, int size, const char* format, ...) {
    if (size <= 0)
        return -1;
    va_list args;
    va_start(args, format);
    int r = std::vsnprintf(buffer, static_cast<std::size_t>(size), format, args);
    va_end(args);
    // vsnprintf reports the length the whole text would need; a cut text counts as failure.
    if (r >= size)
        r = -1;
    if (r > 0 && r < size)
        buffer[r] = '\0';
    else
        buffer[size - 1] = '\0';
    return r < 0 ? -1 : r;
}

void* ZeroFill(void* destination, std::size_t size) {
    std::memset(destination, 0, size);
    return static_cast<char*>(destination) + size;
}
