// The tool's arguments as the platform hands them over, and the names they stand for.
#pragma once

#include <string>
#include <vector>

struct Argument {
    std::string text;
    // Taken as it stands: never expanded as a wildcard (quoted on Windows; every argument on
    // POSIX, where the shell has expanded what it meant to).
    bool literal;
    // Typed with a character Shift_JIS cannot hold (Windows): text shows it with ? for each
    // such character, and names nothing.
    bool inexact;
};

// The arguments after the program's own name. Windows gives the command line whole; its
// quotes tell which arguments are literal.
std::vector<Argument> CommandLineArguments(int argc, char** argv);

#ifdef _WIN32
// Splits the system's wide command line as the C runtime does for argv, the program's name
// left out, noting which arguments held quotes; each argument is then converted exactly to
// Shift_JIS or marked inexact. Splitting the wide text, a ? that stands for a character the
// code page lacks is never taken for a wildcard.
std::vector<Argument> SplitCommandLine(const wchar_t* line);
#endif

// Appends the names of the files that a wildcard argument (with * or ?) in its last part
// matches, in name order with letter case ignored (the order the program's list sorts in);
// folders are left out, and so are names Shift_JIS cannot hold, which go to `refused` (shown
// with ?). False when the argument is no wildcard here: it is then a name itself.
bool ExpandWildcard(const std::string& pattern, std::vector<std::string>& names,
                    std::vector<std::string>& refused);

// A name of a list file written in Unicode (UTF-16 units) as this system's name: Shift_JIS on
// Windows, UTF-8 on POSIX. False when it cannot be held exactly; name then shows it with ?.
bool NameFromUtf16(const std::u16string& units, std::string& name);

// Makes standard input give its bytes as they are, for the response file "-".
void ReadStandardInputAsBytes();
