// Runs a program of this build as a user would, and collects what it says.
#pragma once

#include <string>
#include <vector>

struct ToolResult {
    int exitCode; // -1 when the program could not be started, -2 when it was ended
    std::string out;
    std::string err;
};

// program is a path of the build (a Linux path also in the Windows build, where the test
// itself runs under Wine and reaches it through drive Z:).
struct ToolOptions {
    std::string folder{}; // the program's current folder; the test's own when empty
    // A program that writes more than this many bytes to `capped` is ended there (exit code
    // -2), so that a copy that feeds on itself fails fast instead of filling the disk.
    std::string capped{};
    long long cap = 0;
    // POSIX: no file the program writes may grow beyond this many bytes (0: no limit), as on
    // a disk that is full there.
    long long fileSizeLimit = 0;
    // What the program reads on its standard input; the test's own when empty.
    std::string input{};
};

ToolResult RunTool(const std::string& program, const std::vector<std::string>& arguments,
                   const ToolOptions& options = {});

#ifdef _WIN32
// Runs a command line exactly as typed (the program found as the system finds it): the
// program's own parsing of its quotes and wildcards is what is tried.
ToolResult RunCommandLine(std::string commandLine, const ToolOptions& options = {});
#endif
