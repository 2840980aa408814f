// The join run: the listed files, in list order, into one output file, either back to back
// or as one Shift_JIS HTML page.
#pragma once

#include "text/buffer.h"

enum JoinFormat { kJoinPlainText, kJoinHtml };

// Why an entry is left out of the output (or, when unreadable, gets an empty table). A folder
// is not a file, nor is a device on Windows (a serial port, the console): reading it could
// wait for ever.
enum JoinSkip { kSkipMissing, kSkipIsOutput, kSkipUnreadable, kSkipNotAFile };

// The ordered list of files, read by index. The same run works over the program's list box
// and over a plain array of paths.
struct FileList {
    int (*count)(const void* owner);
    // Fills a PathBuffer with the entry's text; empty when it cannot be read whole.
    void (*entry)(const void* owner, int index, char* path);
    const void* owner;
    // Optional: hears of every entry the run skips, with a context of its own, and for an
    // unreadable one the system's code for why it could not be opened (0 otherwise). The
    // dialog and the tool both name them to the user.
    void (*skipped)(void* listener, int index, const char* path, JoinSkip why, unsigned long error);
    void* listener;
};

// Why a run failed. error is the system's own code (errno on POSIX, GetLastError on Windows).
enum JoinFailureKind { kJoinNameTooLong, kJoinOutputFailed, kJoinEntryFailed, kJoinNothingJoined };
struct JoinFailure {
    JoinFailureKind kind;
    unsigned long error;
    PathBuffer file; // the output, or the entry whose reading failed
    // The run's new file beside the output when it could not be removed (another program
    // holds it): the user has to know it is there. Empty as a rule.
    PathBuffer leftBehind;
};

// Runs the join on OK. An empty list succeeds without touching the output. An existing
// output is compared with the entries by its canonical spelling; one that has none (a device
// such as NUL, a \\?\ name, /dev/stdout) is written by the name given, and still known among
// the entries by its identity. The output is written beside its place and put there only when
// all of it is written, so that a failed run leaves a previous output as it was. An output
// name too long for a PathBuffer is refused before anything is opened, an entry whose reading
// fails part-way fails the run, and so does a run that joins no entry at all (each one
// missing, skipped or unreadable): a typo in every name must not empty last week's output. On
// failure, *failure (when given) tells what failed and why.
bool JoinFiles(const char* outputName, const FileList& list, JoinFormat format,
               JoinFailure* failure = nullptr);
