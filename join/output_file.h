// The output file of a run, one file per platform: where it is written (a new file beside an
// existing output, which takes its place once all is written, or the output itself), how it
// is written, put in place or removed, and how it is known among the entries.
#pragma once

#include <cstddef>
#include <cstdint>

#include "text/buffer.h"

struct OutputFile {
    const char* path;
    std::intptr_t handle; // the descriptor on POSIX, the HANDLE on Windows; -1 when closed
    // The new file beside an existing output that takes its place once all is written; empty
    // where the output is written in place (a device, a file with other names, a folder that
    // takes no new file). An output the run creates is written under its own name, so that an
    // entry naming it is known for the output, and removed when the run fails.
    PathBuffer temporary;
    bool created;
    // The identities (device and inode, volume and file index) of the file written and of the
    // output it replaces, which every entry is checked against whatever its name; a count of
    // 0, 1 or 2 of them is known.
    int identities;
    unsigned long long device[2], node[2];
};

// Opens the file to write: 0, or the system's code for why nothing was opened.
unsigned long OpenOutputFile(OutputFile& out, const char* path);
// Writes all of bytes: 0, or the system's code for why not. A write that takes less than it
// was given and says nothing is a full disk.
unsigned long WriteOutputFile(const OutputFile& out, const void* bytes, std::size_t size);
// Closes the file, then puts the new file in the output's place when `keep`, else removes what
// the run made, so that a failed run leaves nothing of its own. 0, or the system's code of the
// first failure; a new file that could not be removed is named in the PathBuffer leftBehind
// (empty otherwise).
unsigned long FinishOutputFile(OutputFile& out, bool keep, char* leftBehind);

// The platform's opening starts here: the output's name, and nothing known or made yet.
void StartOutputFile(OutputFile& out, const char* path);
// Whether the system's identity of a file is one of the output's.
bool IsOutputIdentity(const OutputFile& out, unsigned long long device, unsigned long long node);
// The name of a new file in the output's folder, made unique by `unique`, into the PathBuffer
// name; false when it does not fit.
bool TemporaryNameBeside(char* name, const char* output, unsigned long unique);
// The system's code for memory that could not be had.
unsigned long NoMemoryError();
