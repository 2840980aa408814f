// Test support (Windows): a drop as the shell hands it over.
#pragma once

#include <string>
#include <vector>

#include <windows.h>
#include <shellapi.h>

// DROPFILES in global memory: the names, each ended by a NUL, then one more NUL; as ANSI
// text, or converted from the ANSI code page to UTF-16 when wide (as a desktop drop comes).
HDROP MakeDrop(const std::vector<std::string>& names, bool wide = false);
