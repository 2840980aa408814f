// The listed files a run reads: which of them the output takes (the written-entry rule), their
// opening and reading, and their copy inside the kernel where the system has one.
#pragma once

#include <cstddef>
#include <cstdint>

#include "join/join.h"
#include "join/output_file.h"

struct EntryFile {
    std::intptr_t handle; // the descriptor on POSIX, the HANDLE on Windows; -1 when not open
    // What is left to read where the opening told the size, -1 where not: the read that
    // brings its last byte is the last, none follows to find the end.
    long long left;
    // The system's code of a failed opening or read; 0 while all is well.
    unsigned long error;
};

// The written-entry rule, asked without opening the entry to read: it exists, is a file (no
// folder; on Windows no device, whose reading could wait for ever) and is not the output,
// whatever its name. False with why when it is left out.
bool IsWrittenEntry(const OutputFile& out, const char* path, JoinSkip* why);
// The rule and the opening in one, so that what is read is what was checked: false with why
// (kSkipUnreadable, and entry.error, where the opening failed).
bool OpenWrittenEntry(EntryFile& entry, const OutputFile& out, const char* path, JoinSkip* why);
// Opens an entry the rule has kept already; false with entry.error.
bool OpenEntry(EntryFile& entry, const char* path);
// Reads up to size bytes; ended says that the entry has given all it has: it reached the end,
// as many bytes as it had when opened, or a read error (entry.error).
std::size_t ReadEntry(EntryFile& entry, void* into, std::size_t size, bool* ended);
void CloseEntry(EntryFile& entry);
// Copies the rest of the entry to the output inside the kernel; false where that cannot be
// done, and the caller copies on through its buffer from where the entry stands.
bool CopyRestInKernel(EntryFile& entry, const OutputFile& out);

// The platform's read, one call of the system's: how many bytes came (0 at the end), or 0
// with *error set.
std::size_t ReadEntryOnce(std::intptr_t handle, void* into, std::size_t size, unsigned long* error);
