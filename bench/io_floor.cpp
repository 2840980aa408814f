// The page's I/O floor: what writing a page costs with no escaping at all. Reads every input
// once, in the page's 64 KiB chunks, into the page's 1 MiB buffers, and writes exactly as many
// bytes as the page (each chunk stands for its share of the page's size), a second thread
// writing one buffer while the next fills, as the page does. What the page takes beyond this
// is the cost of its own work.
//
// Usage: bench_io_floor OUTPUT PAGE_BYTES FILE...
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

namespace {

const std::size_t kBuffer = 1024 * 1024, kChunk = 64 * 1024;

struct Writer {
    std::mutex lock;
    std::condition_variable changed;
    const unsigned char* pending = nullptr;
    std::size_t size = 0;
    bool stop = false;
};

// Takes the next buffer to write; null once stopped.
const unsigned char* NextBuffer(Writer& w) {
    std::unique_lock<std::mutex> hold(w.lock);
    w.changed.wait(hold, [&] { return w.pending != nullptr || w.stop; });
    return w.pending;
}

void Write(Writer& w, std::FILE* file) {
    while (const unsigned char* bytes = NextBuffer(w)) {
        if (std::fwrite(bytes, 1, w.size, file) != w.size)
            std::exit(1);
        std::lock_guard<std::mutex> hold(w.lock);
        w.pending = nullptr;
        w.changed.notify_all();
    }
}

void HandOver(Writer& w, const unsigned char* bytes, std::size_t size) {
    std::unique_lock<std::mutex> hold(w.lock);
    w.changed.wait(hold, [&] { return w.pending == nullptr; });
    w.pending = bytes;
    w.size = size;
    w.changed.notify_all();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s OUTPUT PAGE_BYTES FILE...\n", argv[0]);
        return 2;
    }
    const double pageBytes = std::atof(argv[2]);
    double inputBytes = 0;
    for (int i = 3; i < argc; ++i) {
        std::FILE* f = std::fopen(argv[i], "rb");
        if (f == nullptr || std::fseek(f, 0, SEEK_END) != 0)
            return 1;
        inputBytes += static_cast<double>(std::ftell(f));
        std::fclose(f);
    }
    // Room past a buffer's end for a chunk at the page's widest.
    std::vector<unsigned char> buffers(2 * (kBuffer + 6 * kChunk));
    unsigned char* fill = buffers.data();
    unsigned char* spare = fill + kBuffer + 6 * kChunk;
    std::FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr)
        return 1;
    Writer w;
    std::thread writer(Write, std::ref(w), out);
    std::size_t used = 0;
    double read = 0, written = 0;
    for (int i = 3; i < argc; ++i) {
        std::FILE* f = std::fopen(argv[i], "rb");
        if (f == nullptr)
            return 1;
        for (std::size_t n; (n = std::fread(fill + used, 1, kChunk, f)) > 0;) {
            read += static_cast<double>(n);
            const std::size_t share =
                static_cast<std::size_t>(read / inputBytes * pageBytes - written);
            used += share;
            written += static_cast<double>(share);
            if (used > kBuffer) {
                HandOver(w, fill, used);
                std::swap(fill, spare);
                used = 0;
            }
        }
        std::fclose(f);
    }
    HandOver(w, fill, used);
    {
        std::unique_lock<std::mutex> hold(w.lock);
        w.changed.wait(hold, [&] { return w.pending == nullptr; });
        w.stop = true;
    }
    w.changed.notify_all();
    writer.join();
    return std::fclose(out) == 0 ? 0 : 1;
}
