#include "join/path_array.h"

#include <cstring>

static int PathArrayCount(const void* owner) {
    return static_cast<const PathArray*>(owner)->count;
}

static void PathArrayEntry(const void* owner, int index, char* path) {
    const char* source = static_cast<const PathArray*>(owner)->paths[index];
    // A cut path could name another file: one that does not fit reads as empty, i.e. missing.
    if (std::strlen(source) < static_cast<std::size_t>(kPathBufferSize))
        std::strcpy(path, source);
    else
        path[0] = '\0';
}

FileList FileListOfPaths(const PathArray& array) {
    return FileList{PathArrayCount, PathArrayEntry, &array, nullptr, nullptr};
}
