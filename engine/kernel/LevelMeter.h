#pragma once
// Peak level with a one-second hold, updated once per processed block.
// Render thread only; real-time safe.

#include <algorithm>
#include <cmath>
#include <cstdint>

struct LevelMeter {
    float level = 0.0f;
    float falloff = 0.9f;
    float hold = 0.0f;
    std::int32_t holdSamplesLeft = 0;
    float holdSeconds = 1.0f;
    float sampleRate = 44100.0f;

    // level = max(peak, level * falloff), once per call; the hold keeps the
    // highest peak for holdSeconds, counted in whole calls' frames.
    void update(const float* buffer, int frames) {
        float peak = 0.0f;
        for (int i = 0; i < frames; ++i)
            peak = std::max(peak, std::fabs(buffer[i]));
        level = std::max(peak, level * falloff);
        if (peak >= hold) {
            hold = peak;
            holdSamplesLeft = std::int32_t(std::min(sampleRate * holdSeconds, 2.0e9f));
        } else {
            const std::int32_t before = holdSamplesLeft;
            holdSamplesLeft = std::max(holdSamplesLeft - frames, 0);
            if (before <= frames)
                hold = 0.0f;
        }
    }
};
