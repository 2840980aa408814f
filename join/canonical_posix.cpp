#include <climits>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

#include "join/join.h"
#include "join/output.h"

bool GetCanonicalPath(char* out, const char* path) {
    char resolved[PATH_MAX];
    bool ok = realpath(path, resolved) != nullptr &&
              std::strlen(resolved) < static_cast<std::size_t>(kPathBufferSize);
    if (ok)
        std::strcpy(out, resolved);
    else
        out[0] = '\0';
    return ok;
}

// Letter case is never folded here: on a case-sensitive file system a.txt and A.txt are two
// files. Another spelling of the output (a link, a bind mount) is caught by its identity.
bool IsOutputFile(const char* outputPath, const char* entry) {
    if (std::strcmp(outputPath, entry) == 0)
        return true;
    struct stat a, b;
    return stat(outputPath, &a) == 0 && stat(entry, &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}
