// Escaping of a text file's bytes for the page's table cells.
#pragma once

#include <cstddef>

// No byte grows beyond this.
constexpr std::size_t kLongestHtmlEscape = 6;

// Escapes size bytes to `to`, which has room for size * kLongestHtmlEscape bytes; gives the
// end of what was written. Each byte is escaped on its own, so a file may be escaped in
// chunks of any size.
unsigned char* EscapeHtmlBytes(unsigned char* to, const unsigned char* from, std::size_t size);
