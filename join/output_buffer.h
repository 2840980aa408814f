// The output's buffer: what the writers produce gathers here and goes to the output file in
// large blocks. With a spare block, a full block is written by a thread of its own while the
// next one fills, so that a page's escaping and the system's writing overlap.
#pragma once

#include <cstddef>

#include "join/output_file.h"

// Big blocks make the copy as fast as the system allows (bench/join-vs-cat measured them).
constexpr std::size_t kOutputBufferSize = 1024 * 1024;

struct OutputWriter;

struct OutputBuffer {
    const OutputFile* file;
    unsigned char* memory; // the one allocation that holds both blocks
    unsigned char* block;  // kOutputBufferSize bytes, filled while `spare` is being written
    unsigned char* spare;  // kOutputBufferSize bytes, or none: all is written in this thread
    std::size_t used;
    unsigned long error; // the system's code of the first failed write; 0 while all is well
    OutputWriter* writer;
};

// Sets the buffer up for file, with a spare block for writing in the background where asked:
// 0, or the system's code for memory that could not be had.
unsigned long OpenOutputBuffer(OutputBuffer& out, const OutputFile& file, bool inBackground);
// Room for at least `size` bytes (at most kOutputBufferSize) at the buffer's end, the buffer
// handed on first where it has less; *room (when given) tells how much there is in all. Null
// after any failure so far.
unsigned char* ReserveOutput(OutputBuffer& out, std::size_t size, std::size_t* room = nullptr);
// The first `size` bytes of the room reserved now hold output.
void CommitOutput(OutputBuffer& out, std::size_t size);
void WriteBytes(OutputBuffer& out, const void* bytes, std::size_t size);
void WriteText(OutputBuffer& out, const char* text);
// Writes what the buffer holds and waits until all is written, as anything that writes to the
// file itself must; false after any failure so far.
bool SettleOutput(OutputBuffer& out);
// Settles, stops the writer and frees the blocks; gives out.error.
unsigned long CloseOutputBuffer(OutputBuffer& out);
