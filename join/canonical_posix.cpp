#include <climits>
#include <cstdlib>
#include <cstring>

#include "join/join.h"

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
