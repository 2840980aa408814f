// The page escaper, fed in random chunk sizes, must give exactly what the character-by-
// character rule gives: a lead byte takes the next byte along only when that byte can
// complete it; otherwise the next byte is classed afresh.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "join/html_escape.h"
#include "text/sjis.h"

static std::string Reference(const uint8_t* data, size_t size) {
    std::string out;
    for (size_t i = 0; i < size; ++i) {
        uint8_t b = data[i];
        if (IsLeadByte(b) && i + 1 < size && IsTrailByte(data[i + 1])) {
            out += static_cast<char>(b);
            out += static_cast<char>(data[++i]);
            continue;
        }
        switch (b) {
        case '\r':
            out += "<BR>\r";
            break;
        case ' ':
            out += "&nbsp;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += static_cast<char>(b);
        }
    }
    return out;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    // The first byte chooses the chunk size, so that every split of the text is tried.
    size_t chunk = 1 + data[0] % 17;
    ++data;
    --size;
    std::vector<unsigned char> out(size * kLongestHtmlEscape + 1);
    unsigned char* to = out.data();
    for (size_t at = 0; at < size; at += chunk)
        to = EscapeHtmlBytes(to, data + at, size - at < chunk ? size - at : chunk);
    if (std::string(out.data(), to) != Reference(data, size))
        std::abort();
    return 0;
}
