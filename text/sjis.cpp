#include "text/sjis.h"

#include <cstring>

int ByteClassAt(const char* string, unsigned index) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(string);
    int state = kSingleByte;
    for (unsigned i = 0; s[i] != '\0'; ++i) {
        if (state == kLeadByte)
            state = IsTrailByte(s[i]) ? kTrailByte : kSingleByte;
        else
            state = IsLeadByte(s[i]) ? kLeadByte : kSingleByte;
        if (i == index)
            return state;
    }
    return kSingleByte;
}

bool IsRealBackslashAt(const char* string, unsigned index) {
    return string[index] == '\\' && ByteClassAt(string, index) == kSingleByte;
}

const char* NextChar(const char* position) {
    if (*position == '\0')
        return position;
    if (IsLeadByte(static_cast<unsigned char>(position[0])) && position[1] != '\0')
        return position + 2;
    return position + 1;
}

char* NextChar(char* position) {
    return const_cast<char*>(NextChar(static_cast<const char*>(position)));
}

const char* StringEnd(const char* string) {
    return string + std::strlen(string);
}
char* StringEnd(char* string) {
    return string + std::strlen(string);
}

static unsigned char FoldAscii(unsigned char b) {
    return (b >= 'A' && b <= 'Z') ? static_cast<unsigned char>(b + 0x20) : b;
}

void ToLowerInPlace(char* string) {
    for (char* p = string; *p != '\0'; p = NextChar(p))
        *p = static_cast<char>(FoldAscii(static_cast<unsigned char>(*p)));
}

bool EqualNoCase(const char* a, const char* b) {
    const unsigned char* x = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* y = reinterpret_cast<const unsigned char*>(b);
    // One class walk serves both strings: up to the first difference they hold the same
    // bytes up to case, and case folding never turns a byte into or out of a lead byte.
    bool afterLead = false;
    for (;; ++x, ++y) {
        bool trail = afterLead && IsTrailByte(*x);
        unsigned char cx = trail ? *x : FoldAscii(*x);
        unsigned char cy = trail ? *y : FoldAscii(*y);
        if (cx != cy)
            return false;
        if (cx == '\0')
            return true;
        afterLead = !trail && IsLeadByte(*x);
    }
}

namespace {

// Full-width ０ to ９.
const unsigned kWideZero = 0x824F;
const unsigned kWideNine = 0x8258;
// Full-width Ａ to Ｚ, and ａ, which is 0x21 above Ａ.
const unsigned kWideUpperA = 0x8260;
const unsigned kWideUpperZ = 0x8279;
const unsigned kWideCaseGap = 0x21;

// One character: its code (a single byte in the high half, so that every character compares
// by its bytes) and its size. A lead byte that nothing completes is a character of its own.
struct Char {
    unsigned code;
    int size;
};

Char CharAt(const unsigned char* p) {
    if (IsLeadByte(p[0]) && IsTrailByte(p[1]))
        return Char{static_cast<unsigned>(p[0]) << 8 | p[1], 2};
    return Char{static_cast<unsigned>(p[0]) << 8, p[0] == '\0' ? 0 : 1};
}

// The digit's value, or -1 for any other character.
int DigitOf(Char c) {
    if (c.code >= ('0' << 8) && c.code <= ('9' << 8))
        return static_cast<int>(c.code >> 8) - '0';
    if (c.code >= kWideZero && c.code <= kWideNine)
        return static_cast<int>(c.code - kWideZero);
    return -1;
}

unsigned FoldedCode(Char c) {
    if (c.code >= ('A' << 8) && c.code <= ('Z' << 8))
        return c.code + (0x20 << 8);
    if (c.code >= kWideUpperA && c.code <= kWideUpperZ)
        return c.code + kWideCaseGap;
    return c.code;
}

// Compares the digit runs at *a and *b by value and steps both past their runs.
int CompareNumbers(const unsigned char** a, const unsigned char** b) {
    Char x = CharAt(*a), y = CharAt(*b);
    // Leading zeros say nothing of the value.
    while (DigitOf(x) == 0)
        x = CharAt(*a += x.size);
    while (DigitOf(y) == 0)
        y = CharAt(*b += y.size);
    // Of two runs as long, the first digit that differs decides; else the longer is larger.
    int first = 0;
    for (;;) {
        int dx = DigitOf(x), dy = DigitOf(y);
        if (dx < 0 || dy < 0) {
            if (dx >= 0)
                return 1;
            return dy >= 0 ? -1 : first;
        }
        if (first == 0 && dx != dy)
            first = dx < dy ? -1 : 1;
        x = CharAt(*a += x.size);
        y = CharAt(*b += y.size);
    }
}

} // namespace

int CompareNatural(const char* a, const char* b) {
    const unsigned char* x = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* y = reinterpret_cast<const unsigned char*>(b);
    for (;;) {
        Char cx = CharAt(x), cy = CharAt(y);
        bool numberX = DigitOf(cx) >= 0, numberY = DigitOf(cy) >= 0;
        if (numberX && numberY) {
            int order = CompareNumbers(&x, &y);
            if (order != 0)
                return order;
            continue;
        }
        // No other character is a digit, so a number never ties with one.
        unsigned kx = numberX ? '0' << 8 : FoldedCode(cx);
        unsigned ky = numberY ? '0' << 8 : FoldedCode(cy);
        if (kx != ky)
            return kx < ky ? -1 : 1;
        if (cx.size == 0)
            return 0;
        x += cx.size;
        y += cy.size;
    }
}

int CompareNames(const char* a, const char* b) {
    int order = CompareNatural(a, b);
    if (order == 0)
        order = CompareAsSystem(a, b);
    if (order == 0)
        order = std::strcmp(a, b);
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}
