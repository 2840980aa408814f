#include <windows.h>

#include <cstring>

#include "canonical/canonical.h"
#include "canonical/platform.h"
#include "text/path.h"

// The shell's parse of a whole path costs milliseconds and asking for one file's stored name
// a third of one: the folder is parsed once, and the names come from its listing.

static ListedKind KindOf(const WIN32_FIND_DATAA& item) {
    if (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return kListedFolder;
    return item.nFileSizeLow == 0 && item.nFileSizeHigh == 0 ? kListedEmptyFile : kListedFile;
}

static void NoteFound(CanonicalBatch* batch, const WIN32_FIND_DATAA& item) {
    NoteListedItem(batch, item.cFileName, KindOf(item));
}

bool OpenListing(CanonicalBatch* batch, const char* folder) {
    PathBuffer pattern;
    WIN32_FIND_DATAA item;
    if (PrintBounded(pattern, kPathBufferSize, "%s\\*", folder) <= 0)
        return false;
    HANDLE listing = FindFirstFileA(pattern, &item);
    if (listing == INVALID_HANDLE_VALUE)
        return false;
    batch->listing = listing;
    NoteFound(batch, item);
    return true;
}

bool ListNextItem(CanonicalBatch* batch) {
    WIN32_FIND_DATAA item;
    if (!FindNextFileA(static_cast<HANDLE>(batch->listing), &item)) {
        CloseListing(batch);
        return false;
    }
    NoteFound(batch, item);
    return true;
}

void CloseListing(CanonicalBatch* batch) {
    if (batch->listing != nullptr)
        FindClose(static_cast<HANDLE>(batch->listing));
    batch->listing = nullptr;
}

bool SplitStoredName(CanonicalBatch* batch, const char* path, char* folder, char* name,
                     bool* file) {
    DWORD length = GetFullPathNameA(path, kPathBufferSize, folder, nullptr);
    if (length == 0 || length >= static_cast<DWORD>(kPathBufferSize) ||
        std::strpbrk(folder, "*?") != nullptr)
        return false;
    PathBuffer full;
    std::strcpy(full, folder);
    const char* typed = SplitFolderAndName(folder);
    // No folder, or a drive's root, which resolves differently on its own.
    if (typed == folder || FileNamePart(folder) == folder)
        return false;
    // A name listed exactly as typed is that item; any other spelling (letter case, a short
    // name) is the system's to match.
    ListedKind listed = ListedKindOf(batch, folder, typed);
    switch (listed) {
    case kListedFile:
    case kListedEmptyFile:
        *file = listed == kListedFile;
        CopyBounded(name, kPathBufferSize, typed);
        return true;
    case kListedUnknown:
        break;
    default:
        return false;
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(full, &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    ListedKind kind = KindOf(found);
    if (kind == kListedFolder)
        return false;
    *file = kind == kListedFile;
    CopyBounded(name, kPathBufferSize, found.cFileName);
    return true;
}
