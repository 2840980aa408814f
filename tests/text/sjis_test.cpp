#include <gtest/gtest.h>

#include "text/sjis.h"

TEST(ByteClass, WalksFromTheStart) {
    EXPECT_EQ(ByteClassAt("ab", 5), kSingleByte);
    const char leads[] = "\x81\x81\x81";
    EXPECT_EQ(ByteClassAt(leads, 0), kLeadByte);
    EXPECT_EQ(ByteClassAt(leads, 1), kTrailByte);
    EXPECT_EQ(ByteClassAt(leads, 2), kLeadByte);
    // A byte that cannot complete the character is a single byte; NextChar still pairs it.
    const char broken[] = "\x81\x30";
    EXPECT_EQ(ByteClassAt(broken, 1), kSingleByte);
    EXPECT_EQ(NextChar(broken), broken + 2);
    // 0x7F and 0xFD-0xFF never complete a character.
    EXPECT_EQ(ByteClassAt("\x81\x7f", 1), kSingleByte);
    EXPECT_EQ(ByteClassAt("\x81\xfd", 1), kSingleByte);
    EXPECT_EQ(ByteClassAt("\x81\xfc", 1), kTrailByte);
    EXPECT_EQ(ByteClassAt("\xa0\x81", 0), kSingleByte); // half-width range is single
    EXPECT_EQ(ByteClassAt("x", static_cast<unsigned>(-1)), kSingleByte);
}

TEST(ByteClass, RealBackslashIsNotTheSecondHalfOfACharacter) {
    const char path[] = "C:\\\x95\x5c\\a"; // C:\表\a
    EXPECT_TRUE(IsRealBackslashAt(path, 2));
    EXPECT_FALSE(IsRealBackslashAt(path, 4));
    EXPECT_TRUE(IsRealBackslashAt(path, 5));
    EXPECT_FALSE(IsRealBackslashAt(path, 0));
}

TEST(NextChar, StepsCharactersAndStopsAtTheEnd) {
    const char s[] = "a\x83\x41"
                     "b\x81";
    const char* p = NextChar(s);
    EXPECT_EQ(p, s + 1);
    p = NextChar(p);
    EXPECT_EQ(p, s + 3);
    p = NextChar(NextChar(p)); // a lone lead byte before the NUL steps one
    EXPECT_EQ(p, s + 5);
    EXPECT_EQ(NextChar(p), p);
    EXPECT_EQ(StringEnd(s), s + 5);
}

TEST(CaseFolding, LowersSingleBytesOnly) {
    char s[] = "ABC\x83\x41"
               "D\xb1Z"; // ABCアDｱZ
    ToLowerInPlace(s);
    EXPECT_STREQ(s, "abc\x83\x41"
                    "d\xb1z");
}

TEST(CaseFolding, EqualNoCaseNeverFoldsASecondHalf) {
    EXPECT_TRUE(EqualNoCase("C:\\A.TXT", "c:\\a.txt"));
    EXPECT_FALSE(EqualNoCase("C:\\\x83\x41.txt", "C:\\\x83\x61.txt")); // ア and ヂ
    EXPECT_TRUE(EqualNoCase("C:\\\x83\x41.TXT", "c:\\\x83\x41.txt"));
    // After a byte that cannot complete a lead byte, letters fold again.
    EXPECT_TRUE(EqualNoCase("\x81\x30"
                            "A",
                            "\x81\x30"
                            "a"));
    // A letter right after a lead byte is its second half, and kept exact.
    EXPECT_FALSE(EqualNoCase("\x81"
                             "A",
                             "\x81"
                             "a"));
    EXPECT_TRUE(EqualNoCase("", ""));
    EXPECT_FALSE(EqualNoCase("abc", "abcd"));
    EXPECT_FALSE(EqualNoCase("abcd", "abc"));
    EXPECT_FALSE(EqualNoCase("[", "{")); // only A-Z fold, not the bytes 0x20 apart around them
}
