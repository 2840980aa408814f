// The escaper on its own, where every offset and every chunk split can be reached. Built once
// for each path: the one the build chooses, the portable one, and the 16-byte one.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "join/html_escape.h"
#include "support/escape_reference.h"

namespace {

const char kEscaped[] = "\r \"&<>\n";
const char* const kReplacement[] = {"<BR>\r", "&nbsp;", "&quot;", "&amp;",
                                    "&lt;",   "&gt;",   "<BR>\n"};
const int kEscapedCount = 7;

// The bytes escaped in chunks of the given size (0: all at once), into exactly the room the
// escaper is promised; anything written past that room fails the test.
std::string Escaped(const std::string& bytes, std::size_t chunk = 0) {
    const unsigned char guard = 0xA5;
    std::vector<unsigned char> out(bytes.size() * kLongestHtmlEscape + 64, guard);
    const unsigned char* from = reinterpret_cast<const unsigned char*>(bytes.data());
    unsigned char* to = out.data();
    if (chunk == 0)
        chunk = bytes.size() + 1;
    HtmlEscapeState state;
    for (std::size_t at = 0; at < bytes.size(); at += chunk)
        to = EscapeHtmlBytes(to, from + at, std::min(chunk, bytes.size() - at), state);
    for (std::size_t i = bytes.size() * kLongestHtmlEscape; i < out.size(); ++i)
        if (out[i] != guard)
            return "<written past the room at " + std::to_string(i) + ">";
    return std::string(out.data(), to);
}

} // namespace

TEST(EscapeBytes, EachEscapedByteAtEveryOffset) {
    // Lengths on both sides of the steps the escaper takes (8, 16, 64 bytes and the input it
    // needs ahead of a block), so that each offset is met by each path: block, word, byte.
    for (std::size_t length : {1,  7,  8,  9,  15, 16,  17,  31,  32,  33,  63,
                               64, 65, 79, 80, 81, 127, 128, 129, 191, 192, 200}) {
        for (std::size_t at = 0; at < length; ++at) {
            for (int e = 0; e < kEscapedCount; ++e) {
                std::string text(length, 'a');
                text[at] = kEscaped[e];
                std::string expected =
                    std::string(at, 'a') + kReplacement[e] + std::string(length - at - 1, 'a');
                ASSERT_EQ(Escaped(text), expected)
                    << "byte " << int(kEscaped[e]) << " at " << at << " of " << length;
            }
        }
    }
}

TEST(EscapeBytes, EveryByteOfABlockEscapedAtOnce) {
    // Runs of one escaped byte, and all of them in turn: no plain byte between the escapes.
    for (int e = 0; e < kEscapedCount; ++e) {
        std::string expected;
        for (int i = 0; i < 200; ++i)
            expected += kReplacement[e];
        EXPECT_EQ(Escaped(std::string(200, kEscaped[e])), expected);
    }
    std::string mixed, expected;
    for (int i = 0; i < 199; ++i) {
        mixed += kEscaped[i % kEscapedCount];
        expected += kReplacement[i % kEscapedCount];
    }
    EXPECT_EQ(Escaped(mixed), expected);
}

