#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <fcntl.h>
#include <io.h>

#include "cli/command_line.h"
#include "text/path.h"
#include "text/sjis.h"
#include "text/wide_win32.h"

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

Argument Converted(const std::wstring& wide, bool literal) {
    Argument argument{"", literal, false};
    argument.inexact = !WideToShiftJis(wide.c_str(), argument.text);
    return argument;
}

} // namespace

std::vector<Argument> SplitCommandLine(const wchar_t* line) {
    std::vector<Argument> arguments;
    const wchar_t* p = line;
    // The program's name ends at the closing quote, backslashes and all.
    if (*p == L'"') {
        p = std::wcschr(p + 1, L'"');
        p = p != nullptr ? p + 1 : line + std::wcslen(line);
    } else {
        while (*p != L'\0' && !IsBlank(*p))
            ++p;
    }
    for (;;) {
        while (IsBlank(*p))
            ++p;
        if (*p == L'\0')
            return arguments;
        std::wstring text;
        bool literal = false, inQuotes = false;
        while (*p != L'\0' && (inQuotes || !IsBlank(*p))) {
            std::size_t backslashes = std::wcsspn(p, L"\\");
            p += backslashes;
            if (*p != L'"') {
                // Backslashes before anything but a quote stand for themselves.
                text.append(backslashes, L'\\');
                if (backslashes == 0)
                    text += *p++;
                continue;
            }
            text.append(backslashes / 2, L'\\');
            if (backslashes % 2 == 1) {
                text += L'"';
            } else if (inQuotes && p[1] == L'"') {
                text += L'"'; // "" inside quotes is a quote
                ++p;
            } else {
                inQuotes = !inQuotes;
                literal = true;
            }
            ++p;
        }
        arguments.push_back(Converted(text, literal));
    }
}

namespace {

// Name order with letter case ignored, as the program's list sorts.
bool NameBefore(const std::string& a, const std::string& b) {
    return CompareNames(a.c_str(), b.c_str()) < 0;
}

} // namespace

// The runtime's argv is the ANSI command line, converted by best fit: café would arrive as
// cafe, another file's name, and 〜 as a ? that matches any character. The wide line is the
// one the user typed.
std::vector<Argument> CommandLineArguments(int, char**) {
    return SplitCommandLine(GetCommandLineW());
}

bool ExpandWildcard(const std::string& pattern, std::vector<std::string>& names,
                    std::vector<std::string>& refused) {
    if (!HasWildcard(pattern.c_str()))
        return false;
    std::size_t leaf = static_cast<std::size_t>(FileNamePart(pattern.c_str()) - pattern.c_str());
    if (leaf == 0 && pattern.size() >= 2 && pattern[1] == ':')
        leaf = 2; // C:*.txt, in the current folder of drive C:
    std::string folder = pattern.substr(0, leaf);
    std::vector<std::string> found;
    WIN32_FIND_DATAW item;
    HANDLE search = FindFirstFileW(ShiftJisToWide(pattern.c_str()).c_str(), &item);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name;
            bool exact = WideToShiftJis(item.cFileName, name);
            if (!(item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                (exact ? found : refused).push_back(folder + name);
        } while (FindNextFileW(search, &item));
        FindClose(search);
    }
    std::sort(found.begin(), found.end(), NameBefore);
    names.insert(names.end(), found.begin(), found.end());
    return true;
}

bool NameFromUtf16(const std::u16string& units, std::string& name) {
    std::wstring wide(units.begin(), units.end());
    return WideToShiftJis(wide.c_str(), name);
}

void ReadStandardInputAsBytes() {
    _setmode(_fileno(stdin), _O_BINARY);
}
