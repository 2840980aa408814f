#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <io.h>

#include "cli/command_line.h"
#include "text/path.h"
#include "text/sjis.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::vector<Argument> SplitCommandLine(const char* line) {
    std::vector<Argument> arguments;
    const char* p = line;
    // The program's name ends at the closing quote, backslashes and all.
    if (*p == '"') {
        p = std::strchr(p + 1, '"');
        p = p != nullptr ? p + 1 : StringEnd(line);
    } else {
        while (*p != '\0' && !IsBlank(*p))
            p = NextChar(p);
    }
    for (;;) {
        while (IsBlank(*p))
            ++p;
        if (*p == '\0')
            return arguments;
        Argument argument{"", false};
        bool inQuotes = false;
        while (*p != '\0' && (inQuotes || !IsBlank(*p))) {
            // p stands at a character, so the class walk starts there.
            const char* run = p;
            while (IsRealBackslashAt(p, 0))
                p = NextChar(p);
            std::size_t backslashes = static_cast<std::size_t>(p - run);
            if (*p != '"') {
                // Backslashes before anything but a quote stand for themselves; without
                // any, one character is taken as it is.
                if (backslashes == 0)
                    p = NextChar(p);
                argument.text.append(run, p);
                continue;
            }
            argument.text.append(backslashes / 2, '\\');
            if (backslashes % 2 == 1) {
                argument.text += '"';
            } else if (inQuotes && p[1] == '"') {
                argument.text += '"'; // "" inside quotes is a quote
                ++p;
            } else {
                inQuotes = !inQuotes;
                argument.literal = true;
            }
            ++p;
        }
        arguments.push_back(argument);
    }
}

namespace {

// Name order with letter case ignored, as the program's list sorts.
bool NameBefore(const std::string& a, const std::string& b) {
    return CompareNames(a.c_str(), b.c_str()) < 0;
}

} // namespace

std::vector<Argument> CommandLineArguments(int argc, char** argv) {
    std::vector<Argument> arguments = SplitCommandLine(GetCommandLineA());
    // Where the split differs from the runtime's, none is taken for a wildcard: a name is then
    // looked for as it stands, never taken for some other file's.
    bool same = arguments.size() == static_cast<std::size_t>(argc - 1);
    for (std::size_t i = 0; same && i < arguments.size(); ++i)
        same = arguments[i].text == argv[i + 1];
    if (!same) {
        arguments.clear();
        for (int i = 1; i < argc; ++i)
            arguments.push_back(Argument{argv[i], true});
    }
    return arguments;
}

bool ExpandWildcard(const std::string& pattern, std::vector<std::string>& names) {
    // * and ? are never the second byte of a character.
    if (pattern.find_first_of("*?") == std::string::npos)
        return false;
    std::size_t leaf = static_cast<std::size_t>(FileNamePart(pattern.c_str()) - pattern.c_str());
    if (leaf == 0 && pattern.size() >= 2 && pattern[1] == ':')
        leaf = 2; // C:*.txt, in the current folder of drive C:
    std::string folder = pattern.substr(0, leaf);
    std::vector<std::string> found;
    WIN32_FIND_DATAA item;
    HANDLE search = FindFirstFileA(pattern.c_str(), &item);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                found.push_back(folder + item.cFileName);
        } while (FindNextFileA(search, &item));
        FindClose(search);
    }
    std::sort(found.begin(), found.end(), NameBefore);
    names.insert(names.end(), found.begin(), found.end());
    return true;
}

void ReadStandardInputAsBytes() {
    _setmode(_fileno(stdin), _O_BINARY);
}
