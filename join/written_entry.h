// Which entries go into the output (the written-entry rule), and the opening and closing of
// the ones it takes.
#pragma once

#include <cstdio>

#include "join/join.h"
#include "join/output.h"

// Opens an entry for reading in binary mode, unbuffered: all reads are large blocks.
std::FILE* OpenEntry(const char* path);
// Gives an opened stream the same unbuffered reading.
std::FILE* ReadUnbuffered(std::FILE* entry);

// Closes an entry after its copy; a read error that cut the copy short fails the run, and
// the output names the entry.
void CloseEntry(OutputStream& out, const char* path, const EntryFile& entry);

// Fetches entry index into path and applies the written-entry rule: it exists and it is not
// the output file.
bool FetchWrittenEntry(const FileList& list, int index, const OutputStream& out, char* path);
// The same, and opens the entry for reading. No file when it is skipped or cannot be opened;
// why then says which, and the list's listener has heard of it.
EntryFile OpenListedEntry(const FileList& list, int index, const OutputStream& out, char* path,
                          JoinSkip* why);
void ReportSkip(const FileList& list, int index, const char* path, JoinSkip why,
                unsigned long error);

// Platform rules, one file per platform:
// Whether the system's identity of a file is one of the output's.
bool IsOutputIdentity(const OutputStream& out, unsigned long long device, unsigned long long node);
// The entry exists, is a file and is not the output file; else why it is skipped. Both platforms
// compare the files themselves; Windows first compares the canonical names, case folded, as well.
bool IsWrittenEntry(const OutputStream& out, const char* entry, JoinSkip* why);
// IsWrittenEntry and OpenEntry in one; no file, and the reason, when it is not opened
// (kSkipUnreadable when the entry is written but cannot be opened).
EntryFile OpenWrittenEntry(const OutputStream& out, const char* entry, JoinSkip* why);
