// Stepping through the factory presets while a tone plays: no change may reach the
// audio as a click. After each change the largest sample-to-sample step of the output
// over the next 10 ms stays within 1.5 times the largest step of the steady signal (on
// either side of the change: a new delay time moves the echoes' phase against the
// tone, which may legitimately raise the steps to the new steady level).
#include "DSPKernel.h"
#include "FactoryPresets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr double kRate = 44100.0;
constexpr std::uint32_t kBlock = 256;

class TonePlayer {
  public:
    TonePlayer() : kernel(std::make_unique<DSPKernel>()) {
        apply(defaultFactoryPreset());
        kernel->maxFrames = kBlock;
        kernel->channelCount = 2;
        kernel->initialize(kRate);
    }

    void apply(const FactoryPreset& preset) {
        for (const PresetParameterWrite& write : presetParameterWrites(preset))
            kernel->setParameter(write.address, write.value);
    }

    // Renders seconds of a 220 Hz sine at -6 dBFS (the right channel a quarter cycle
    // later); returns the largest step of either output channel in the first `within`
    // seconds and appends every output sample of the left channel to `left`.
    float play(double seconds, double within = 0.0) {
        const auto frames = std::uint32_t(seconds * kRate);
        const auto watched = std::uint32_t(within * kRate);
        float largest = 0.0f;
        for (std::uint32_t done = 0; done < frames;) {
            const std::uint32_t n = std::min(kBlock, frames - done);
            for (std::uint32_t i = 0; i < n; ++i) {
                const double t = double(sample + i) / kRate;
                in[0][i] = float(0.5 * std::sin(2.0 * M_PI * 220.0 * t));
                in[1][i] = float(0.5 * std::cos(2.0 * M_PI * 220.0 * t));
            }
            const float* inputs[2] = {in[0], in[1]};
            float* outputs[2] = {out[0], out[1]};
            kernel->process(inputs, 2, outputs, 2, n);
            for (std::uint32_t i = 0; i < n; ++i) {
                for (int c = 0; c < 2; ++c) {
                    if (done + i < watched || watched == 0)
                        largest = std::max(largest, std::fabs(out[c][i] - previous[c]));
                    previous[c] = out[c][i];
                }
            }
            sample += n;
            done += n;
        }
        return largest;
    }

  private:
    std::unique_ptr<DSPKernel> kernel;
    float in[2][kBlock] = {};
    float out[2][kBlock] = {};
    float previous[2] = {0.0f, 0.0f};
    std::uint64_t sample = 0;
};

TEST(PresetChanges, EveryFactoryPresetAndBackToDefaultArriveWithoutAClick) {
    TonePlayer player;
    player.play(2.0); // the lines fill and every glide settles
    std::vector<const FactoryPreset*> sequence{&defaultFactoryPreset()};
    for (const FactoryPreset& preset : allFactoryPresets())
        if (&preset != &allFactoryPresets().front())
            sequence.push_back(&preset);
    sequence.push_back(&defaultFactoryPreset());

    // steady[k]: the largest step over 250 ms once preset k has played for 0.75 s;
    // after[k]: over the 10 ms after the change from preset k - 1 to k.
    std::vector<float> steady, after{0.0f};
    for (std::size_t k = 0; k < sequence.size(); ++k) {
        if (k > 0) {
            player.apply(*sequence[k]);
            after.push_back(player.play(0.01, 0.01));
        }
        player.play(0.75);
        steady.push_back(player.play(0.25));
    }
    // A change may pass from one steady level of steps to the other, but not beyond.
    float worst = 0.0f;
    std::size_t worstAt = 1;
    for (std::size_t k = 1; k < sequence.size(); ++k) {
        SCOPED_TRACE(sequence[k - 1]->id() + " -> " + sequence[k]->id());
        const float reference = std::max(steady[k - 1], steady[k]);
        EXPECT_LE(after[k], 1.5f * reference)
            << "steady " << steady[k - 1] << " / " << steady[k] << ", after " << after[k];
        if (after[k] / reference > worst) {
            worst = after[k] / reference;
            worstAt = k;
        }
    }
    std::printf("largest step after a change: %.2f times the steady signal's (%s -> %s)\n",
                double(worst), sequence[worstAt - 1]->id().c_str(),
                sequence[worstAt]->id().c_str());
}

} // namespace
