// The output file of a run, written in large blocks through a buffer of its own, and the copy
// of an entry's bytes into it.
#pragma once

#include <cstddef>
#include <cstdio>

#include "join/join.h"

struct OutputStream {
    std::FILE* file;
    const char* path;
    unsigned char* buffer; // kOutputBufferSize bytes, then kEscapeChunk bytes of input scratch
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
};

// Big blocks make the copy as fast as the system allows (bench/join-vs-cat measured them);
// the output buffer holds a whole escaped chunk with room to spare, so that a chunk rarely
// forces a write of a mostly empty buffer.
constexpr std::size_t kOutputBufferSize = 1024 * 1024;
constexpr std::size_t kEscapeChunk = 64 * 1024;

bool OpenOutput(OutputStream& out, const char* path);
void WriteBytes(OutputStream& out, const void* bytes, std::size_t size);
void WriteText(OutputStream& out, const char* text);
bool FlushOutput(OutputStream& out);
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
