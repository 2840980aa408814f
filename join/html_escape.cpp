#include "join/html_escape.h"

#include <cstring>

namespace {

struct Escape {
    unsigned char length; // 0: the byte stands for itself
    char text[7];
};

struct EscapeTable {
    Escape byByte[256];
};

// A browser must show every space and line break of the text. Only bytes below 0x40 are
// replaced, and no second half of a double-byte character is below 0x40, so one table
// lookup per byte keeps every character whole. A lead byte followed by a byte that cannot
// complete it is a byte of its own, and so is what follows it: a stray lead byte can never
// carry raw markup into the page or swallow a line break.
constexpr EscapeTable MakeEscapeTable() {
    EscapeTable t{};
    t.byByte[0x0D] = {5, "<BR>\r"};
    t.byByte[0x20] = {6, "&nbsp;"};
    t.byByte[0x22] = {6, "&quot;"};
    t.byByte[0x26] = {5, "&amp;"};
    t.byByte[0x3C] = {4, "&lt;"};
    t.byByte[0x3E] = {4, "&gt;"};
    return t;
}

constexpr EscapeTable kEscapes = MakeEscapeTable();

} // namespace

unsigned char* EscapeHtmlBytes(unsigned char* to, const unsigned char* from, std::size_t size) {
    for (const unsigned char* end = from + size; from != end; ++from) {
        const Escape& e = kEscapes.byByte[*from];
        if (e.length == 0) {
            *to++ = *from;
        } else {
            std::memcpy(to, e.text, e.length);
            to += e.length;
        }
    }
    return to;
}
