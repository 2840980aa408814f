// Canonical paths: the one spelling the list, the tool and the join compare names by.
#pragma once

#include <string>
#include <unordered_map>

#include "text/buffer.h"

// One spelling per existing file or folder: absolute, normalised, as the file system stores
// it. The PathBuffer out is always written; empty on failure. out may be path itself.
bool GetCanonicalPath(char* out, const char* path);

// Canonical paths for many names at once (a drop, a command line), quicker than resolving
// each path whole. Such names mostly come folder by folder: each folder is resolved once and
// a file's name is then taken as the folder stores it, which is what resolving the whole
// path gives. Anything out of the ordinary (a link, wildcards, an item in a root, a folder, a
// failure) is resolved whole.
struct CanonicalBatch {
    // The folder resolved last, and its canonical path.
    PathBuffer folder;
    PathBuffer canonical;
    bool resolved;
    // A folder that gives many names is listed instead of asking for each, a little more
    // with each name asked for: `stored` holds the names listed so far and their kinds.
    PathBuffer listed;
    int asked;
    void* listing; // the platform's open listing; null when none is open
    std::unordered_map<std::string, unsigned char> stored;
};

void BeginCanonicalBatch(CanonicalBatch* batch);
void EndCanonicalBatch(CanonicalBatch* batch);

// GetCanonicalPath of a file, by way of the batch's folder. The PathBuffer out is always
// written; empty on failure.
bool GetCanonicalPathInBatch(CanonicalBatch* batch, char* out, const char* path);
// The same without ever resolving a path whole: false (out empty) when path has to be. *file
// tells whether what the batch learnt on the way shows that path names an existing file (no
// folder); where it does not, that is the caller's to ask.
bool GetStoredCanonicalPath(CanonicalBatch* batch, char* out, const char* path, bool* file);