TEST(EscapeBytes, ALineFeedBreaksTheLineUnlessACrJustDid) {
    // Each kind of line end at every offset of blocks and words, whole and cut right after
    // its first byte: what a CR leaves for the LF after it must cross chunks and blocks.
    const std::pair<std::string, std::string> ends[] = {{"\r\n", "<BR>\r\n"},
                                                        {"\n", "<BR>\n"},
                                                        {"\r", "<BR>\r"},
                                                        {"\n\r", "<BR>\n<BR>\r"},
                                                        {"\r\n\n", "<BR>\r\n<BR>\n"},
                                                        {"\r\r\n", "<BR>\r<BR>\r\n"},
                                                        {"\r \n", "<BR>\r&nbsp;<BR>\n"},
                                                        // eight plain bytes: a whole word
                                                        {"\rabcdefgh\n", "<BR>\rabcdefgh<BR>\n"},
                                                        {"\x81\r\n", "\x81<BR>\r\n"}};
    for (std::size_t length : {16, 64, 127, 128, 129, 200}) {
        for (std::size_t at = 0; at < length; ++at) {
            for (const auto& end : ends) {
                std::string text(length, 'a');
                text.replace(at, 0, end.first);
                std::string expected =
                    text.substr(0, at) + end.second + text.substr(at + end.first.size());
                ASSERT_EQ(Escaped(text), expected) << "at " << at << " of " << length;
                ASSERT_EQ(Escaped(text, at + 1), expected) << "cut at " << at + 1;
            }
        }
    }
    // Every file starts a line: a LF first breaks it, whatever the last file ended with.
    EXPECT_EQ(Escaped("\n"), "<BR>\n");
}

TEST(EscapeBytes, AStrayLeadByteNeverTakesAnEscapedByteAlong) {
    for (std::size_t at = 1; at < 140; ++at) {
        for (int e = 0; e < kEscapedCount; ++e) {
            std::string text(200, 'a');
            text[at - 1] = '\x81';
            text[at] = kEscaped[e];
            std::string expected = text.substr(0, at) + kReplacement[e] + text.substr(at + 1);
            ASSERT_EQ(Escaped(text), expected) << "lead byte before " << at;
            ASSERT_EQ(Escaped(text, at), expected) << "chunk of " << at;
        }
    }
}

TEST(EscapeBytes, MatchesTheByteRuleInChunksOfAnySize) {
    // Characters, escapes, lone and doubled lead bytes, lead bytes before escapes, in a
    // random order, escaped in chunks that split them everywhere: packed, and spread out by
    // plain runs as in prose, a few escapes of different lengths to a block.
    const char* const units[] = {
        "a",        " ",        "\r\n", "\"",    "&",      "<",        ">",
        "\x82\xa0", "\x95\x5c", "\x81", "\x81 ", "\x81<",  "\xe0\xe0", "\xfc\x81\x81\r",
        "\t",       "\x9f\x40", "\n",   "\r",    "\x81\n", "\n\n"};
    for (unsigned spread : {1, 40}) {
        std::string text;
        unsigned seed = 2026;
        while (text.size() < 8192) {
            seed = seed * 1103515245 + 12345;
            text += units[(seed >> 16) % (sizeof units / sizeof units[0])];
            text += std::string((seed >> 8) % spread, 'x');
        }
        std::string expected = ReferenceEscape(text);
        for (std::size_t chunk :
             {0, 1, 2, 5, 8, 15, 16, 17, 31, 33, 64, 79, 80, 81, 128, 129, 200, 4097})
            ASSERT_TRUE(Escaped(text, chunk) == expected)
                << "chunks of " << chunk << ", spread " << spread;
    }
}

#if defined(__i386__) || defined(__x86_64__)
TEST(EscapeBytes, ABuildWithAVectorPathTakesItWhereTheProcessorHasSse2) {
    // The 32-bit program chooses its path when it starts: one that never took it would still
    // give the right bytes, only slowly, so the bytes' own way is what is checked.
    __builtin_cpu_init();
    HtmlEscapeState state;
    std::vector<unsigned char> out(1024 * kLongestHtmlEscape);
    const std::string text(1024, 'a');
    EscapeHtmlBytes(out.data(), reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                    state);
#ifdef VELLUMOR_PORTABLE_ESCAPE
    EXPECT_EQ(state.blockBytes, 0u);
    EXPECT_STREQ(HtmlEscapePath(), "portable");
#else
    if (__builtin_cpu_supports("sse2")) {
        EXPECT_GT(state.blockBytes, 0u);
        EXPECT_STRNE(HtmlEscapePath(), "portable");
    }
#endif
}
#endif
