// The tool's arguments as the platform hands them over, and the names they stand for.
#pragma once

#include <string>
#include <vector>

struct Argument {
    std::string text;
    // Taken as it stands: never expanded as a wildcard (quoted on Windows; every argument on
    // POSIX, where the shell has expanded what it meant to).
    bool literal;
};

// The arguments after the program's own name. Windows gives the command line whole; its
// quotes tell which arguments are literal.
std::vector<Argument> CommandLineArguments(int argc, char** argv);

#ifdef _WIN32
// Splits a command line as the C runtime does for argv, the program's name left out, noting
// which arguments held quotes. The second byte of a character such as 表 is no backslash.
std::vector<Argument> SplitCommandLine(const char* line);
#endif

// Appends the names of the files that a wildcard argument (with * or ?) in its last part
// matches, in name order with letter case ignored (the order the program's list sorts in);
// folders are left out. False when the argument is no wildcard here: it is then a name itself.
bool ExpandWildcard(const std::string& pattern, std::vector<std::string>& names);

// Makes standard input give its bytes as they are, for the response file "-".
void ReadStandardInputAsBytes();
