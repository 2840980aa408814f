// Caller-owned fixed buffers and the bounded operations that fill them.
#pragma once

#include <cstddef>

// Every path the program handles fits in 521 bytes of Shift_JIS text plus its NUL.
constexpr int kPathBufferSize = 522;
typedef char PathBuffer[kPathBufferSize];

// Copies source into a destination of size bytes (size >= 1), always terminated, never
// ending on the first half of a character that the source goes on to complete.
void CopyBounded(char* destination, int size, const char* source);

// Copies a path into the PathBuffer out when it fits whole; else out is empty and the result
// false. A path cut to fit could name another file, so paths are never cut.
bool CopyWholePath(char* out, const char* path);

// snprintf into size bytes, always terminated. Gives the length, or -1 when the size is 0,
// the text was cut, or formatting failed. Cuts at the byte limit, double-byte blind.
int PrintBounded(char* buffer, int size, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

// Clears size bytes; gives the position just after them.
void* ZeroFill(void* destination, std::size_t size);
