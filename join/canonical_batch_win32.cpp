#include <windows.h>

#include <cstring>

#include "join/canonical_batch.h"
#include "join/canonical_batch_platform.h"
#include "text/path.h"

// Asking the system for one file's stored name costs about 30 times what listing one more
// item of its folder costs (0.3 ms against 0.01 ms under Wine), and the shell's parse of a
// whole path costs milliseconds. So the folder is resolved once, and from the second name
// of one folder on, the folder's listing goes on by a few items with each name asked for:
// a drop of a whole folder is read in one pass, and a name that is not listed yet costs at
// most one lookup more than it would alone.

namespace {

enum Stored : unsigned char { kFile, kFolder, kSpelledAlike };

constexpr int kItemsPerName = 32;

void CloseListing(CanonicalBatch* batch) {
    if (batch->listing != nullptr)
        FindClose(static_cast<HANDLE>(batch->listing));
    batch->listing = nullptr;
}

void Note(CanonicalBatch* batch, const WIN32_FIND_DATAA& item) {
    Stored kind = (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? kFolder : kFile;
    // Two items whose names the code page spells alike cannot be told apart by that spelling.
    auto inserted = batch->stored.emplace(item.cFileName, kind);
    if (!inserted.second)
        inserted.first->second = kSpelledAlike;
}

// The kind of the item stored as name in folder, from the listing; -1 when the listing
// cannot tell (yet).
int ListedKind(CanonicalBatch* batch, const char* folder, const char* name) {
    if (std::strcmp(batch->listed, folder) != 0) {
        CloseListing(batch);
        batch->stored.clear();
        CopyBounded(batch->listed, kPathBufferSize, folder);
        batch->asked = 0;
    }
    if (++batch->asked == 2) {
        PathBuffer pattern;
        WIN32_FIND_DATAA item;
        if (PrintBounded(pattern, kPathBufferSize, "%s\\*", folder) > 0) {
            HANDLE listing = FindFirstFileA(pattern, &item);
            if (listing != INVALID_HANDLE_VALUE) {
                batch->listing = listing;
                Note(batch, item);
            }
        }
    }
    for (int i = 0; i < kItemsPerName && batch->listing != nullptr; ++i) {
        auto found = batch->stored.find(name);
        if (found != batch->stored.end())
            break;
        WIN32_FIND_DATAA item;
        if (FindNextFileA(static_cast<HANDLE>(batch->listing), &item))
            Note(batch, item);
        else
            CloseListing(batch);
    }
    auto found = batch->stored.find(name);
    if (found == batch->stored.end() || found->second == kSpelledAlike)
        return -1;
    return found->second;
}

} // namespace

bool SplitStoredName(CanonicalBatch* batch, const char* path, char* folder, char* name) {
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
    int kind = ListedKind(batch, folder, typed);
    if (kind == kFile) {
        CopyBounded(name, kPathBufferSize, typed);
        return true;
    }
    if (kind == kFolder)
        return false;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(full, &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return false;
    CopyBounded(name, kPathBufferSize, found.cFileName);
    return true;
}

void EndCanonicalBatch(CanonicalBatch* batch) {
    CloseListing(batch);
    batch->stored.clear();
}
