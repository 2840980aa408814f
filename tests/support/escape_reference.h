// The page's escaping of a file's content, byte by byte as the rule states it: the model the
// fast escaper is checked against.
#pragma once

#include <string>

// Each byte is classed on its own: no second half of a character is a byte to escape, and a
// stray lead byte never takes markup or a line break along. A LF breaks the line unless it
// follows a CR of the same file; bytes is a whole file.
inline std::string ReferenceEscape(const std::string& bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        switch (b) {
        case '\n':
            out += i > 0 && bytes[i - 1] == '\r' ? "\n" : "<BR>\n";
            break;
        case '\r':
            out += "<BR>\r";
            break;
        case ' ':
            out += "&nbsp;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += static_cast<char>(b);
        }
    }
    return out;
}
