// Test support (Windows): a drop as the shell hands it over.
#pragma once

#include <string>
#include <vector>

#include <windows.h>
#include <shellapi.h>

// DROPFILES in global memory: the names, each ended by a NUL, then one more NUL; as ANSI
// text, or converted from the ANSI code page to UTF-16 when wide (as a desktop drop comes).
HDROP MakeDrop(const std::vector<std::string>& names, bool wide = false);
// A UTF-16 drop of names that need not have an ANSI spelling at all.
HDROP MakeDrop(const std::vector<std::wstring>& names);

// Leaves the drop on the clipboard as the shell's Copy of files does; the clipboard owns it
// from then on. The owner is a window, as a clipboard without one refuses data. False when the
// clipboard cannot be had.
bool PutDropOnClipboard(HWND owner, HDROP drop);
