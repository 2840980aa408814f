// The output file of a run, written in large blocks through a buffer of its own, and the copy
// of an entry's bytes into it.
#pragma once

#include <cstddef>
#include <cstdio>

#include "join/join.h"

struct OutputWriter;

// An entry opened for its copy, and what is left to read of it where the opening told its
// size (-1 where not): the read that brings its last byte is the last, none follows to find
// the end. A null file is an entry that was not opened; error is then the system's code for
// why, where its opening failed (0 where a rule left it out).
struct EntryFile {
    std::FILE* file;
    long long left;
    unsigned long error;
};

struct OutputStream {
    std::FILE* file;
    const char* path;
    // The new file beside an existing output that takes its place once all is written; empty
    // where the output is written in place (a device, a file with other names, a folder that
    // takes no new file). An output the run creates is written under its own name, so that
    // an entry naming it is known for the output, and removed when the run fails.
    PathBuffer temporary;
    bool created;
    unsigned char* buffer;  // kOutputBufferSize bytes, filled while `spare` is being written
    unsigned char* spare;   // kOutputBufferSize bytes, or none: all is written in this thread
    unsigned char* scratch; // kEscapeChunk bytes of input
    std::size_t used;
    // The system's code of the first failure (0 while all is well), and the entry whose
    // reading failed (empty when it was the output).
    unsigned long error;
    bool readFailed;
    PathBuffer failedEntry;
    // How many entries were copied whole; a run that needs one and has none is abandoned.
    int joined;
    bool abandoned;
    // The new file, when a failed run could not remove it.
    PathBuffer leftBehind;
    // The identities (device and inode, volume and file index) of the file written and of
    // the output it replaces, which every entry is checked against whatever its name; a
    // count of 0, 1 or 2 of them is known.
    int identities;
    unsigned long long device[2], node[2];
    // With a spare buffer, a full buffer is written by a thread of its own, started with the
    // first, while the next one fills: a page's escaping and the system's writing overlap.
    OutputWriter* writer;
};

// Big blocks make the copy as fast as the system allows (bench/join-vs-cat measured them);
// the output buffer holds a whole escaped chunk with room to spare, so that a chunk rarely
// forces a write of a mostly empty buffer.
constexpr std::size_t kOutputBufferSize = 1024 * 1024;
constexpr std::size_t kEscapeChunk = 64 * 1024;

bool OpenOutput(OutputStream& out, const char* path, bool inBackground = false);
void WriteBytes(OutputStream& out, const void* bytes, std::size_t size);
void WriteText(OutputStream& out, const char* text);
// Hands the buffer on to be written and gives it back empty; false after any failure so far.
bool FlushOutput(OutputStream& out);
// Flushes and waits until all is written, as anything that writes to the file itself must.
bool SettleOutput(OutputStream& out);
// Flushes, closes and frees; puts the new file in the output's place when all went well, and
// removes it when not. False when anything failed (out.error tells why), and when no entry
// was joined: such a run is abandoned the same way.
bool CloseOutput(OutputStream& out);

// The calls that write the output and read the entries. Tests put failing ones in their place
// to see that a failure anywhere fails the run and leaves the previous output alone.
struct JoinFileCalls {
    // Writes all of bytes; 0, or the system's code for why not.
    unsigned long (*write)(std::FILE* file, const void* bytes, std::size_t size);
    // Reads up to size bytes; fewer at the end of the file, or with *error set on a failure.
    std::size_t (*read)(std::FILE* entry, void* into, std::size_t size, unsigned long* error);
};
extern JoinFileCalls g_joinFileCalls;

// What failed, from a stream whose opening or closing failed, into *failure (when given);
// gives false.
bool TellFailure(const OutputStream& out, JoinFailure* failure);

// Copies the rest of source to the output; a read error is the run's failure, noted in
// out.error for CloseEntry to name the entry.
void CopyStreamBytes(OutputStream& destination, EntryFile& source);
// Reads up to room bytes of the entry being copied; ended says that it has given all it has:
// it reached the end of the file, a read error, or as many bytes as the file had when opened.
std::size_t ReadEntry(OutputStream& out, EntryFile& entry, unsigned char* into, std::size_t room,
                      bool* ended);

// The name of a new file in the output's folder, made unique by `unique`, into the PathBuffer
// name; false when it does not fit.
bool TemporaryNameBeside(char* name, const char* output, unsigned long unique);

// The platform's half, one file per platform:
// Opens the file to write: a new one beside an existing output where it can take its place,
// else the output itself. Notes the identities. False with out.error when nothing was opened.
bool OpenOutputFile(OutputStream& out);
// Writes all of bytes; 0, or the system's code for why not.
unsigned long WriteOutputFile(std::FILE* file, const void* bytes, std::size_t size);
// Closes the file: 0, or the system's code for why that failed.
unsigned long CloseOutputFile(std::FILE* file);
// Puts the new file (out.temporary) in the output's place: 0, or the system's code.
unsigned long ReplaceOutputFile(const OutputStream& out);
// A failed run leaves no file of its own behind: removes the new file, or the output the run
// created. False when it could not be removed.
bool RemoveWhatWasCreated(const OutputStream& out);
// The system's code for memory that could not be had.
unsigned long NoMemoryError();
// Reads up to size bytes of an entry, as JoinFileCalls::read.
std::size_t ReadEntryFile(std::FILE* entry, void* into, std::size_t size, unsigned long* error);
// Copies the rest of source to the output inside the kernel; false when that cannot start
// here, and the caller copies through the buffer instead.
bool CopyRestInKernel(OutputStream& out, std::FILE* source);
