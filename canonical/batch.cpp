#include "canonical/canonical.h"

#include <cstring>

#include "canonical/platform.h"
#include "text/path.h"

void BeginCanonicalBatch(CanonicalBatch* batch) {
    batch->folder[0] = '\0';
    batch->canonical[0] = '\0';
    batch->resolved = false;
    batch->listed[0] = '\0';
    batch->asked = 0;
    batch->listing = nullptr;
    batch->stored.clear();
}

// The canonical path of the folder (resolved unless it is the one resolved last), then name.
static bool JoinToFolder(CanonicalBatch* batch, char* out, const char* folder, const char* name) {
    if (std::strcmp(folder, batch->folder) != 0) {
        CopyWholePath(batch->folder, folder);
        batch->resolved = GetCanonicalPath(batch->canonical, folder);
    }
    // A root ends with its separator already; a folder may end in a character whose second
    // byte looks like one, which is no separator.
    return batch->resolved && JoinFolderAndName(out, batch->canonical, name);
}

// Two items whose names the code page spells alike cannot be told apart by that spelling.
constexpr unsigned char kSpelledAlike = 0xFF;

// Asking the system for one item's stored name or kind costs far more than listing one more
// item of its folder (30 times, 0.3 ms against 0.01 ms, under Wine). So from the second name
// of one folder on, the folder's listing goes on by a few items with each name asked for: a
// drop of a whole folder is read in one pass, and a name not listed yet costs at most one
// lookup more than it would alone.
constexpr int kItemsPerName = 32;

static void CloseBatchListing(CanonicalBatch* batch) {
    if (batch->listing != nullptr)
        CloseListing(batch->listing);
    batch->listing = nullptr;
}

// Notes the listing's next item; at its end the listing is closed.
static void ListNextItem(CanonicalBatch* batch) {
    const char* name;
    ListedKind kind;
    if (!NextListedItem(batch->listing, &name, &kind)) {
        CloseBatchListing(batch);
        return;
    }
    // What the listing does not tell is asked for name by name.
    if (kind == kListedUnknown)
        return;
    auto inserted = batch->stored.emplace(name, kind);
    if (!inserted.second)
        inserted.first->second = kSpelledAlike;
}

// What the listing of folder says of name, listing a few more items if it must;
// kListedUnknown when it cannot tell (yet): the first name asked for in a folder is never
// listed.
static ListedKind ListedKindOf(CanonicalBatch* batch, const char* folder, const char* name) {
    if (std::strcmp(batch->listed, folder) != 0) {
        CloseBatchListing(batch);
        batch->stored.clear();
        CopyWholePath(batch->listed, folder);
        batch->asked = 0;
    }
    const std::string key = name;
    int items = kItemsPerName;
    if (++batch->asked == 2) {
        batch->listing = OpenListing(folder);
        ++items; // the folder's first item comes with the opening
    }
    for (int i = 0; i < items && batch->listing != nullptr && batch->stored.count(key) == 0; ++i)
        ListNextItem(batch);
    auto found = batch->stored.find(key);
    if (found == batch->stored.end() || found->second == kSpelledAlike)
        return kListedUnknown;
    return static_cast<ListedKind>(found->second);
}

// Splits the path of an ordinary file into the folder to resolve and the file's name as the
// folder stores it (both PathBuffers); false when the path must be resolved whole. *file
// tells whether what the split learnt shows that the path names an existing file, no folder.
static bool SplitStoredName(CanonicalBatch* batch, const char* path, char* folder, char* name,
                            bool* file) {
    PathBuffer full;
    if (!FullPathOf(path, full))
        return false;
    CopyWholePath(folder, full);
    const char* typed = SplitFolderAndName(folder);
    // No folder, or a root ("/", a drive's "C:\"), which resolves differently on its own.
    if (typed == folder || FileNamePart(folder) == folder || *typed == '\0' ||
        std::strcmp(typed, ".") == 0 || std::strcmp(typed, "..") == 0)
        return false;
    // A name listed exactly as typed is that item; any other spelling (letter case, a short
    // name) is the system's to match.
    ListedKind kind = ListedKindOf(batch, folder, typed);
    if (kind == kListedUnknown)
        kind = AskStoredItem(full, name);
    else
        CopyWholePath(name, typed);
    // A folder, a link, anything but a file is resolved whole.
    if (kind != kListedFile && kind != kListedEmptyFile)
        return false;
    *file = kind == kListedFile;
    return true;
}

void EndCanonicalBatch(CanonicalBatch* batch) {
    CloseBatchListing(batch);
    batch->stored.clear();
}

bool GetStoredCanonicalPath(CanonicalBatch* batch, char* out, const char* path, bool* file) {
    PathBuffer folder, name;
    if (SplitStoredName(batch, path, folder, name, file) && JoinToFolder(batch, out, folder, name))
        return true;
    *file = false;
    out[0] = '\0';
    return false;
}

bool GetCanonicalPathInBatch(CanonicalBatch* batch, char* out, const char* path) {
    bool file;
    return GetStoredCanonicalPath(batch, out, path, &file) || GetCanonicalPath(out, path);
}
