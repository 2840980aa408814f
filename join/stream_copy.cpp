#include "join/stream_copy.h"

#include <cstdint>
#include <cstring>

#include "join/sse2.h"

namespace {

constexpr std::size_t kLine = 64;

#ifdef VELLUMOR_SSE2_BUILT
// Whole lines, `to` at a line's start; the fence makes them seen before anything stored later.
VELLUMOR_SSE2 void StreamLines(unsigned char* to, const unsigned char* from, std::size_t lines) {
    for (; lines > 0; --lines, to += kLine, from += kLine) {
        for (std::size_t i = 0; i < kLine; i += 16)
            _mm_stream_si128(reinterpret_cast<__m128i*>(to + i),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i)));
    }
    _mm_sfence();
}

// Decided before main runs; until then the copy is plain.
const bool kStreams = Sse2Runs();
#endif

} // namespace

void CopyPastCache(void* to, const void* from, std::size_t size) {
    unsigned char* out = static_cast<unsigned char*>(to);
    const unsigned char* in = static_cast<const unsigned char*>(from);
#ifdef VELLUMOR_SSE2_BUILT
    // The part line before the first whole one, and the one after the last, go the plain way.
    std::size_t head = (kLine - reinterpret_cast<std::uintptr_t>(out) % kLine) % kLine;
    if (kStreams && size >= head + kLine) {
        std::memcpy(out, in, head);
        std::size_t lines = (size - head) / kLine;
        StreamLines(out + head, in + head, lines);
        std::size_t done = head + lines * kLine;
        out += done;
        in += done;
        size -= done;
    }
#endif
    std::memcpy(out, in, size);
}
