#include "join/join.h"

#include "canonical/canonical.h"
#include "join/writers.h"
#include "text/path.h"

bool JoinFiles(const char* outputName, const FileList& list, JoinFormat format,
               JoinFailure* failure) {
    // An empty list leaves any existing output alone: nothing is created or truncated.
    if (list.count(list.owner) <= 0)
        return true;
    // A name cut to fit could be another file's, which would then be overwritten.
    PathBuffer outputPath;
    if (!CopyWholePath(outputPath, outputName)) {
        if (failure != nullptr) {
            failure->kind = kJoinNameTooLong;
            failure->error = 0;
            CopyBounded(failure->file, kPathBufferSize, outputName);
            failure->leftBehind[0] = '\0';
        }
        return false;
    }
    // An existing output is compared with the entries by its canonical spelling; a new one
    // is created as typed, relative to the current folder, and so is one that has no
    // canonical spelling (a device, a \\?\ name): its identity still tells it from the entries.
    PathBuffer canonical;
    if (FileExists(outputPath) && GetCanonicalPath(canonical, outputPath))
        CopyBounded(outputPath, kPathBufferSize, canonical);
    if (format == kJoinHtml)
        return WriteHtmlJoin(outputPath, list, failure);
    return WritePlainJoin(outputPath, list, failure);
}
