// Runs a program of this build as a user would, and collects what it says.
#pragma once

#include <string>
#include <vector>

struct ToolResult {
    int exitCode; // -1 when the program could not be started
    std::string out;
    std::string err;
};

// program is a path of the build (a Linux path also in the Windows build, where the test
// itself runs under Wine and reaches it through drive Z:).
ToolResult RunTool(const std::string& program, const std::vector<std::string>& arguments);
