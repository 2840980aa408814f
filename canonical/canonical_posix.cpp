#include <climits>
#include <cstdlib>

#include "canonical/canonical.h"

bool GetCanonicalPath(char* out, const char* path) {
    char resolved[PATH_MAX];
    bool ok = realpath(path, resolved) != nullptr && CopyWholePath(out, resolved);
    if (!ok)
        out[0] = '\0';
    return ok;
}
