#include "text/sjis.h"

#include <windows.h>

// The list box compares its strings so (in the user's locale, case ignored): two names that
// differ only in how a number is spelled keep the order they had before numbers counted.
// A comparison that fails (0) leaves the order to the bytes.
int CompareAsSystem(const char* a, const char* b) {
    int order = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a, -1, b, -1);
    return order == 0 ? 0 : order - CSTR_EQUAL;
}
