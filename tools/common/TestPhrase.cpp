#include "TestPhrase.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace demo {

namespace {

struct Noise {
    std::uint32_t state = 0x2545F491u;
    float next() { // uniform in -1...1
        state = state * 1664525u + 1013904223u;
        return float(state >> 8) / 8388608.0f - 1.0f;
    }
};

// Karplus-Strong string: a noise-filled delay of fs/f samples whose averaged
// output feeds back (y[n] = decay * (y[n-N] + y[n-N-1]) / 2).
void addPluck(std::vector<float>& out, std::size_t start, double sampleRate, double hz, float gain,
              Noise& noise) {
    const auto period = std::size_t(std::max(2.0, sampleRate / hz));
    std::vector<float> string(period);
    for (float& s : string)
        s = noise.next();
    const std::size_t length = std::size_t(sampleRate * 1.2);
    for (std::size_t i = 0; i < length && start + i < out.size(); ++i) {
        const std::size_t k = i % period;
        const float y = string[k];
        string[k] = 0.996f * 0.5f * (y + string[(k + 1) % period]);
        out[start + i] += gain * y;
    }
}

// A noise burst with a 2 ms attack and an exponential decay over `ms`.
void addBurst(std::vector<float>& out, std::size_t start, double sampleRate, double ms, float gain,
              Noise& noise) {
    const std::size_t length = std::size_t(sampleRate * ms * 0.001);
    const double attack = sampleRate * 0.002;
    for (std::size_t i = 0; i < length && start + i < out.size(); ++i) {
        const double envelope =
            std::min(1.0, double(i) / attack) * std::exp(-5.0 * double(i) / double(length));
        out[start + i] += gain * float(envelope) * noise.next();
    }
}

} // namespace

Phrase makeTestPhrase(double sampleRate, double seconds) {
    Phrase phrase;
    phrase.sampleRate = sampleRate;
    const auto frames = std::size_t(sampleRate * seconds);
    phrase.channels.assign(2, std::vector<float>(frames, 0.0f));
    auto at = [sampleRate](double t) { return std::size_t(t * sampleRate); };
    Noise noise;
    // A rising A-major arpeggio, panned left to right.
    const double notes[] = {220.0, 277.18, 329.63, 440.0, 329.63};
    for (int n = 0; n < 5; ++n) {
        const float pan = float(n) / 4.0f; // 0 left ... 1 right
        const std::size_t start = at(0.5 * n);
        Noise left = noise, right = noise; // the same string on both sides
        addPluck(phrase.channels[0], start, sampleRate, notes[n], 0.45f * std::sqrt(1 - pan), left);
        addPluck(phrase.channels[1], start, sampleRate, notes[n], 0.45f * std::sqrt(pan), right);
        noise.next();
    }
    addBurst(phrase.channels[0], at(2.6), sampleRate, 60, 0.35f, noise);
    addBurst(phrase.channels[1], at(2.9), sampleRate, 60, 0.35f, noise);
    return phrase;
}

} // namespace demo
