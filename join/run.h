// One run of a writer: its output, the buffer the output goes through, and what the run has
// done so far. The plain and the page writer share it.
#pragma once

#include "join/entry.h"
#include "join/join.h"
#include "join/output_buffer.h"
#include "join/output_file.h"

// A page reads each entry in chunks of this size and escapes each into the output buffer,
// which holds a chunk escaped at its widest with room to spare.
constexpr std::size_t kEscapeChunk = 64 * 1024;

struct RunState {
    OutputFile file;
    OutputBuffer out;
    unsigned char* chunk;   // a page's kEscapeChunk bytes of input; none for plain text
    unsigned char* escaped; // room for a page's chunk escaped at its widest
    int joined;             // entries copied whole; a run that joins none fails
    // The system's code of a failed read, and the entry it failed in.
    unsigned long readError;
    PathBuffer failedEntry;
};

// Opens the output and its buffer (for a page, written in the background, and its chunk);
// false, with *failure (when given) filled in, when that cannot be done.
bool BeginRun(RunState& run, const char* outputPath, bool page, JoinFailure* failure);
// Nothing has failed so far: the run goes on.
bool RunGoesOn(const RunState& run);
// After an entry's copy: it is closed, and either joined whole or the run's failure.
void EndEntryCopy(RunState& run, EntryFile& entry, const char* path);
// Closes the output: in the output's place when all went well and an entry at least was
// joined, else removed with all the run made. False, with *failure filled in, otherwise.
bool EndRun(RunState& run, JoinFailure* failure);

// Tells the list's listener (if any) of an entry the run leaves out, and why.
void ReportSkip(const FileList& list, int index, const char* path, JoinSkip why,
                unsigned long error);
