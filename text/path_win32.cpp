#include "text/path.h"

#include <windows.h>

#include "text/sjis.h"

const char kFolderSeparator = '\\';

bool IsFolderSeparatorAt(const char* path, unsigned index) {
    return IsRealBackslashAt(path, index);
}

bool FileExists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}
