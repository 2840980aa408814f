#include "text/path.h"

#include <sys/stat.h>

const char kFolderSeparator = '/';

bool IsFolderSeparatorAt(const char* path, unsigned index) {
    return path[index] == '/';
}

bool FileExists(const char* path) {
    struct stat st;
    return stat(path, &st) == 0;
}
