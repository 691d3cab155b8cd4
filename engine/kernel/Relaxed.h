#pragma once
// A value written on one thread and read on another without ordering: a relaxed
// atomic that reads and assigns like the plain value. Real-time safe (lock-free
// for the 32- and 64-bit types the kernel uses).

#include <atomic>

template <class T> class Relaxed {
  public:
    Relaxed(T initial = T{}) : value(initial) {}
    Relaxed(const Relaxed&) = delete;
    Relaxed& operator=(const Relaxed&) = delete;

    operator T() const { return value.load(std::memory_order_relaxed); }
    Relaxed& operator=(T v) {
        value.store(v, std::memory_order_relaxed);
        return *this;
    }
    T load() const { return value.load(std::memory_order_relaxed); }

  private:
    static_assert(std::atomic<T>::is_always_lock_free);
    std::atomic<T> value;
};
