#pragma once
// Counts the heap allocations of a test binary, to prove that a render path
// allocates nothing. Include it in exactly one source file of the binary: it
// replaces the global allocation functions, every form of them (plain, array,
// aligned, nothrow).
//  - threadAllocations: every allocation this thread has made, always counted;
//  - allocations: those of any thread while `counting` is set;
//  - sizeLimit: a single allocation larger than this throws std::bad_alloc before
//    it reaches the heap, so a test can prove that something is never sized for an
//    absurd count without the machine paying for it if it is.
// Thread: any.

#include <atomic>
#include <cstdlib>
#include <new>

namespace AllocationCounting {
inline std::atomic<bool> counting{false};
inline std::atomic<long> allocations{0};
inline thread_local long threadAllocations = 0;
inline std::atomic<std::size_t> sizeLimit{~std::size_t{0}};

inline void countOne() noexcept {
    ++threadAllocations;
    if (counting.load(std::memory_order_relaxed))
        allocations.fetch_add(1, std::memory_order_relaxed);
}
} // namespace AllocationCounting

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    AllocationCounting::countOne();
    if (size > AllocationCounting::sizeLimit.load(std::memory_order_relaxed))
        throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, std::align_val_t align) {
    AllocationCounting::countOne();
    if (size > AllocationCounting::sizeLimit.load(std::memory_order_relaxed))
        throw std::bad_alloc();
    const std::size_t a = std::size_t(align);
    // aligned_alloc wants a size that is a multiple of the alignment.
    if (void* p = std::aligned_alloc(a, (size + a - 1) / a * a))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size, std::align_val_t align) {
    return operator new(size, align);
}
// The nothrow forms too: a sanitizer's runtime supplies every form the binary does not,
// and memory from its own operator new must not reach the free() below.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    AllocationCounting::countOne();
    if (size > AllocationCounting::sizeLimit.load(std::memory_order_relaxed))
        return nullptr;
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void* operator new(std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept {
    AllocationCounting::countOne();
    if (size > AllocationCounting::sizeLimit.load(std::memory_order_relaxed))
        return nullptr;
    const std::size_t a = std::size_t(align);
    return std::aligned_alloc(a, (size + a - 1) / a * a);
}
void* operator new[](std::size_t size, std::align_val_t align, const std::nothrow_t& tag) noexcept {
    return operator new(size, align, tag);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept {
    std::free(p);
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
void operator delete(void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}
#pragma GCC diagnostic pop
