#include "cli/command_line.h"

std::vector<Argument> CommandLineArguments(int argc, char** argv) {
    std::vector<Argument> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(Argument{argv[i], true, false});
    return arguments;
}

// The shell has expanded what it was asked to; * and ? left in a name are part of it.
bool ExpandWildcard(const std::string&, std::vector<std::string>&, std::vector<std::string>&) {
    return false;
}

// Names here are the bytes the file system stores, UTF-8 as a rule. A lone half of a
// surrogate pair is no character at all.
bool NameFromUtf16(const std::u16string& units, std::string& name) {
    name.clear();
    bool exact = true;
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        else if (c >= 0xD800 && c <= 0xDFFF)
            c = '?', exact = false;
        if (c < 0x80) {
            name += static_cast<char>(c);
        } else if (c < 0x800) {
            name += static_cast<char>(0xC0 | c >> 6);
            name += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            name += static_cast<char>(0xE0 | c >> 12);
            name += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            name += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            name += static_cast<char>(0xF0 | c >> 18);
            name += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            name += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            name += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return exact;
}

// POSIX streams change no bytes.
void ReadStandardInputAsBytes() {}
