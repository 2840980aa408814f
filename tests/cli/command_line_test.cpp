// The tool's own split of the wide Windows command line: as the C runtime splits it for argv,
// which arguments held quotes (those are never taken for wildcards), and which hold a
// character Shift_JIS cannot spell (those name no file).
#include <gtest/gtest.h>

#include "cli/command_line.h"

namespace {

std::vector<std::string> Split(const wchar_t* line, std::string* marks) {
    std::vector<std::string> texts;
    for (const Argument& a : SplitCommandLine(line)) {
        texts.push_back(a.text);
        *marks += a.inexact ? (a.literal ? 'X' : 'x') : (a.literal ? 'q' : '-');
    }
    return texts;
}

// 表 is 0x95 0x5C and ソ 0x83 0x5C in Shift_JIS: their second byte is no backslash. é and 〜
// (U+301C, which the code page's best fit turns into ?) have no Shift_JIS spelling at all.
TEST(CommandLine, SplitsAsTheRuntimeDoes) {
    const struct {
        const wchar_t* line;
        std::vector<std::string> arguments;
        std::string marks; // - plain, q quoted, x and X the same with an inexact name
    } rows[] = {
        {L"p a\\表 \"b c\"", {"a\\\x95\x5c", "b c"}, "-q"},
        {L"p \"表\" x", {"\x95\x5c", "x"}, "q-"},
        {L"p \"ソ\\\\\" x", {"\x83\x5c\\", "x"}, "q-"},
        {L"p ソ\\\\\\\"b", {"\x83\x5c\\\"b"}, "-"},
        {L"p \"a\"\"b\" \\\\\\\\\"c d\"", {"a\"b", "\\\\c d"}, "qq"},
        {L"\"C:\\dir 表\\p.exe\" *.txt \"*.txt\"", {"*.txt", "*.txt"}, "-q"},
        {L"p\t\"\"  ", {""}, "q"},
        {L"p caf\u00e9.txt \"\u7b2c1\u301c3.txt\" a?b.txt",
         {"caf?.txt",
          "\x91\xe6"
          "1?3.txt",
          "a?b.txt"},
         "xX-"},
    };
    for (const auto& row : rows) {
        std::string marks;
        EXPECT_EQ(Split(row.line, &marks), row.arguments) << row.marks;
        EXPECT_EQ(marks, row.marks) << row.arguments.size();
    }
}

} // namespace
