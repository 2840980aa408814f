// The output file of a run, written in large blocks through a buffer of its own, and the copy
// of an entry's bytes into it.
#pragma once

#include <cstddef>
#include <cstdio>

#include "join/join.h"

struct OutputWriter;

struct OutputStream {
    std::FILE* file;
    const char* path;
    unsigned char* buffer;  // kOutputBufferSize bytes, filled while `spare` is being written
    unsigned char* spare;   // kOutputBufferSize bytes, or none: all is written in this thread
    unsigned char* scratch; // kEscapeChunk bytes of input
    std::size_t used;
    int error; // errno of the first failure; 0 while all is well
    // The output file's identity (device and inode, volume and file index), which every
    // entry is checked against whatever its name; identified is false when it is unknown.
    bool identified;
    unsigned long long device, node;
    // What is left to read of the entry being copied, where opening it told its size (-1
    // where not): the read that brings its last byte is the last, none follows to find the
    // end. Set by each opening, which the written-entry rule does on a const stream.
    mutable long long entryLeft;
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
// Flushes, closes and frees; false when any write or the close failed (errno set).
bool CloseOutput(OutputStream& out);

// Copies the rest of source to the output; a read error ends it like the end of the file.
void CopyStreamBytes(OutputStream& destination, std::FILE* source);
// Reads up to room bytes of the entry being copied; ended says that it has given all it has:
// it reached the end of the file, a read error, or as many bytes as the file had when opened.
std::size_t ReadEntry(OutputStream& out, std::FILE* entry, unsigned char* into, std::size_t room,
                      bool* ended);

// Platform rules, one file per platform:
// Notes the output's identity, right after it was opened.
void NoteOutputIdentity(OutputStream& out);
// Copies the rest of source to the output inside the kernel; false when that cannot start
// here, and the caller copies through the buffer instead.
bool CopyRestInKernel(OutputStream& out, std::FILE* source);
