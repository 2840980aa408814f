// Shift_JIS (code page 932) byte classes and double-byte-aware scanning of NUL-terminated
// byte strings. The byte ranges are fixed here: no locale is consulted.
#pragma once

enum ByteClass { kSingleByte = 0, kLeadByte = 1, kTrailByte = 2 };

inline bool IsLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
inline bool IsTrailByte(unsigned char b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// The class of the byte at index, found by walking from the start; 0 at or past the NUL.
int ByteClassAt(const char* string, unsigned index);

// A 0x5C that is not the second half of a character.
bool IsRealBackslashAt(const char* string, unsigned index);

// Steps over one character; a lead byte takes the next byte with it unless that is the NUL.
char* NextChar(char* position);
const char* NextChar(const char* position);

char* StringEnd(char* string);
const char* StringEnd(const char* string);

// Folds A-Z in single-byte characters; both bytes of a double-byte character stay.
void ToLowerInPlace(char* string);

// Equality with A-Z folded, but only where the byte is a character of its own: the second
// half of a double-byte character is compared exactly, so that distinct characters such as
// 0x83 0x41 and 0x83 0x61 never compare equal.
bool EqualNoCase(const char* a, const char* b);

// Natural order, as the shell lists a folder: a run of digits compares by its value, ASCII
// and full-width digits (0x824F-0x8258) alike and in any mix, so 2 comes before 10 and
// before １０; A-Z and their full-width forms compare as their lower case; any other
// character compares by its bytes, a double-byte character whole. A number sorts where the
// digit 0 would. Negative, 0 or positive as a comes before, with, or after b: 0 also for two
// spellings of one number (1, 01, １) or of one letter.
int CompareNatural(const char* a, const char* b);

// The order of the file list and of a wildcard's names: natural order, and where that sees
// no difference the system's own case-insensitive comparison (a sorted list box's), then
// the bytes, so that only equal strings compare equal.
int CompareNames(const char* a, const char* b);
// The system's own order of two names, case ignored (the platform's file): negative, 0 or
// positive; 0 where the system has none.
int CompareAsSystem(const char* a, const char* b);
