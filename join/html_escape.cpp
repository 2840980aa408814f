#include "join/html_escape.h"

#include <cstdint>
#include <cstring>

#include "join/sse2.h"

// The 16-byte path is taken when the program starts where the processor has SSE2.
#if defined(VELLUMOR_SSE2_BUILT) && !defined(VELLUMOR_PORTABLE_ESCAPE)
#define VELLUMOR_VECTOR_ESCAPE 1
// The 16-byte path's helpers are its loop's own steps, inlined even where the build favours size.
#define VELLUMOR_SSE2_STEP VELLUMOR_SSE2 inline __attribute__((always_inline))
// The 64-bit build also carries a path for processors with 64-byte byte permutes and
// compresses, chosen when the program starts.
#if defined(__x86_64__) && !defined(VELLUMOR_NO_WIDE_ESCAPE)
#define VELLUMOR_WIDE_ESCAPE 1
#include <immintrin.h>
#define VELLUMOR_WIDE __attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vbmi2,popcnt,bmi")))
#endif
#endif

namespace {

struct Escape {
    unsigned char length; // 1: the byte stands for itself
    char text[8];         // padded, so that any entry can go out as one 8-byte copy
};

struct EscapeTable {
    Escape byByte[256];
};

// A browser must show every space and line break of the text, and markup in the text must
// show as text. A browser takes a bare LF for a space, so a LF that ends a line on its own
// (not right after a CR, whose break ends that line) gets a break too. Only bytes below 0x40
// are replaced, and no second half of a double-byte character is below 0x40, so one table
// lookup per byte (and for a LF a look at the byte before) keeps every character whole. A lead
// byte followed by a byte that cannot complete it is a byte of its own, and so is what
// follows it: a stray lead byte can never carry raw markup into the page or swallow a line
// break.
constexpr EscapeTable MakeEscapeTable() {
    EscapeTable t{};
    for (int b = 0; b < 256; ++b)
        t.byByte[b] = {1, {static_cast<char>(b)}};
    t.byByte[0x0A] = {5, "<BR>\n"}; // but for a LF right after a CR: see EscapeByte
    t.byByte[0x0D] = {5, "<BR>\r"};
    t.byByte[0x20] = {6, "&nbsp;"};
    t.byByte[0x22] = {6, "&quot;"};
    t.byByte[0x26] = {5, "&amp;"};
    t.byByte[0x3C] = {4, "&lt;"};
    t.byByte[0x3E] = {4, "&gt;"};
    return t;
}

constexpr EscapeTable kEscapes = MakeEscapeTable();

// Copies or escapes one byte; afterCr says whether the byte before it was a CR, and then
// whether this one is. Inlined even where the build favours size: it is the loop of the tail
// of every chunk, and of every byte where the processor has no SSE2.
inline __attribute__((always_inline)) unsigned char* EscapeByte(unsigned char* to,
                                                                unsigned char byte, bool& afterCr) {
    const Escape& e = kEscapes.byByte[byte];
    const bool plain = e.length == 1 || (byte == 0x0A && afterCr);
    afterCr = byte == 0x0D;
    if (plain) {
        *to = byte;
        return to + 1;
    }
    std::memcpy(to, e.text, e.length);
    return to + e.length;
}

// None of the eight bytes is below 0x40, and so none is to be escaped. Japanese text is
// mostly such bytes: both halves of a character are 0x40 or above.
inline bool NothingToEscape(std::uint64_t eight) {
    const std::uint64_t ones = 0x0101010101010101u, highs = 0x8080808080808080u;
    return ((eight - ones * 0x40) & ~eight & highs) == 0;
}

#ifdef VELLUMOR_VECTOR_ESCAPE
// Where each of the sixteen bytes may be one to escape: 0x0D, 0x20, 0x22, 0x26, 0x3C, 0x3E, a
// LF but for one right after a CR, and also 0x24, which the table escapes to itself. Two masks
// catch the four bytes 0x20 to 0x26 and the two bytes 0x3C, 0x3E, two compares the line ends.
// crs comes in with the CRs of the sixteen bytes before, and leaves with those of these.
VELLUMOR_SSE2_STEP unsigned EscapeMarks(__m128i sixteen, __m128i& crs) {
    const __m128i crsBefore = crs;
    crs = _mm_cmpeq_epi8(sixteen, _mm_set1_epi8(0x0D));
    const __m128i afterCr = _mm_or_si128(_mm_slli_si128(crs, 1), _mm_srli_si128(crsBefore, 15));
    const __m128i breaks =
        _mm_or_si128(crs, _mm_andnot_si128(afterCr, _mm_cmpeq_epi8(sixteen, _mm_set1_epi8(0x0A))));
    const __m128i spaceToAmp =
        _mm_cmpeq_epi8(_mm_and_si128(sixteen, _mm_set1_epi8(~0x06)), _mm_set1_epi8(0x20));
    const __m128i angles =
        _mm_cmpeq_epi8(_mm_and_si128(sixteen, _mm_set1_epi8(~0x02)), _mm_set1_epi8(0x3C));
    return static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(spaceToAmp, angles), breaks)));
}

