#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "text/buffer.h"

TEST(CopyBounded, NeverSplitsACharacter) {
    std::string source(520, 'a');
    source += "\x83\x41"; // bytes 520 and 521 form one character
    source += std::string(78, 'b');
    PathBuffer dest;
    std::memset(dest, 'X', sizeof dest);
    CopyBounded(dest, kPathBufferSize, source.c_str());
    EXPECT_EQ(std::string(dest), std::string(520, 'a'));
    EXPECT_EQ(dest[520], '\0');

    std::string loneLead = std::string(520, 'a') + "\x83";
    CopyBounded(dest, kPathBufferSize, loneLead.c_str());
    EXPECT_EQ(std::string(dest), loneLead);

    std::string exact(521, 'c');
    CopyBounded(dest, kPathBufferSize, (exact + "dd").c_str());
    EXPECT_EQ(std::string(dest), exact);
}

TEST(CopyBounded, ShortSourcesAreCopiedAndPadded) {
    char dest[8];
    std::memset(dest, 'X', sizeof dest);
    CopyBounded(dest, 8, "ab");
    EXPECT_EQ(std::string(dest, 8), std::string("ab\0\0\0\0\0\0", 8));
    CopyBounded(dest, 1, "abc");
    EXPECT_STREQ(dest, "");
    char tip[4];
    CopyBounded(tip, 4, "x\x83\x41y"); // x + ア would need 3 bytes of text + NUL: fits
    EXPECT_STREQ(tip, "x\x83\x41");
    CopyBounded(tip, 4, "xy\x83\x41"); // the character would be cut: left out
    EXPECT_STREQ(tip, "xy");
}

TEST(PrintBounded, ReportsCutsAndKeepsTheBufferTerminated) {
    char buffer[8];
    EXPECT_EQ(PrintBounded(buffer, 6, "%d", 12345), 5);
    EXPECT_STREQ(buffer, "12345");
    EXPECT_EQ(PrintBounded(buffer, 3, "%d", 12345), -1);
    EXPECT_STREQ(buffer, "12");
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(PrintBounded(buffer, 0, "%d", 1), -1);
    EXPECT_EQ(buffer[0], 'X');
    EXPECT_EQ(PrintBounded(buffer, 8, "%s", ""), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(PrintBounded(buffer, 4, "%d", -5), 2);
    EXPECT_STREQ(buffer, "-5");
}

TEST(ZeroFill, ClearsAndGivesTheEnd) {
    unsigned char bytes[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(ZeroFill(bytes + 1, 4), bytes + 5);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[1] | bytes[2] | bytes[3] | bytes[4], 0);
    EXPECT_EQ(bytes[5], 6);
}
