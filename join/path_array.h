// A FileList over a caller's array of paths (the command-line tool, the tests).
#pragma once

#include "join/join.h"

struct PathArray {
    const char* const* paths;
    int count;
};

FileList FileListOfPaths(const PathArray& array);
