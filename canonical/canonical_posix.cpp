#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "canonical/canonical.h"
#include "canonical/platform.h"
#include "text/path.h"

bool GetCanonicalPath(char* out, const char* path) {
    char resolved[PATH_MAX];
    bool ok = realpath(path, resolved) != nullptr && CopyWholePath(out, resolved);
    if (!ok)
        out[0] = '\0';
    return ok;
}

// A relative path is taken from the current folder. Nothing else is normalised: ".." after
// a link is not the folder before it.
bool FullPathOf(const char* path, char* full) {
    if (path[0] == '/')
        return CopyWholePath(full, path);
    char current[PATH_MAX];
    return getcwd(current, sizeof current) != nullptr && JoinFolderAndName(full, current, path);
}

// Once its folder is resolved, a name only needs to be no symbolic link, and is stored as
// typed. The folder's listing says so of many names in one system call, where asking costs
// one each.
ListedKind AskStoredItem(const char* path, char* name) {
    struct stat st;
    if (lstat(path, &st) != 0)
        return kListedUnknown;
    if (S_ISDIR(st.st_mode))
        return kListedFolder;
    if (!S_ISREG(st.st_mode))
        return kListedOther;
    CopyWholePath(name, FileNamePart(path));
    return kListedFile;
}

void* OpenListing(const char* folder) {
    return opendir(folder);
}

bool NextListedItem(void* listing, const char** name, ListedKind* kind) {
    const dirent* item = readdir(static_cast<DIR*>(listing));
    if (item == nullptr)
        return false;
    *name = item->d_name;
    *kind = item->d_type == DT_REG       ? kListedFile
            : item->d_type == DT_DIR     ? kListedFolder
            : item->d_type == DT_UNKNOWN ? kListedUnknown
                                         : kListedOther;
    return true;
}

void CloseListing(void* listing) {
    closedir(static_cast<DIR*>(listing));
}
