// Canonical paths for many names at once (a drop, a command line), quicker than resolving
// each path whole. Such names mostly come folder by folder: each folder is resolved once and
// a file's name is then taken as the folder stores it, which is what resolving the whole
// path gives. Anything out of the ordinary (a link, wildcards, a drive's root, a folder, a
// failure) is resolved whole.
#pragma once

#include "text/buffer.h"

// The folder resolved last, and its canonical path.
struct CanonicalBatch {
    PathBuffer folder;
    PathBuffer canonical;
    bool resolved;
};

void BeginCanonicalBatch(CanonicalBatch* batch);

// GetCanonicalPath of a file, by way of the batch's folder. The PathBuffer out is always
// written; empty on failure.
bool GetCanonicalPathInBatch(CanonicalBatch* batch, char* out, const char* path);