// The place of the lowest bit set; bits is not zero. A 32-bit build would call a library
// function for each 64-bit count, once per escape: two 32-bit counts stay instructions.
inline __attribute__((always_inline)) unsigned LowestBit(std::uint64_t bits) {
#if defined(__x86_64__)
    return static_cast<unsigned>(__builtin_ctzll(bits));
#else
    const std::uint32_t low = static_cast<std::uint32_t>(bits);
    return low != 0
               ? static_cast<unsigned>(__builtin_ctz(low))
               : 32 + static_cast<unsigned>(__builtin_ctz(static_cast<std::uint32_t>(bits >> 32)));
#endif
}

inline std::uint64_t Join16s(unsigned a, unsigned b, unsigned c, unsigned d) {
    return a | static_cast<std::uint64_t>(b) << 16 | static_cast<std::uint64_t>(c) << 32 |
           static_cast<std::uint64_t>(d) << 48;
}

VELLUMOR_SSE2_STEP void Copy16(unsigned char* to, const unsigned char* from) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to),
                     _mm_loadu_si128(reinterpret_cast<const __m128i*>(from)));
}

VELLUMOR_SSE2_STEP void Copy64(unsigned char* to, const unsigned char* from) {
    Copy16(to, from);
    Copy16(to + 16, from + 16);
    Copy16(to + 32, from + 32);
    Copy16(to + 48, from + 48);
}

inline bool AtMostFour(std::uint64_t bits) {
    for (int i = 0; i < 4; ++i)
        bits &= bits - 1;
    return bits == 0;
}

// Writes the run up to the first escape left in marks, and that escape; or, with none left,
// the rest of the block, after which further steps write nothing that stays. Taking the first
// escapes of a block this way, whether there are so many or not, spares the branches of a
// loop that would end at a different count in each block.
VELLUMOR_SSE2_STEP void SparseStep(unsigned char*& to, const unsigned char*& run,
                                   const unsigned char* from, std::uint64_t& marks) {
    const std::size_t none = marks == 0 ? 1 : 0;
    // With no bit left the top one stands in, moved one past the block.
    const unsigned char* at = from + LowestBit(marks | 1ull << 63) + none;
    marks &= marks - 1;
    Copy64(to, run);
    to += at - run;
    const Escape& e = kEscapes.byByte[*at]; // at the block's end: the next block's first byte
    std::memcpy(to, e.text, sizeof e.text);
    to += e.length & (none - 1);
    run = at + 1 - none;
}

// Copies length bytes (0 to 64) in 16-byte steps: up to 16 bytes more are read and written.
VELLUMOR_SSE2_STEP void CopyRun(unsigned char* to, const unsigned char* from, std::size_t length) {
    Copy16(to, from);
    for (std::size_t done = 16; done < length; done += 16)
        Copy16(to + done, from + done);
}

