// What the join asks of a Windows file through its handle, for the output and the entries
// alike.
#pragma once

#include <windows.h>

// A file is known by its volume and its index on it, whatever name reached it: a hard link,
// another drive letter for the same folder, a relative spelling of a file made after the
// names were compared.
bool IdentityOf(HANDLE file, unsigned long long* volume, unsigned long long* index);
