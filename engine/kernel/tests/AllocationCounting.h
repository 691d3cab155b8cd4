#pragma once
// Counts every operator new of a test binary while `counting` is set, to prove
// that a render path allocates nothing. Include it in exactly one source file of
// the binary: it replaces the global allocation functions.

#include <atomic>
#include <cstdlib>
#include <new>

namespace AllocationCounting {
inline std::atomic<bool> counting{false};
inline std::atomic<long> allocations{0};
} // namespace AllocationCounting

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    if (AllocationCounting::counting.load(std::memory_order_relaxed))
        AllocationCounting::allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
#pragma GCC diagnostic pop
