#include "text/sjis.h"

#include <windows.h>

#include <cstring>

// The list box compares its strings so (in the user's locale, case ignored): two names that
// differ only in how a number is spelled keep the order they had before numbers counted.
int CompareNames(const char* a, const char* b) {
    int order = CompareNatural(a, b);
    if (order != 0)
        return order;
    switch (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a, -1, b, -1)) {
    case CSTR_LESS_THAN:
        return -1;
    case CSTR_GREATER_THAN:
        return 1;
    default:
        order = std::strcmp(a, b);
        return order < 0 ? -1 : order > 0 ? 1 : 0;
    }
}
