#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <new>

#include "canonical/canonical.h"
#include "canonical/platform.h"
#include "text/path.h"

// GetFullPathNameA's answer may be longer than a PathBuffer; it is taken only whole. A
// pattern has none: it names no one file, though the shell's parse takes the first it matches.
bool FullPathOf(const char* path, char* full) {
    if (std::strpbrk(path, "*?") != nullptr)
        return false;
    char longer[2 * kPathBufferSize];
    DWORD length = GetFullPathNameA(path, sizeof longer, longer, nullptr);
    return length != 0 && length < sizeof longer && CopyWholePath(full, longer);
}

// The shell's parse through the desktop folder yields the stored spelling of every part
// (letter case, long names). It resolves neither "." and ".." parts nor relative names
// everywhere, so the path is made absolute and normalised first.
bool GetCanonicalPath(char* out, const char* path) {
    PathBuffer full;
    bool fits = FullPathOf(path, full);
    out[0] = '\0';
    if (!fits)
        return false;

    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator)))
        return false;
    IShellFolder* desktop = nullptr;
    if (FAILED(SHGetDesktopFolder(&desktop))) {
        allocator->Release();
        return false;
    }
    WCHAR wide[MAX_PATH];
    LPITEMIDLIST items = nullptr;
    bool ok =
        MultiByteToWideChar(CP_ACP, 0, full, -1, wide, MAX_PATH) != 0 &&
        SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, wide, nullptr, &items, nullptr));
    if (ok) {
        static_assert(MAX_PATH < kPathBufferSize, "a shell path always fits a PathBuffer");
        char printed[MAX_PATH];
        ok = SHGetPathFromIDListA(items, printed) != FALSE && CopyWholePath(out, printed);
        allocator->Free(items);
    }
    desktop->Release();
    allocator->Release();
    return ok;
}

// The shell's parse of a whole path costs milliseconds and asking for one file's stored name
// a third of one: the batch parses each folder once and takes the names from its listing.

static ListedKind KindOf(const WIN32_FIND_DATAA& item) {
    if (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return kListedFolder;
    return item.nFileSizeLow == 0 && item.nFileSizeHigh == 0 ? kListedEmptyFile : kListedFile;
}

ListedKind AskStoredItem(const char* path, char* name) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return kListedUnknown;
    FindClose(search);
    CopyWholePath(name, found.cFileName);
    return KindOf(found);
}

namespace {

struct Listing {
    HANDLE search;
    WIN32_FIND_DATAA item;
    bool opened; // the item the opening found is not given yet
};

} // namespace

void* OpenListing(const char* folder) {
    PathBuffer pattern;
    if (!JoinFolderAndName(pattern, folder, "*"))
        return nullptr;
    Listing* listing = new (std::nothrow) Listing;
    if (listing == nullptr)
        return nullptr;
    listing->search = FindFirstFileA(pattern, &listing->item);
    if (listing->search == INVALID_HANDLE_VALUE) {
        delete listing;
        return nullptr;
    }
    listing->opened = true;
    return listing;
}

bool NextListedItem(void* opened, const char** name, ListedKind* kind) {
    Listing* listing = static_cast<Listing*>(opened);
    if (!listing->opened && !FindNextFileA(listing->search, &listing->item))
        return false;
    listing->opened = false;
    *name = listing->item.cFileName;
    *kind = KindOf(listing->item);
    return true;
}

void CloseListing(void* opened) {
    Listing* listing = static_cast<Listing*>(opened);
    FindClose(listing->search);
    delete listing;
}
