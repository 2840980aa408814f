// The page escaper's speed on its own, for the path this program was built with (one program
// per path, as in the tests): Japanese prose and English prose with markup, with CR LF line
// ends and with LF alone, escaped in the writer's 64 KiB chunks. Prints MB/s of input.
//
// Usage: bench_escape_PATH [MEGABYTES]   (default 256 of each text)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "join/html_escape.h"

namespace {

unsigned seed = 7;
unsigned Next(unsigned below) {
    seed = seed * 1103515245 + 12345;
    return (seed >> 8) % below;
}

// Hiragana, katakana and kanji with 、 and 。 and a few ASCII marks, as bench/join-vs-cat.
std::string JapaneseLine() {
    std::string line;
    for (unsigned n = 20 + Next(21); n > 0; --n) {
        unsigned r = Next(100);
        if (r < 50)
            line += {'\x82', static_cast<char>(0x9F + Next(0x53))}; // hiragana
        else if (r < 80)
            line += {static_cast<char>(0x88 + Next(16)), static_cast<char>(0x9F + Next(0x5E))};
        else if (r < 90)
            line += {'\x83', static_cast<char>(0x40 + Next(0x3F))}; // katakana
        else if (r < 97)
            line += r < 94 ? "\x81\x41" : "\x81\x42"; // 、 。
        else
            line += r < 99 ? " " : "A&B";
    }
    return line;
}

// Words and spaces, now and then a tag, a quotation, an ampersand: about a byte in five is
// escaped.
std::string EnglishLine() {
    static const char* const words[] = {"the",  "of",   "and", "to",   "in",    "is",
                                        "that", "page", "was", "for",  "file",  "with",
                                        "text", "line", "as",  "name", "table", "reader"};
    std::string line;
    while (line.size() < 50 + Next(40)) {
        std::string word = words[Next(sizeof words / sizeof words[0])];
        unsigned r = Next(100);
        if (r < 6)
            word = "<b>" + word + "</b>";
        else if (r < 10)
            word = '"' + word + '"';
        else if (r < 12)
            word = "&" + word + ";";
        line += word + " ";
    }
    return line;
}

std::string Text(std::string (*line)(), const char* end) {
    std::string text;
    while (text.size() < 4 << 20)
        text += line() + end;
    return text;
}

} // namespace

int main(int argc, char** argv) {
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 256;
    struct Set {
        const char* name;
        std::string text;
    } sets[] = {{"japanese CR LF", Text(JapaneseLine, "\r\n")},
                {"japanese LF", Text(JapaneseLine, "\n")},
                {"english CR LF", Text(EnglishLine, "\r\n")},
                {"english LF", Text(EnglishLine, "\n")}};
    const std::size_t chunk = 64 * 1024;
    std::vector<unsigned char> out(chunk * kLongestHtmlEscape);
    std::printf("path %s\n", HtmlEscapePath());
    for (const Set& set : sets) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(set.text.data());
        const std::size_t size = set.text.size() / chunk * chunk;
        double best = 0, read = 0, written = 0;
        for (int run = 0; run < 3; ++run) {
            std::size_t done = 0;
            auto start = std::chrono::steady_clock::now();
            while (done < megabytes * 1e6) {
                HtmlEscapeState state;
                for (std::size_t at = 0; at < size; at += chunk, done += chunk)
                    written += EscapeHtmlBytes(out.data(), bytes + at, chunk, state) - out.data();
            }
            std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            if (done / took.count() > best)
                best = done / took.count();
            read += done;
        }
        // The bytes written are printed so that no run can be left out as unused.
        std::printf("  %-16s %8.0f MB/s  (%.2f bytes out per byte)\n", set.name, best / 1e6,
                    written / read);
    }
    return 0;
}
