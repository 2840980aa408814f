#include "join/join.h"

#include <cerrno>

#include "join/writers.h"
#include "text/path.h"

bool JoinFiles(const char* outputName, const FileList& list, JoinFormat format) {
    // An empty list leaves any existing output alone: nothing is created or truncated.
    if (list.count(list.owner) <= 0)
        return true;
    // A name cut to fit could be another file's, which would then be overwritten.
    PathBuffer outputPath;
    if (!CopyWholePath(outputPath, outputName)) {
        errno = ENAMETOOLONG;
        return false;
    }
    // An existing output is compared with the entries by its canonical spelling; a new one
    // is created as typed, relative to the current folder.
    if (FileExists(outputPath))
        GetCanonicalPath(outputPath, outputPath);
    if (format == kJoinHtml)
        return WriteHtmlJoin(outputPath, list);
    return WritePlainJoin(outputPath, list);
}
