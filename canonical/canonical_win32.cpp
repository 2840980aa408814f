#include <windows.h>
#include <shlobj.h>

#include <new>

#include "canonical/canonical.h"
#include "canonical/platform.h"
#include "text/path.h"
#include "text/wide_win32.h"

// The system completes a path in wide text (the current folder's name may hold what the code
// page cannot), and its answer may be longer than a PathBuffer; it is taken only exact and
// whole. A pattern has none: it names no one file, though the shell's parse takes the first
// it matches.
bool FullPathOf(const char* path, char* full) {
    full[0] = '\0';
    if (HasWildcard(path))
        return false;
    WCHAR longer[2 * kPathBufferSize];
    DWORD length =
        GetFullPathNameW(ShiftJisToWide(path).c_str(), 2 * kPathBufferSize, longer, nullptr);
    return length != 0 && length < 2 * kPathBufferSize && WideToPath(longer, full);
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
        WCHAR printed[MAX_PATH];
        ok = SHGetPathFromIDListW(items, printed) != FALSE && WideToPath(printed, out);
        allocator->Free(items);
    }
    desktop->Release();
    allocator->Release();
    return ok;
}

// The shell's parse of a whole path costs milliseconds and asking for one file's stored name
// a third of one: the batch parses each folder once and takes the names from its listing.

static ListedKind KindOf(const WIN32_FIND_DATAW& item) {
    if (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return kListedFolder;
    return item.nFileSizeLow == 0 && item.nFileSizeHigh == 0 ? kListedEmptyFile : kListedFile;
}

ListedKind AskStoredItem(const char* path, char* name) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(ShiftJisToWide(path).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return kListedUnknown;
    FindClose(search);
    return WideToPath(found.cFileName, name) ? KindOf(found) : kListedUnknown;
}

namespace {

struct Listing {
    HANDLE search;
    WIN32_FIND_DATAW item;
    bool opened;     // the item the opening found is not given yet
    PathBuffer name; // the item's name in Shift_JIS
};

} // namespace

void* OpenListing(const char* folder) {
    PathBuffer pattern;
    if (!JoinFolderAndName(pattern, folder, "*"))
        return nullptr;
    Listing* listing = new (std::nothrow) Listing;
    if (listing == nullptr)
        return nullptr;
    listing->search = FindFirstFileW(ShiftJisToWide(pattern).c_str(), &listing->item);
    if (listing->search == INVALID_HANDLE_VALUE) {
        delete listing;
        return nullptr;
    }
    listing->opened = true;
    return listing;
}

bool NextListedItem(void* opened, const char** name, ListedKind* kind) {
    Listing* listing = static_cast<Listing*>(opened);
    if (!listing->opened && !FindNextFileW(listing->search, &listing->item))
        return false;
    listing->opened = false;
    // A name the code page cannot hold is no name a caller can ask for.
    *name = listing->name;
    *kind =
        WideToPath(listing->item.cFileName, listing->name) ? KindOf(listing->item) : kListedUnknown;
    return true;
}

void CloseListing(void* opened) {
    Listing* listing = static_cast<Listing*>(opened);
    FindClose(listing->search);
    delete listing;
}
