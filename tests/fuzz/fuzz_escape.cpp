// The page escaper, fed in chunks of random sizes, must give exactly what the byte-by-byte
// rule gives, however the text is split.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "join/html_escape.h"
#include "support/escape_reference.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    // The first byte chooses the chunk size: short ones try every split of the text, long
    // ones (from 32 bytes) reach the block loop, and the whole input its longest runs.
    size_t chunk = data[0] < 0xF0 ? 1 + data[0] % 80 : size;
    ++data;
    --size;
    // Exactly the room the escaper is promised, so that any write past it is caught.
    std::vector<unsigned char> out(size * kLongestHtmlEscape);
    unsigned char* to = out.data();
    HtmlEscapeState state;
    for (size_t at = 0; at < size; at += chunk)
        to = EscapeHtmlBytes(to, data + at, size - at < chunk ? size - at : chunk, state);
    std::string input(reinterpret_cast<const char*>(data), size);
    if (std::string(out.data(), to) != ReferenceEscape(input))
        std::abort();
    return 0;
}
