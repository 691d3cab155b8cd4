#pragma once
// Flushes denormal floats to zero (inputs and results) for the lifetime of the
// object, restoring the caller's floating-point mode after. Put one at the top
// of every render call. Real-time safe.

#if defined(__x86_64__) || defined(__i386__)
#include <xmmintrin.h>
#endif

class ScopedDenormalFlush {
  public:
    ScopedDenormalFlush() {
#if defined(__x86_64__) || defined(__i386__)
        saved = _mm_getcsr();
        _mm_setcsr(saved | 0x8040u); // FTZ (bit 15) | DAZ (bit 6)
#elif defined(__aarch64__)
        __asm__ __volatile__("mrs %0, fpcr" : "=r"(saved));
        const unsigned long flushed = saved | (1ul << 24); // FZ
        __asm__ __volatile__("msr fpcr, %0" : : "r"(flushed));
#endif
    }
    ~ScopedDenormalFlush() {
#if defined(__x86_64__) || defined(__i386__)
        _mm_setcsr(saved);
#elif defined(__aarch64__)
        __asm__ __volatile__("msr fpcr, %0" : : "r"(saved));
#endif
    }
    ScopedDenormalFlush(const ScopedDenormalFlush&) = delete;
    ScopedDenormalFlush& operator=(const ScopedDenormalFlush&) = delete;

  private:
#if defined(__aarch64__)
    unsigned long saved = 0;
#else
    unsigned int saved = 0;
#endif
};
