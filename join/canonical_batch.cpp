#include "join/canonical_batch.h"

#include <cstring>

#include "join/canonical_batch_platform.h"
#include "join/join.h"
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
        CopyBounded(batch->folder, kPathBufferSize, folder);
        batch->resolved = GetCanonicalPath(batch->canonical, folder);
    }
    std::size_t folderLength = std::strlen(batch->canonical);
    // A root ends with its separator already.
    std::size_t nameAt = folderLength;
    if (folderLength == 0 || batch->canonical[folderLength - 1] != kFolderSeparator)
        ++nameAt;
    if (!batch->resolved || nameAt + std::strlen(name) >= static_cast<std::size_t>(kPathBufferSize))
        return false;
    std::memcpy(out, batch->canonical, folderLength);
    out[folderLength] = kFolderSeparator;
    std::strcpy(out + nameAt, name);
    return true;
}

bool GetCanonicalPathInBatch(CanonicalBatch* batch, char* out, const char* path) {
    PathBuffer folder, name;
    if (SplitStoredName(batch, path, folder, name) && JoinToFolder(batch, out, folder, name))
        return true;
    return GetCanonicalPath(out, path);
}
