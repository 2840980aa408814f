// The tool's own split of a Windows command line: as the C runtime splits it for argv, and
// which arguments held quotes (those are never taken for wildcards).
#include <gtest/gtest.h>

#include "cli/command_line.h"

namespace {

std::vector<std::string> Split(const char* line, std::string* literal) {
    std::vector<std::string> texts;
    for (const Argument& a : SplitCommandLine(line)) {
        texts.push_back(a.text);
        *literal += a.literal ? 'q' : '-';
    }
    return texts;
}

// 表 is 0x95 0x5C and ソ 0x83 0x5C: their second byte is no backslash before a quote.
TEST(CommandLine, SplitsAsTheRuntimeDoes) {
    const struct {
        const char* line;
        std::vector<std::string> arguments;
        std::string literal;
    } rows[] = {
        {"p a\\\x95\x5c \"b c\"", {"a\\\x95\x5c", "b c"}, "-q"},
        {"p \"\x95\x5c\" x", {"\x95\x5c", "x"}, "q-"},
        {"p \"\x83\x5c\\\\\" x", {"\x83\x5c\\", "x"}, "q-"},
        {"p \x83\x5c\\\\\\\"b", {"\x83\x5c\\\"b"}, "-"},
        {"p \"a\"\"b\" \\\\\\\\\"c d\"", {"a\"b", "\\\\c d"}, "qq"},
        {"\"C:\\dir \x95\x5c\\p.exe\" *.txt \"*.txt\"", {"*.txt", "*.txt"}, "-q"},
        {"p\t\"\"  ", {""}, "q"},
    };
    for (const auto& row : rows) {
        std::string literal;
        EXPECT_EQ(Split(row.line, &literal), row.arguments) << row.line;
        EXPECT_EQ(literal, row.literal) << row.line;
    }
}

} // namespace
