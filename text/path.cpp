#include "text/path.h"

#include <cstring>

#include "text/buffer.h"
#include "text/sjis.h"

// Index of the last separator, or -1. Scans backwards, as the separator test is costly
// only for the rare 0x5C bytes.
static long LastSeparator(const char* path) {
    for (long i = static_cast<long>(std::strlen(path)) - 1; i >= 0; --i) {
        if (IsFolderSeparatorAt(path, static_cast<unsigned>(i)))
            return i;
    }
    return -1;
}

const char* FileNamePart(const char* path) {
    return path + LastSeparator(path) + 1;
}
char* FileNamePart(char* path) {
    return path + LastSeparator(path) + 1;
}

char* SplitFolderAndName(char* path) {
    long i = LastSeparator(path);
    if (i < 0)
        return path;
    path[i] = '\0';
    return path + i + 1;
}

const char* ExtensionStart(const char* path) {
    for (long i = static_cast<long>(std::strlen(path)) - 1; i >= 0; --i) {
        if (IsFolderSeparatorAt(path, static_cast<unsigned>(i)))
            break;
        // 0x2E is below every second half, so a dot is always a dot.
        if (path[i] == '.')
            return path + i;
    }
    return StringEnd(path);
}

char* ExtensionStart(char* path) {
    return const_cast<char*>(ExtensionStart(static_cast<const char*>(path)));
}

char* StripExtension(char* path) {
    char* dot = ExtensionStart(path);
    if (*dot == '\0')
        return dot;
    *dot = '\0';
    return dot + 1;
}

bool EndsWithFolderSeparator(const char* path) {
    std::size_t length = std::strlen(path);
    return length > 0 && IsFolderSeparatorAt(path, static_cast<unsigned>(length - 1));
}

bool JoinFolderAndName(char* out, const char* folder, const char* name) {
    const char separator[2] = {EndsWithFolderSeparator(folder) ? '\0' : kFolderSeparator, '\0'};
    if (PrintBounded(out, kPathBufferSize, "%s%s%s", folder, separator, name) >= 0)
        return true;
    out[0] = '\0';
    return false;
}

bool HasWildcard(const char* path) {
    if (std::strncmp(path, "\\\\?\\", 4) == 0)
        path += 4;
    return std::strpbrk(path, "*?") != nullptr;
}
