#pragma once
// A streaming hasher for state fingerprints, seeded once per process: hashes are
// comparable within one run only and are never stored. Floats hash by value, so
// -0.0 and +0.0 hash alike. Thread: a hasher is used by one thread at a time.

#include <cstddef>
#include <cstdint>
#include <string_view>

class Hasher {
  public:
    Hasher();
    void combine(float value);
    void combine(double value);
    void combine(std::int64_t value);
    void combine(std::uint64_t value);
    void combine(std::string_view text);
    // The hash of everything combined so far.
    std::int64_t finalize() const;

  private:
    void mix(std::uint64_t word);
    std::uint64_t state;
};
