#include <dirent.h>
#include <sys/stat.h>

#include <cstring>

#include "canonical/canonical.h"
#include "canonical/platform.h"
#include "text/buffer.h"
#include "text/path.h"

// Once its folder is resolved, a name only needs to be no symbolic link: its folder's listing
// says so of many names in one system call, where asking costs one each.

bool ListNextItem(CanonicalBatch* batch) {
    DIR* listing = static_cast<DIR*>(batch->listing);
    const dirent* item = readdir(listing);
    if (item == nullptr) {
        CloseListing(batch);
        return false;
    }
    ListedKind kind = item->d_type == DT_REG       ? kListedFile
                      : item->d_type == DT_DIR     ? kListedFolder
                      : item->d_type == DT_UNKNOWN ? kListedUnknown
                                                   : kListedOther;
    // What the file system does not tell in its listing is asked for name by name.
    if (kind != kListedUnknown)
        NoteListedItem(batch, item->d_name, kind);
    return true;
}

bool OpenListing(CanonicalBatch* batch, const char* folder) {
    batch->listing = opendir(folder);
    return batch->listing != nullptr && ListNextItem(batch);
}

void CloseListing(CanonicalBatch* batch) {
    if (batch->listing != nullptr)
        closedir(static_cast<DIR*>(batch->listing));
    batch->listing = nullptr;
}

bool SplitStoredName(CanonicalBatch* batch, const char* path, char* folder, char* name,
                     bool* file) {
    const char* leaf = FileNamePart(path);
    if (*leaf == '\0' || std::strcmp(leaf, ".") == 0 || std::strcmp(leaf, "..") == 0 ||
        !CopyWholePath(folder, path))
        return false;
    if (leaf == path)
        std::strcpy(folder, ".");
    else
        folder[leaf - path] = '\0'; // the folder keeps its separator: "/" stays the root
    ListedKind kind = ListedKindOf(batch, folder, leaf);
    bool regular = kind == kListedFile;
    if (kind == kListedUnknown) {
        struct stat st;
        if (lstat(path, &st) != 0)
            return false;
        kind = S_ISLNK(st.st_mode) ? kListedOther : kListedFile;
        regular = S_ISREG(st.st_mode);
    }
    // A link, or anything the listing calls neither file nor folder, is resolved whole.
    if (kind == kListedOther)
        return false;
    *file = regular;
    std::strcpy(name, leaf);
    return true;
}
