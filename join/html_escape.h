// Escaping of a text file's bytes for the page's table cells.
#pragma once

#include <cstddef>

// No byte grows beyond this.
constexpr std::size_t kLongestHtmlEscape = 6;

// What the escaping of one file carries from a call to the next: whether the last byte was a
// CR, since a LF right after a CR ends the same line and the CR has already broken it. A
// fresh state for each file.
struct HtmlEscapeState {
    bool afterCr = false;
    // How many bytes went through a vector path's 64-byte blocks: where the path chosen at
    // start is the one the bytes take, more than none of a long file.
    std::size_t blockBytes = 0;
};

// Escapes size bytes to `to`, which has room for size * kLongestHtmlEscape bytes; gives the
// end of what was written. A file may be escaped in chunks of any size, each with the state
// the chunk before it left.
unsigned char* EscapeHtmlBytes(unsigned char* to, const unsigned char* from, std::size_t size,
                               HtmlEscapeState& state);

// Which path this build and this processor escape with: "wide", "sse2" or "portable".
const char* HtmlEscapePath();
