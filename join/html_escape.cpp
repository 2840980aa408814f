#include "join/html_escape.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__) && !defined(VELLUMOR_PORTABLE_ESCAPE)
#include <emmintrin.h>
#endif

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

// Copies or escapes one byte.
inline unsigned char* EscapeByte(unsigned char* to, unsigned char byte) {
    const Escape& e = kEscapes.byByte[byte];
    if (e.length == 0) {
        *to = byte;
        return to + 1;
    }
    std::memcpy(to, e.text, e.length);
    return to + e.length;
}

// None of the eight bytes is below 0x40, and so none is to be escaped. Japanese text is
// mostly such bytes: both halves of a character are 0x40 or above.
inline bool NothingToEscape(std::uint64_t eight) {
    const std::uint64_t ones = 0x0101010101010101u, highs = 0x8080808080808080u;
    return ((eight - ones * 0x40) & ~eight & highs) == 0;
}

} // namespace

unsigned char* EscapeHtmlBytes(unsigned char* to, const unsigned char* from, std::size_t size) {
    const unsigned char* end = from + size;
#if defined(__SSE2__) && !defined(VELLUMOR_PORTABLE_ESCAPE)
    // Copy sixteen bytes ahead, then escape the first of them to be escaped, if any, and go
    // on right after it: the bytes before it are already right where they are.
    const __m128i escaped[] = {_mm_set1_epi8(0x0D), _mm_set1_epi8(0x20), _mm_set1_epi8(0x22),
                               _mm_set1_epi8(0x26), _mm_set1_epi8(0x3C), _mm_set1_epi8(0x3E)};
    while (end - from >= 16) {
        __m128i sixteen = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to), sixteen);
        __m128i hits = _mm_cmpeq_epi8(sixteen, escaped[0]);
        for (int i = 1; i < 6; ++i)
            hits = _mm_or_si128(hits, _mm_cmpeq_epi8(sixteen, escaped[i]));
        unsigned marks = static_cast<unsigned>(_mm_movemask_epi8(hits));
        if (marks == 0) {
            to += 16;
            from += 16;
            continue;
        }
        int plain = __builtin_ctz(marks);
        to = EscapeByte(to + plain, from[plain]);
        from += plain + 1;
    }
#endif
    while (end - from >= 8) {
        std::uint64_t eight;
        std::memcpy(&eight, from, 8);
        if (NothingToEscape(eight)) {
            std::memcpy(to, &eight, 8);
            to += 8;
            from += 8;
        } else {
            for (const unsigned char* stop = from + 8; from != stop; ++from)
                to = EscapeByte(to, *from);
        }
    }
    while (from != end)
        to = EscapeByte(to, *from++);
    return to;
}
