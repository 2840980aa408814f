// The page's escaping of a file's content, byte by byte as the rule states it: the model the
// fast escaper is checked against.
#pragma once

#include <string>

#include "text/sjis.h"

// A lead byte goes out with the byte after it, whatever that byte is; every other byte is
// classed on its own.
inline std::string ReferenceEscape(const std::string& bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (IsLeadByte(b)) {
            out += bytes.substr(i, 2);
            ++i;
            continue;
        }
        switch (b) {
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
