#include "cli/command_line.h"

std::vector<Argument> CommandLineArguments(int argc, char** argv) {
    std::vector<Argument> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(Argument{argv[i], true});
    return arguments;
}

// The shell has expanded what it was asked to; * and ? left in a name are part of it.
bool ExpandWildcard(const std::string&, std::vector<std::string>&) {
    return false;
}

// POSIX streams change no bytes.
void ReadStandardInputAsBytes() {}
