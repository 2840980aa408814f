#include "join/output.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

bool OpenOutput(OutputStream& out, const char* path) {
    out = OutputStream{nullptr, path, nullptr, 0, 0, false, 0, 0, -1};
    out.buffer = static_cast<unsigned char*>(std::malloc(kOutputBufferSize + kEscapeChunk));
    if (out.buffer == nullptr) {
        out.error = ENOMEM;
        return false;
    }
    out.file = std::fopen(path, "wb");
    if (out.file == nullptr) {
        out.error = errno != 0 ? errno : EIO;
        std::free(out.buffer);
        out.buffer = nullptr;
        return false;
    }
    // The stream's own buffer would only add a copy: every write below is a whole block.
    std::setvbuf(out.file, nullptr, _IONBF, 0);
    NoteOutputIdentity(out);
    return true;
}

bool FlushOutput(OutputStream& out) {
    if (out.used != 0 && out.error == 0) {
        errno = 0;
        if (std::fwrite(out.buffer, 1, out.used, out.file) != out.used)
            out.error = errno != 0 ? errno : EIO;
    }
    out.used = 0;
    return out.error == 0;
}

void WriteBytes(OutputStream& out, const void* bytes, std::size_t size) {
    if (kOutputBufferSize - out.used < size && !FlushOutput(out))
        return;
    if (size >= kOutputBufferSize) {
        errno = 0;
        if (std::fwrite(bytes, 1, size, out.file) != size)
            out.error = errno != 0 ? errno : EIO;
        return;
    }
    std::memcpy(out.buffer + out.used, bytes, size);
    out.used += size;
}

void WriteText(OutputStream& out, const char* text) {
    WriteBytes(out, text, std::strlen(text));
}

bool CloseOutput(OutputStream& out) {
    FlushOutput(out);
    errno = 0;
    if (std::fclose(out.file) != 0 && out.error == 0)
        out.error = errno != 0 ? errno : EIO;
    std::free(out.buffer);
    out.file = nullptr;
    out.buffer = nullptr;
    errno = out.error;
    return out.error == 0;
}

std::size_t ReadEntry(OutputStream& out, std::FILE* entry, unsigned char* into, std::size_t room,
                      bool* ended) {
    std::size_t want = room;
    if (out.entryLeft >= 0 && static_cast<unsigned long long>(out.entryLeft) < room)
        want = static_cast<std::size_t>(out.entryLeft);
    std::size_t n = std::fread(into, 1, want, entry);
    if (out.entryLeft >= 0)
        out.entryLeft -= static_cast<long long>(n);
    *ended = n < want || out.entryLeft == 0; // a short read: the end, or a read error
    return n;
}

void CopyStreamBytes(OutputStream& destination, std::FILE* source) {
    // Read straight into the free part of the output buffer: small files gather into large
    // writes, and no byte is copied twice. What overflows the buffer the kernel copies on
    // where it can, which spares user space every byte of a large file; a rest that fits the
    // emptied buffer is one read, cheaper than starting a copy in the kernel.
    bool kernelTried = false;
    while (destination.error == 0) {
        if (destination.used == kOutputBufferSize) {
            if (!FlushOutput(destination))
                return;
            bool large = destination.entryLeft < 0 ||
                         static_cast<unsigned long long>(destination.entryLeft) > kOutputBufferSize;
            if (!kernelTried && large && CopyRestInKernel(destination, source))
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
