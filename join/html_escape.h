// Escaping of a text file's bytes for the page's table cells.
#pragma once

#include <cstddef>

// No byte grows beyond this.
constexpr std::size_t kLongestHtmlEscape = 6;

// What the escaping of a file carries from one chunk to the next: whether the last byte given
// was a lead byte starting a character, so that the next chunk's first byte is its second
// half. Zero-initialised at the start of each file.
struct HtmlEscapeState {
    bool leadPending;
};

// Escapes size bytes to `to`, which has room for size * kLongestHtmlEscape bytes; gives the
// end of what was written. A file may be escaped in chunks of any size, one state throughout.
unsigned char* EscapeHtmlBytes(unsigned char* to, const unsigned char* from, std::size_t size,
                               HtmlEscapeState& state);
