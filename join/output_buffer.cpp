#include "join/output_buffer.h"

#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <utility>

// The thread that writes a full block while the next one fills. One block is in its hands at
// most: a hand-off waits until the one before is written.
struct OutputWriter {
    std::mutex lock;
    std::condition_variable changed;
    const unsigned char* pending = nullptr; // the block to write; null while idle
    std::size_t size = 0;
    bool stop = false;
    unsigned long error = 0; // the system's code of its first failed write
    std::thread thread;
};

namespace {

void RunWriter(OutputWriter& w, const OutputFile& file) {
    std::unique_lock<std::mutex> hold(w.lock);
    for (;;) {
        w.changed.wait(hold, [&] { return w.pending != nullptr || w.stop; });
        if (w.pending == nullptr)
            return;
        const unsigned char* bytes = w.pending;
        std::size_t size = w.size;
        hold.unlock();
        unsigned long error = WriteOutputFile(file, bytes, size);
        hold.lock();
        w.error = error; // after a failure no block is handed on
        w.pending = nullptr;
        w.changed.notify_all();
    }
}

// Waits until the writer is idle, and takes over its failure, if any.
void WaitForWriter(OutputBuffer& out) {
    if (out.writer == nullptr)
        return;
    OutputWriter& w = *out.writer;
    std::unique_lock<std::mutex> hold(w.lock);
    w.changed.wait(hold, [&] { return w.pending == nullptr; });
    if (out.error == 0)
        out.error = w.error;
}

// Starts the writer; false, and the writing stays in this thread, where no thread can start.
bool StartWriter(OutputBuffer& out) {
    OutputWriter* w = new (std::nothrow) OutputWriter;
    if (w == nullptr)
        return false;
    try {
        w->thread = std::thread(RunWriter, std::ref(*w), std::cref(*out.file));
    } catch (const std::system_error&) {
        delete w;
        return false;
    }
    out.writer = w;
    return true;
}

void StopWriter(OutputBuffer& out) {
    if (out.writer == nullptr)
        return;
    WaitForWriter(out);
    {
        std::lock_guard<std::mutex> hold(out.writer->lock);
        out.writer->stop = true;
    }
    out.writer->changed.notify_all();
    out.writer->thread.join();
    delete out.writer;
    out.writer = nullptr;
}

// Writes the block, in the background where the buffer has a spare and `thenWait` is false:
// a page that fits one block never starts a thread.
bool EmptyBuffer(OutputBuffer& out, bool thenWait) {
    bool handOn = out.spare != nullptr && !thenWait && out.used != 0;
    if (handOn && out.writer == nullptr)
        handOn = StartWriter(out);
    WaitForWriter(out);
    if (out.used != 0 && out.error == 0) {
        if (handOn) {
            OutputWriter& w = *out.writer;
            {
                std::lock_guard<std::mutex> hold(w.lock);
                w.pending = out.block;
                w.size = out.used;
            }
            w.changed.notify_all();
            std::swap(out.block, out.spare);
        } else {
            out.error = WriteOutputFile(*out.file, out.block, out.used);
        }
    }
    out.used = 0;
    return out.error == 0;
}

} // namespace

unsigned long OpenOutputBuffer(OutputBuffer& out, const OutputFile& file, bool inBackground) {
    out.file = &file;
    out.used = 0;
    out.error = 0;
    out.writer = nullptr;
    std::size_t blocks = inBackground ? 2 : 1;
    out.memory = static_cast<unsigned char*>(std::malloc(blocks * kOutputBufferSize));
    out.block = out.memory;
    out.spare = inBackground && out.memory != nullptr ? out.memory + kOutputBufferSize : nullptr;
    if (out.memory == nullptr)
        out.error = NoMemoryError();
    return out.error;
}

unsigned char* ReserveOutput(OutputBuffer& out, std::size_t size, std::size_t* room) {
    if (kOutputBufferSize - out.used < size && !EmptyBuffer(out, false))
        return nullptr;
    if (out.error != 0)
        return nullptr;
    if (room != nullptr)
        *room = kOutputBufferSize - out.used;
    return out.block + out.used;
}

void CommitOutput(OutputBuffer& out, std::size_t size) {
    out.used += size;
}

void WriteBytes(OutputBuffer& out, const void* bytes, std::size_t size) {
    if (size >= kOutputBufferSize) {
        if (SettleOutput(out))
            out.error = WriteOutputFile(*out.file, bytes, size);
        return;
    }
    if (unsigned char* at = ReserveOutput(out, size)) {
        std::memcpy(at, bytes, size);
        CommitOutput(out, size);
    }
}

void WriteText(OutputBuffer& out, const char* text) {
    WriteBytes(out, text, std::strlen(text));
}

bool SettleOutput(OutputBuffer& out) {
    return EmptyBuffer(out, true);
}

unsigned long CloseOutputBuffer(OutputBuffer& out) {
    if (out.memory != nullptr)
        SettleOutput(out);
    StopWriter(out);
    std::free(out.memory);
    out.memory = out.block = out.spare = nullptr;
    return out.error;
}
