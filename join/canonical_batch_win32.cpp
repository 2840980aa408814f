#include <windows.h>

#include <cstring>

#include "join/canonical_batch_platform.h"
#include "text/buffer.h"
#include "text/path.h"

// The shell's parse of a path costs milliseconds, which a drop of thousands of files feels;
// the name as the folder stores it (letter case, long name) is what the shell prints back.
bool SplitStoredName(const char* path, char* folder, char* name) {
    DWORD length = GetFullPathNameA(path, kPathBufferSize, folder, nullptr);
    if (length == 0 || length >= static_cast<DWORD>(kPathBufferSize) ||
        std::strpbrk(folder, "*?") != nullptr)
        return false;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(folder, &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return false;
    char* typed = SplitFolderAndName(folder);
    // No folder, or a drive's root, which resolves differently on its own.
    if (typed == folder || FileNamePart(folder) == folder)
        return false;
    CopyBounded(name, kPathBufferSize, found.cFileName);
    return true;
}
