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
