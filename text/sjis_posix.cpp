#include "text/sjis.h"

#include <cstring>

// No list and no wildcard sorts here (the shell expands), and there is no system comparison
// to follow: the bytes settle what natural order leaves open.
int CompareNames(const char* a, const char* b) {
    int order = CompareNatural(a, b);
    if (order == 0)
        order = std::strcmp(a, b);
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}
