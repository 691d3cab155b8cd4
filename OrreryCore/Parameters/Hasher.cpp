#include "Parameters/Hasher.h"

#include <bit>
#include <random>

namespace {

// The per-process seed: a constant once drawn.
std::uint64_t processSeed() {
    static const std::uint64_t seed = [] {
        std::random_device device;
        return (std::uint64_t{device()} << 32) ^ device();
    }();
    return seed;
}

// splitmix64 finaliser: x ^= x >> 30; x *= c1; x ^= x >> 27; x *= c2; x ^= x >> 31.
std::uint64_t scramble(std::uint64_t x) {
    x ^= x >> 30;
    x *= 0xbf58476d1ce4e5b9ULL;
    x ^= x >> 27;
    x *= 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

} // namespace

Hasher::Hasher() : state(processSeed()) {}

void Hasher::mix(std::uint64_t word) {
    // state = scramble(state + golden ratio + word)
    state = scramble(state + 0x9e3779b97f4a7c15ULL + word);
}

void Hasher::combine(float value) {
    if (value == 0.0f)
        value = 0.0f; // one zero for both signs
    mix(std::bit_cast<std::uint32_t>(value));
}

void Hasher::combine(double value) {
    if (value == 0.0)
        value = 0.0;
    mix(std::bit_cast<std::uint64_t>(value));
}

void Hasher::combine(std::int64_t value) {
    mix(static_cast<std::uint64_t>(value));
}
void Hasher::combine(std::uint64_t value) {
    mix(value);
}

void Hasher::combine(std::string_view text) {
    mix(text.size());
    for (unsigned char c : text)
        mix(c);
}

std::int64_t Hasher::finalize() const {
    return static_cast<std::int64_t>(scramble(state));
}