// The 16-byte path's part of EscapeHtmlBytes: whole blocks while 128 bytes of input are ahead.
// 64 bytes at a time, all their escapes from one mask: the plain run before each escape goes
// out in 16-byte copies, the replacement as one 8-byte copy, and whatever either wrote past
// its end is overwritten by what comes next. Blocks with few escapes copy whole 64-byte spans,
// those with many only what each run needs. No copy reads or writes more than 64 bytes past
// the block: 128 bytes of input ahead keep that inside the input and inside the output's room
// of six bytes per input byte.
VELLUMOR_SSE2 void VectorEscapeBlocks(unsigned char*& output, const unsigned char*& input,
                                      const unsigned char* end, bool& afterCr) {
    // Locals, as stores through the output's bytes could otherwise change the references.
    unsigned char* to = output;
    const unsigned char* from = input;
    // The CRs of the last sixteen bytes, of which only the last counts.
    __m128i crs = _mm_slli_si128(_mm_cvtsi32_si128(afterCr ? 0xFF : 0), 15);
    while (end - from >= 128) {
        const __m128i q0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const __m128i q1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 16));
        const __m128i q2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 32));
        const __m128i q3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 48));
        const unsigned m0 = EscapeMarks(q0, crs), m1 = EscapeMarks(q1, crs);
        const unsigned m2 = EscapeMarks(q2, crs), m3 = EscapeMarks(q3, crs);
        std::uint64_t marks = Join16s(m0, m1, m2, m3);
        if (marks == 0) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to), q0);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 16), q1);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 32), q2);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 48), q3);
            to += 64;
            from += 64;
            continue;
        }
        const unsigned char* run = from; // the first byte not yet written
        if (AtMostFour(marks)) {
            SparseStep(to, run, from, marks);
            SparseStep(to, run, from, marks);
            while (marks != 0)
                SparseStep(to, run, from, marks);
            from += 64;
            Copy64(to, run);
            to += from - run;
            continue;
        }
        do {
            const unsigned char* at = from + LowestBit(marks);
            marks &= marks - 1;
            CopyRun(to, run, static_cast<std::size_t>(at - run));
            to += at - run;
            const Escape& e = kEscapes.byByte[*at];
            std::memcpy(to, e.text, sizeof e.text);
            to += e.length;
            run = at + 1;
        } while (marks != 0);
        from += 64;
        CopyRun(to, run, static_cast<std::size_t>(from - run));
        to += from - run;
    }
    output = to;
    input = from;
    afterCr = (_mm_movemask_epi8(crs) & 0x8000) != 0;
}

// Decided before main runs; until then (a static constructor of another file) the bytes go
// the portable way, which gives the same output.
const bool kSse2Runs = Sse2Runs();
#endif

#ifdef VELLUMOR_WIDE_ESCAPE
// The wide path's tables, indexed by a byte's low six bits (every escaped byte is below 0x40):
// each byte's length on the page, and for an escaped byte where its replacement starts in
// `text`, all replacements back to back, plus 64: the permute that reads the replacements
// takes the block itself as its first 64 bytes.
struct WideTables {
    alignas(64) unsigned char length[64];
    alignas(64) unsigned char select[64];
    alignas(64) char text[64];
    // Eight bytes of output room, a slot, for each of eight input bytes: the slot's input
    // byte, and the place in the slot.
    alignas(64) unsigned char slotSource[64];
    alignas(64) unsigned char slotPlace[64];
};

constexpr WideTables MakeWideTables() {
    WideTables t{};
    int used = 0;
    for (int b = 0; b < 64; ++b) {
        const Escape& e = kEscapes.byByte[b];
        t.length[b] = e.length;
        if (e.length > 1) {
            t.select[b] = static_cast<unsigned char>(64 + used);
            for (int i = 0; i < e.length; ++i)
                t.text[used++] = e.text[i];
        }
        t.slotSource[b] = static_cast<unsigned char>(b / 8);
        t.slotPlace[b] = static_cast<unsigned char>(b % 8);
    }
    return t;
}

