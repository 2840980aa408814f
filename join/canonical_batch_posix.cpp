#include <sys/stat.h>

#include <cstring>

#include "join/canonical_batch.h"
#include "join/canonical_batch_platform.h"
#include "text/buffer.h"

// Only the name itself needs to be no symbolic link once its folder is resolved; that is a
// quarter of the system calls of resolving a path four folders deep whole.
bool SplitStoredName(CanonicalBatch*, const char* path, char* folder, char* name) {
    const char* slash = std::strrchr(path, '/');
    const char* leaf = slash != nullptr ? slash + 1 : path;
    struct stat st;
    if (*leaf == '\0' || std::strcmp(leaf, ".") == 0 || std::strcmp(leaf, "..") == 0 ||
        std::strlen(path) >= static_cast<std::size_t>(kPathBufferSize) || lstat(path, &st) != 0 ||
        S_ISLNK(st.st_mode))
        return false;
    if (slash == nullptr) {
        std::strcpy(folder, ".");
    } else {
        std::size_t length = static_cast<std::size_t>(slash - path) + 1;
        std::memcpy(folder, path, length);
        folder[length] = '\0';
    }
    std::strcpy(name, leaf);
    return true;
}

// A file's name and kind cost one lstat here: nothing is listed.
void EndCanonicalBatch(CanonicalBatch*) {}
