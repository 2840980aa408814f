#include "join/output.h"

#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <utility>

#include "text/path.h"

// The thread that writes a full buffer while the next one fills. One buffer is in its hands
// at most: a hand-off waits until the one before is written.
struct OutputWriter {
    std::mutex lock;
    std::condition_variable changed;
    const unsigned char* pending = nullptr; // the buffer to write; null while idle
    std::size_t size = 0;
    bool stop = false;
    unsigned long error = 0; // the system's code of its first failed write
    std::thread thread;
};

namespace {

void RunWriter(OutputWriter& w, std::FILE* file) {
    std::unique_lock<std::mutex> hold(w.lock);
    for (;;) {
        w.changed.wait(hold, [&] { return w.pending != nullptr || w.stop; });
        if (w.pending == nullptr)
            return;
        const unsigned char* bytes = w.pending;
        std::size_t size = w.size;
        hold.unlock();
        unsigned long error = g_joinFileCalls.write(file, bytes, size);
        hold.lock();
        w.error = error; // after a failure no buffer is handed on
        w.pending = nullptr;
        w.changed.notify_all();
    }
}

// Waits until the writer is idle, and takes over its failure, if any.
void WaitForWriter(OutputStream& out) {
    if (out.writer == nullptr)
        return;
    OutputWriter& w = *out.writer;
    std::unique_lock<std::mutex> hold(w.lock);
    w.changed.wait(hold, [&] { return w.pending == nullptr; });
    if (out.error == 0)
        out.error = w.error;
}

// Starts the writer; false, and the writing stays in this thread, where no thread can start.
bool StartWriter(OutputStream& out) {
    OutputWriter* w = new (std::nothrow) OutputWriter;
    if (w == nullptr)
        return false;
    try {
        w->thread = std::thread(RunWriter, std::ref(*w), out.file);
    } catch (const std::system_error&) {
        delete w;
        return false;
    }
    out.writer = w;
    return true;
}

void StopWriter(OutputStream& out) {
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

} // namespace

JoinFileCalls g_joinFileCalls = {WriteOutputFile, ReadEntryFile};

bool TemporaryNameBeside(char* name, const char* output, unsigned long unique) {
    PathBuffer folder;
    if (!CopyWholePath(folder, output))
        return false;
    // A name without a folder is in the current one, and so is the new file.
    bool inFolder = SplitFolderAndName(folder) != folder;
    char leaf[32];
    PrintBounded(leaf, sizeof leaf, ".vellumor-%08lx.tmp", unique);
    return inFolder ? JoinFolderAndName(name, folder, leaf) : CopyWholePath(name, leaf);
}

bool OpenOutput(OutputStream& out, const char* path, bool inBackground) {
    out.file = nullptr;
    out.path = path;
    out.temporary[0] = '\0';
    out.created = false;
    out.used = 0;
    out.error = 0;
    out.readFailed = false;
    out.joined = 0;
    out.abandoned = false;
    out.failedEntry[0] = '\0';
    out.leftBehind[0] = '\0';
    out.identities = 0;
    out.writer = nullptr;
    std::size_t buffers = inBackground ? 2 : 1;
    unsigned char* memory =
        static_cast<unsigned char*>(std::malloc(buffers * kOutputBufferSize + kEscapeChunk));
    out.buffer = memory;
    out.scratch = memory + kOutputBufferSize;
    out.spare = inBackground ? out.scratch + kEscapeChunk : nullptr;
    if (memory == nullptr) {
        out.error = NoMemoryError();
        return false;
    }
    if (!OpenOutputFile(out)) {
        std::free(memory);
        out.buffer = out.spare = out.scratch = nullptr;
        return false;
    }
    // The stream's own buffer would only add a copy: every write below is a whole block.
    std::setvbuf(out.file, nullptr, _IONBF, 0);
    return true;
}

namespace {

// Writes the buffer, in the background where the stream has a spare and `thenWait` is false:
// a page that fits one buffer never starts a thread.
bool EmptyBuffer(OutputStream& out, bool thenWait) {
    bool handOn = out.spare != nullptr && !thenWait && out.used != 0;
    if (handOn && out.writer == nullptr)
        handOn = StartWriter(out);
    WaitForWriter(out);
    if (out.used != 0 && out.error == 0) {
        if (handOn) {
            OutputWriter& w = *out.writer;
            {
                std::lock_guard<std::mutex> hold(w.lock);
                w.pending = out.buffer;
                w.size = out.used;
            }
            w.changed.notify_all();
            std::swap(out.buffer, out.spare);
        } else {
            out.error = g_joinFileCalls.write(out.file, out.buffer, out.used);
        }
    }
    out.used = 0;
    return out.error == 0;
}

} // namespace

bool FlushOutput(OutputStream& out) {
    return EmptyBuffer(out, false);
}

bool SettleOutput(OutputStream& out) {
    return EmptyBuffer(out, true);
}

void WriteBytes(OutputStream& out, const void* bytes, std::size_t size) {
    if (kOutputBufferSize - out.used < size && !FlushOutput(out))
        return;
    if (size >= kOutputBufferSize) {
        if (SettleOutput(out))
            out.error = g_joinFileCalls.write(out.file, bytes, size);
        return;
    }
    std::memcpy(out.buffer + out.used, bytes, size);
    out.used += size;
}

void WriteText(OutputStream& out, const char* text) {
    WriteBytes(out, text, std::strlen(text));
}

bool CloseOutput(OutputStream& out) {
    SettleOutput(out);
    StopWriter(out);
    out.abandoned = out.joined == 0;
    unsigned long closing = CloseOutputFile(out.file);
    if (out.error == 0)
        out.error = closing;
    // The new file takes the output's place only when all of it is written, and an entry at
    // least was joined where one is needed.
    if (out.temporary[0] != '\0' && out.error == 0 && !out.abandoned)
        out.error = ReplaceOutputFile(out);
    if ((out.error != 0 || out.abandoned) && !RemoveWhatWasCreated(out) && out.temporary[0] != '\0')
        CopyBounded(out.leftBehind, kPathBufferSize, out.temporary);
    std::free(out.scratch - kOutputBufferSize); // the start of the one allocation
    out.file = nullptr;
    out.buffer = out.spare = out.scratch = nullptr;
    return out.error == 0 && !out.abandoned;
}

bool TellFailure(const OutputStream& out, JoinFailure* failure) {
    if (failure != nullptr) {
        bool reading = out.failedEntry[0] != '\0';
        failure->kind = reading ? kJoinEntryFailed : kJoinOutputFailed;
        if (out.error == 0 && out.abandoned)
            failure->kind = kJoinNothingJoined;
        failure->error = out.error;
        CopyBounded(failure->file, kPathBufferSize, reading ? out.failedEntry : out.path);
        CopyBounded(failure->leftBehind, kPathBufferSize, out.leftBehind);
    }
    return false;
}

std::size_t ReadEntry(OutputStream& out, EntryFile& entry, unsigned char* into, std::size_t room,
                      bool* ended) {
    std::size_t want = room;
    if (entry.left >= 0 && static_cast<unsigned long long>(entry.left) < room)
        want = static_cast<std::size_t>(entry.left);
    unsigned long error = 0;
    std::size_t n = g_joinFileCalls.read(entry.file, into, want, &error);
    if (entry.left >= 0)
        entry.left -= static_cast<long long>(n);
    *ended = n < want || entry.left == 0 || error != 0; // the end, or a read error
    if (error != 0 && out.error == 0) {
        out.error = error;
        out.readFailed = true;
    }
    return n;
}

void CopyStreamBytes(OutputStream& destination, EntryFile& source) {
    // Read straight into the free part of the output buffer: small files gather into large
    // writes, and no byte is copied twice. What overflows the buffer the kernel copies on
    // where it can, which spares user space every byte of a large file; a rest that fits the
    // emptied buffer is one read, cheaper than starting a copy in the kernel.
    bool kernelTried = false;
    while (destination.error == 0) {
        if (destination.used == kOutputBufferSize) {
            if (!SettleOutput(destination))
                return;
            bool large =
                source.left < 0 || static_cast<unsigned long long>(source.left) > kOutputBufferSize;
            if (!kernelTried && large && CopyRestInKernel(destination, source.file))
                return;
            kernelTried = true;
        }
        bool ended;
        destination.used += ReadEntry(destination, source, destination.buffer + destination.used,
                                      kOutputBufferSize - destination.used, &ended);
        if (ended)
            return;
    }
}