constexpr WideTables kWide = MakeWideTables();

VELLUMOR_WIDE inline __m512i WideLoad(const void* from) {
    return _mm512_loadu_si512(from);
}

// table[index & 63] for each byte; the zero-masking form, as the plain one trips a warning of
// the compiler's own header.
VELLUMOR_WIDE inline __m512i WidePermute(__m512i index, __m512i table) {
    return _mm512_maskz_permutexvar_epi8(~0ull, index, table);
}

// Writes a block with escapes eight input bytes at a time: each byte is spread over a slot of
// eight bytes, itself or its replacement, and one compress keeps the first `length` bytes of
// each slot, which is the eight bytes' output. Each step stores 64 bytes, of which at most 48
// stay; the next step overwrites the rest.
VELLUMOR_WIDE inline unsigned char* WideEscapeBlock(unsigned char* to, __m512i block,
                                                    __m512i length, __mmask64 marks) {
    // 0, 1, ..., 63: a plain byte is taken from its own place in the block.
    const __m512i iota = _mm512_add_epi8(_mm512_slli_epi64(WideLoad(kWide.slotSource), 3),
                                         WideLoad(kWide.slotPlace));
    const __m512i select = _mm512_mask_permutexvar_epi8(iota, marks, block, WideLoad(kWide.select));
    const __m512i text = WideLoad(kWide.text), place = WideLoad(kWide.slotPlace);
    __m512i source = WideLoad(kWide.slotSource);
    for (int step = 0; step < 8; ++step) {
        const __m512i from = _mm512_add_epi8(WidePermute(source, select), place);
        const __m512i bytes = _mm512_permutex2var_epi8(block, from, text);
        const __mmask64 keep = _mm512_cmplt_epu8_mask(place, WidePermute(source, length));
        _mm512_storeu_si512(to, _mm512_maskz_compress_epi8(keep, bytes));
        to += _mm_popcnt_u64(_cvtmask64_u64(keep));
        source = _mm512_add_epi8(source, _mm512_set1_epi8(8));
    }
    return to;
}

// One escape of a block with few: the replacement over its place in the output, and then the
// 64 bytes of input after it, which the next escape overwrites from its own place on. With no
// escape left it stands for one past the block (tzcnt counts 64) and grows nothing, so that
// the first steps need no branch. grows holds how much each escape still to come lengthens
// the output, a byte each, in order. Plain stores: a masked store costs many times more on
// some processors.
VELLUMOR_WIDE inline void WideFewStep(unsigned char* to, unsigned& shift, const unsigned char* from,
                                      std::uint64_t& marks, std::uint64_t& grows) {
    const unsigned at = static_cast<unsigned>(_tzcnt_u64(marks));
    std::memcpy(to + shift + at, kEscapes.byByte[from[at]].text, sizeof(Escape::text));
    shift += static_cast<unsigned>(grows & 0xFF);
    grows >>= 8;
    _mm512_storeu_si512(to + shift + at + 1, WideLoad(from + at + 1));
    marks = _blsr_u64(marks);
}

// Writes a block with at most four escapes (none included): the block as it is, then each
// escape. Where each escape goes, and where the next block starts, come from the lengths in
// registers rather than from the table: the next block's stores then wait for no load, which
// made Japanese text escape about 1.8 times as fast. Up to 65 bytes past the block are read and
// written, which the 129 bytes ahead allow.
VELLUMOR_WIDE inline unsigned char* WideEscapeFew(unsigned char* to, const unsigned char* from,
                                                  __m512i block, std::uint64_t marks,
                                                  __m512i growth) {
    _mm512_storeu_si512(to, block);
    // The zero-masking extract: the cast trips a warning of the compiler's own header.
    std::uint64_t grows = static_cast<std::uint64_t>(_mm_cvtsi128_si64(
        _mm512_maskz_extracti32x4_epi32(0xF, _mm512_maskz_compress_epi8(marks, growth), 0)));
    const unsigned total = static_cast<unsigned>(grows * 0x0101010101010101u >> 56);
    unsigned shift = 0; // how far the output has run ahead of the block
    WideFewStep(to, shift, from, marks, grows);
    WideFewStep(to, shift, from, marks, grows);
    while (marks != 0)
        WideFewStep(to, shift, from, marks, grows);
    return to + 64 + total;
}

