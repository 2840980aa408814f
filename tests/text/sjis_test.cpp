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

// Pairs in order (first before second), and pairs of one value (0: natural order alone sees
// no difference; the system's comparison or the bytes then decide, the same way both ways).
TEST(NaturalOrder, NumbersCountByValueAndTheRestByCharacter) {
    struct {
        const char *first, *second;
        int natural; // CompareNatural(first, second)
    } pairs[] = {
        // clang-format off
        {"2.txt", "10.txt", -1},
        {"9", "10", -1},
        {"99", "100", -1},
        {"a9z", "a10a", -1},
        {"x2y3", "x2y10", -1},
        {"4294967296", "4294967297", -1}, // beyond 32 bits
        {"123456789012345678901", "123456789012345678902", -1},
        {"01", "1", 0},
        {"007", "7", 0},
        {"0", "00", 0},
        {"0", "1", -1},
        {"a1", "a", 1},
        {"a", "a0", -1},
        // Full-width digits count as digits, alone and in a mix: ２, １０, １００, １0.
        {"\x82\x51", "\x82\x50\x82\x4f", -1},
        {"\x82\x50\x82\x4f", "\x82\x50\x82\x4f\x82\x4f", -1},
        {"\x82\x51", "10", -1},
        {"2", "\x82\x50\x82\x4f", -1},
        {"\x82\x50\x82\x4f", "10", 0},
        {"\x82\x50" "0", "10", 0},
        // 第2話 before 第10話 before 第11話; 第２０章 before 第１００章.
        {"\x91\xe6" "2\x98\x62", "\x91\xe6" "10\x98\x62", -1},
        {"\x91\xe6" "10\x98\x62", "\x91\xe6" "11\x98\x62", -1},
        {"\x91\xe6\x82\x51\x82\x4f\x8f\xcd", "\x91\xe6\x82\x50\x82\x4f\x82\x4f\x8f\xcd", -1},
        // A number sorts where 0 would: after a space and a dot, before letters and kana.
        {" ", "1", -1},
        {"1", "a", -1},
        {"\x82\x50", "a", -1},
        {"9", "\x82\xa0", -1}, // あ
        // Letters, ASCII and full-width, with case ignored; width still tells them apart.
        {"ABC", "abc", 0},
        {"abc", "ABD", -1},
        {"\x82\x60", "\x82\x81", 0},  // Ａ, ａ
        {"\x82\x60", "\x82\x82", -1}, // Ａ, ｂ
        {"Z", "\x82\x60", -1},
        {"[", "{", -1}, // no fold beyond A-Z
        // Double-byte characters compare whole; a 0x5C or 0x7C second byte is no backslash
        // and no bar, nor a digit after them: 表1 表2 表10, ポ2 ポ10 (ポ is 0x83 0x7C).
        {"\x95\x5c" "2", "\x95\x5c" "10", -1},
        {"\x95\x5c", "\x95\x5c" "1", -1},
        {"\x95\x5c" "a", "\x95\x5d" "a", -1},
        {"\x83\x7c" "2", "\x83\x7c" "10", -1},
        {"\x83\x7c", "|", 1},
        {"a\\b", "a\x95\x5c" "b", -1},
        // A lead byte without its second half is a character of its own.
        {"\x81", "\x81\x40", -1},
        {"\x81" "2", "\x81" "10", -1},
        // Paths that differ only in a folder.
        {"C:\\x\\v2\\a.txt", "C:\\x\\v10\\a.txt", -1},
        {"C:\\x\\Disc 9\\01.txt", "C:\\x\\disc 10\\01.txt", -1},
        {"C:\\x\\\x95\x5c" "9\\a.txt", "C:\\x\\\x95\x5c" "10\\a.txt", -1},
        // clang-format on
    };
    for (const auto& p : pairs) {
        EXPECT_EQ(CompareNatural(p.first, p.second), p.natural) << p.first << " / " << p.second;
        EXPECT_EQ(CompareNatural(p.second, p.first), -p.natural) << p.second << " / " << p.first;
        // The order that sorts is total: only equal strings tie.
        int names = CompareNames(p.first, p.second);
        EXPECT_EQ(CompareNames(p.second, p.first), -names) << p.first << " / " << p.second;
        EXPECT_NE(names, 0) << p.first << " / " << p.second;
        if (p.natural != 0) {
            EXPECT_EQ(names, p.natural) << p.first << " / " << p.second;
        }
    }
    EXPECT_EQ(CompareNames("\x95\x5c\x31", "\x95\x5c\x31"), 0); // 表1
}
