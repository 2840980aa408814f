#include "join/path_array.h"

static int PathArrayCount(const void* owner) {
    return static_cast<const PathArray*>(owner)->count;
}

static void PathArrayEntry(const void* owner, int index, char* path) {
    // A cut path could name another file: one that does not fit reads as empty, i.e. missing.
    CopyWholePath(path, static_cast<const PathArray*>(owner)->paths[index]);
}

FileList FileListOfPaths(const PathArray& array) {
    return FileList{PathArrayCount, PathArrayEntry, &array, nullptr, nullptr};
}
