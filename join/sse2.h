// SSE2 in code that the 32-bit program runs too: it must also run on processors without SSE2
// (Windows 7 runs on them), so there such code is built for SSE2 alone (VELLUMOR_SSE2) and
// taken only where Sse2Runs() says the processor has it. Builds that assume SSE2, every 64-bit
// one among them, always take it.
#pragma once

#if defined(__i386__) || defined(__x86_64__)
#define VELLUMOR_SSE2_BUILT 1
#include <emmintrin.h>
#ifdef __SSE2__
#define VELLUMOR_SSE2
constexpr bool Sse2Runs() {
    return true;
}
#else
#define VELLUMOR_SSE2 __attribute__((target("sse2")))
inline bool Sse2Runs() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("sse2");
}
#endif
#endif
