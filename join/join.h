// The join run: the listed files, in list order, into one output file, either back to back
// or as one Shift_JIS HTML page.
#pragma once

#include "text/buffer.h"

enum JoinFormat { kJoinPlainText, kJoinHtml };

// Why an entry is left out of the output (or, when unreadable, gets an empty table).
enum JoinSkip { kSkipMissing, kSkipIsOutput, kSkipUnreadable };

// The ordered list of files, read by index. The same run works over the program's list box
// and over a plain array of paths.
struct FileList {
    int (*count)(const void* owner);
    // Fills a PathBuffer with the entry's text; empty when it cannot be read whole.
    void (*entry)(const void* owner, int index, char* path);
    const void* owner;
    // Optional: hears of every entry the run skips, with a context of its own. The dialog has
    // none; the tool reports them.
    void (*skipped)(void* listener, int index, const char* path, JoinSkip why);
    void* listener;
};

// Runs the join on OK. An empty list succeeds without touching the output. On failure errno
// tells why the output could not be opened or written; an output name too long for a
// PathBuffer is refused (ENAMETOOLONG) before anything is opened.
bool JoinFiles(const char* outputName, const FileList& list, JoinFormat format);

// One spelling per existing file or folder: absolute, normalised, as the file system stores
// it. The PathBuffer out is always written; empty on failure. out may be path itself.
bool GetCanonicalPath(char* out, const char* path);
