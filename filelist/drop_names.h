// The names of a dropped file set, read straight from the drop's memory.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "text/buffer.h"

// The names of a drop, read in one pass. DragQueryFile finds name i by walking from the first
// name, so reading a drop of n names through it costs n * n / 2 steps: seconds for 10,000.
struct DropNames {
    HDROP drop;
    const BYTE* at;
    const BYTE* end;
    bool wide;
};

// False when the drop's memory cannot be read.
bool OpenDropNames(HDROP drop, DropNames* names);
// The next name, in the ANSI code page as DragQueryFileA gives it; false after the last.
// *fits is false for a name too long for a PathBuffer (name is then empty).
bool NextDropName(DropNames* names, char* name, bool* fits);
void CloseDropNames(DropNames* names);
