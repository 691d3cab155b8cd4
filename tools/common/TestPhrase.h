#pragma once
// The demo's built-in input: a short stereo phrase of synthesised plucks and
// noise bursts followed by silence for the echoes to ring out. Any thread; pure.

#include <cstddef>
#include <vector>

namespace demo {

struct Phrase {
    double sampleRate = 44100.0;
    std::vector<std::vector<float>> channels; // non-interleaved
    std::size_t frames() const { return channels.empty() ? 0 : channels[0].size(); }
};

// `seconds` of audio at `sampleRate`: plucks during the first ~2.5 s, two noise
// bursts, silence after. Deterministic.
Phrase makeTestPhrase(double sampleRate, double seconds);

} // namespace demo
