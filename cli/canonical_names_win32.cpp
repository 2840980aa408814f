#include "cli/canonical_names.h"

#include "join/join.h"

void CanonicaliseNames(std::vector<std::string>& names) {
    for (std::string& name : names) {
        PathBuffer canonical;
        if (GetCanonicalPath(canonical, name.c_str()))
            name = canonical;
    }
}