// The wide path's part of EscapeHtmlBytes: whole blocks while more than 128 bytes of input
// are ahead.
VELLUMOR_WIDE void WideEscapeBlocks(unsigned char*& output, const unsigned char*& input,
                                    const unsigned char* end, bool& afterCr) {
    unsigned char* to = output;
    const unsigned char* from = input;
    std::uint64_t crLast = afterCr ? 1 : 0;
    const __m512i lengths = WideLoad(kWide.length), ones = _mm512_set1_epi8(1);
    while (end - from > 128) {
        const __m512i block = WideLoad(from);
        const std::uint64_t crs = _mm512_cmpeq_epi8_mask(block, _mm512_set1_epi8(0x0D));
        const std::uint64_t lfs = _mm512_cmpeq_epi8_mask(block, _mm512_set1_epi8(0x0A));
        // Bytes that go out as themselves keep the length 1: all from 0x40 up, and a LF right
        // after a CR (the block's or the one before it).
        const __mmask64 looked =
            _mm512_cmplt_epu8_mask(block, _mm512_set1_epi8(0x40)) & ~(lfs & (crs << 1 | crLast));
        crLast = crs >> 63;
        const __m512i length = _mm512_mask_permutexvar_epi8(ones, looked, block, lengths);
        const __mmask64 marks = _mm512_cmpgt_epu8_mask(length, ones);
        // Most blocks of Japanese text have one to three escapes, the line breaks; English
        // text has ten or more.
        to = _mm_popcnt_u64(marks) <= 4
                 ? WideEscapeFew(to, from, block, marks, _mm512_sub_epi8(length, ones))
                 : WideEscapeBlock(to, block, length, marks);
        from += 64;
    }
    output = to;
    input = from;
    afterCr = crLast != 0;
}

bool WideEscapeRuns() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512vbmi2") &&
           __builtin_cpu_supports("popcnt") && __builtin_cpu_supports("bmi");
}

// Decided before main runs; until then the blocks go the 16-byte way, with the same output.
const bool kWideRuns = WideEscapeRuns();
#endif

} // namespace

unsigned char* EscapeHtmlBytes(unsigned char* to, const unsigned char* from, std::size_t size,
                               HtmlEscapeState& state) {
    const unsigned char* const end = from + size;
    const unsigned char* const start = from;
    bool afterCr = state.afterCr;
#ifdef VELLUMOR_WIDE_ESCAPE
    if (kWideRuns)
        WideEscapeBlocks(to, from, end, afterCr);
#endif
#ifdef VELLUMOR_VECTOR_ESCAPE
    if (kSse2Runs)
        VectorEscapeBlocks(to, from, end, afterCr);
#endif
    state.blockBytes += static_cast<std::size_t>(from - start);
    while (end - from >= 8) {
        std::uint64_t eight;
        std::memcpy(&eight, from, 8);
        if (NothingToEscape(eight)) {
            std::memcpy(to, &eight, 8);
            to += 8;
            from += 8;
            afterCr = false;
        } else {
            for (const unsigned char* stop = from + 8; from != stop; ++from)
                to = EscapeByte(to, *from, afterCr);
        }
    }
    while (from != end)
        to = EscapeByte(to, *from++, afterCr);
    state.afterCr = afterCr;
    return to;
}

const char* HtmlEscapePath() {
#ifdef VELLUMOR_WIDE_ESCAPE
    if (kWideRuns)
        return "wide";
#endif
#ifdef VELLUMOR_VECTOR_ESCAPE
    if (kSse2Runs)
        return "sse2";
#endif
    return "portable";
}
