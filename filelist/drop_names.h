// Canonical paths for the names of one drop, quicker than one shell parse per name.
#pragma once

#include "text/buffer.h"

// The folder last resolved during a drop, and its canonical path.
struct FolderMemo {
    PathBuffer folder;
    PathBuffer canonical;
    bool resolved;
};

void ForgetFolder(FolderMemo* memo);

// GetCanonicalPath for a file of a drop. The output is always written; empty on failure.
bool CanonicalPathInDrop(FolderMemo* memo, char* out, const char* path);
