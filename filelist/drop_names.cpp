#include "filelist/drop_names.h"

#include <windows.h>

#include <cstring>

#include "join/join.h"
#include "text/path.h"

// The shell's parse of a path costs milliseconds, which a drop of thousands of files feels.
// Such drops come from one folder: it is parsed once, and each file's name is then read as
// the folder stores it (letter case, long name), which is what the shell prints back for it.
// Anything out of the ordinary (wildcards, a drive's root, a folder, a failure) goes the
// shell's way.

void ForgetFolder(FolderMemo* memo) {
    memo->folder[0] = '\0';
    memo->canonical[0] = '\0';
    memo->resolved = false;
}

static bool StoredNameInFolder(FolderMemo* memo, char* out, const char* path) {
    PathBuffer full;
    DWORD length = GetFullPathNameA(path, kPathBufferSize, full, nullptr);
    if (length == 0 || length >= static_cast<DWORD>(kPathBufferSize) ||
        std::strpbrk(full, "*?") != nullptr)
        return false;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(full, &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return false;

    char* name = SplitFolderAndName(full); // full now holds the folder
    if (name == full || FileNamePart(full) == full)
        return false; // no folder, or a drive's root, which resolves differently on its own
    if (std::strcmp(full, memo->folder) != 0) {
        std::strcpy(memo->folder, full);
        memo->resolved = GetCanonicalPath(memo->canonical, full);
    }
    std::size_t folderLength = std::strlen(memo->canonical);
    if (!memo->resolved || folderLength + 1 + std::strlen(found.cFileName) >= kPathBufferSize)
        return false;
    std::memcpy(out, memo->canonical, folderLength);
    out[folderLength] = '\\';
    std::strcpy(out + folderLength + 1, found.cFileName);
    return true;
}

bool CanonicalPathInDrop(FolderMemo* memo, char* out, const char* path) {
    return StoredNameInFolder(memo, out, path) || GetCanonicalPath(out, path);
}
