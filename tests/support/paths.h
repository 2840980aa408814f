// Test support: the spellings of paths that tests compare with.
#pragma once

#include <string>

#include "canonical/canonical.h"

// The canonical spelling of an existing path, as the list holds it; empty when it has none.
inline std::string Canonical(const std::string& path) {
    PathBuffer out;
    GetCanonicalPath(out, path.c_str());
    return out;
}

#ifdef _WIN32
// ANSI text (the code page's, Shift_JIS here) in UTF-16, as the shell and the wide calls have
// names.
std::wstring Wide(const std::string& ansi);

// A Linux path of the build as a program under Wine reaches it: through drive Z:.
inline std::string WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}
#endif
