#include "cli/name_list.h"

#include <algorithm>

#include "cli/command_line.h"

namespace {

bool IsBlankLine(const std::u16string& line) {
    return line.find_first_not_of(u" \t") == std::u16string::npos;
}

// A line of UTF-8 as UTF-16 units; false for bytes that are no UTF-8 (they read as ?).
bool Utf8ToUtf16(const std::string& bytes, std::u16string& units) {
    bool valid = true;
    for (std::size_t i = 0; i < bytes.size();) {
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        int more = b < 0x80    ? 0
                   : b >= 0xF5 ? -1
                   : b >= 0xF0 ? 3
                   : b >= 0xE0 ? 2
                   : b >= 0xC2 ? 1
                               : -1;
        char32_t c = more == 0 ? b : more == 1 ? b & 0x1F : more == 2 ? b & 0x0F : b & 0x07;
        bool ok = more >= 0 && i + static_cast<std::size_t>(more) < bytes.size();
        for (int k = 1; ok && k <= more; ++k) {
            unsigned char t = static_cast<unsigned char>(bytes[i + k]);
            ok = (t & 0xC0) == 0x80;
            c = c << 6 | (t & 0x3F);
        }
        // Overlong forms, surrogates and what lies beyond Unicode are no characters.
        ok = ok && !(more == 2 && c < 0x800) && !(more == 3 && (c < 0x10000 || c > 0x10FFFF)) &&
             !(c >= 0xD800 && c <= 0xDFFF);
        if (!ok) {
            units += u'?';
            valid = false;
            ++i;
            continue;
        }
        if (c >= 0x10000) {
            units += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            units += static_cast<char16_t>(c);
        }
        i += static_cast<std::size_t>(more) + 1;
    }
    return valid;
}

void AddUnicodeName(const std::u16string& line, bool valid, std::vector<std::string>& names,
                    std::vector<std::string>& refused) {
    if (IsBlankLine(line))
        return;
    std::string name;
    bool exact = NameFromUtf16(line, name);
    (valid && exact ? names : refused).push_back(name);
}

void AddUtf16Names(const std::string& bytes, std::vector<std::string>& names,
                   std::vector<std::string>& refused) {
    std::u16string line;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char16_t unit = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                              static_cast<unsigned char>(bytes[i + 1]) << 8);
        if (unit != u'\n') {
            line += unit;
            continue;
        }
        if (!line.empty() && line.back() == u'\r')
            line.pop_back();
        AddUnicodeName(line, true, names, refused);
        line.clear();
    }
    AddUnicodeName(line, true, names, refused);
}

// Each line of the bytes (LF or CR LF) that is not blank, as bytes or read as UTF-8.
void AddLines(const std::string& bytes, bool utf8, std::vector<std::string>& names,
              std::vector<std::string>& refused) {
    for (std::size_t at = 0; at < bytes.size();) {
        std::size_t end = std::min(bytes.find('\n', at), bytes.size());
        std::string line = bytes.substr(at, end - at);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        at = end + 1;
        if (!utf8) {
            if (line.find_first_not_of(" \t") != std::string::npos)
                names.push_back(line);
            continue;
        }
        std::u16string units;
        bool valid = Utf8ToUtf16(line, units);
        AddUnicodeName(units, valid, names, refused);
    }
}

} // namespace

void AddListedNames(const std::string& bytes, std::vector<std::string>& names,
                    std::vector<std::string>& refused) {
    if (bytes.compare(0, 2, "\xFF\xFE") == 0)
        AddUtf16Names(bytes.substr(2), names, refused);
    else if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        AddLines(bytes.substr(3), true, names, refused);
    else
        AddLines(bytes, false, names, refused);
}
