#pragma once
// The bank of delay-line models one kernel channel uses: one processor per model,
// switched with linear crossfades (one fading in, up to four fading out).

#include "Korvane/ModelProcessor.h"

#include <memory>
#include <vector>

namespace Korvane {

class MultiModelProcessor {
  public:
    MultiModelProcessor(int numModels, int numChannels);
    ~MultiModelProcessor();

    // Set-up thread only. loadModel sets the model's loaded flag whatever the outcome.
    void setupProcessing(double sampleRate, int maxFrames);
    void loadModel(int index, const unsigned char* data, unsigned int size);
    void loadModel(int index, std::shared_ptr<const ModelWeights> weights);

    // Real-time safe (no allocation, no lock); setActiveModel and processSample must never
    // overlap on one bank.
    void setActiveModel(int index, int fadeSamples);
    float processSample(float x);
    // Two banks (two kernel channels) one sample each: ya and yb are what
    // a.processSample(xa) and b.processSample(xb) return, bit for bit, but the models
    // both banks play step together, one pass over their weights serving both channels.
    static void processSamplePair(MultiModelProcessor& a, float xa, MultiModelProcessor& b,
                                  float xb, float& ya, float& yb);

    // Any thread that does not overlap processSample (tests, meters).
    int activeModel() const { return active; }
    int fadeOutCount() const { return fadeOuts; }
    int fadeInRemainingSamples() const { return fadeInRemaining; }
    int fadeOutModel(int i) const { return fades[i].model; }
    float fadeOutGain(int i) const;
    const ModelProcessor& processor(int index) const { return *processors[std::size_t(index)]; }

  private:
    // A model heard this sample and its gain.
    struct Voice {
        int model;
        float gain;
    };
    static constexpr int kMaxVoices = 5; // the active model and four fade-outs

    // The voices of this sample in mixing order (active first, then the fade-outs),
    // advancing every fade by one sample; -1 when the bank plays its input dry.
    int nextVoices(Voice* voices);
    // The voice to run j-th of count this sample: the voices run first to last in one
    // sample and last to first in the next, so that the models run last in one sample
    // run first in the next while their weights are still in the core's cache (four
    // models' weights do not fit in some cores' caches together). The voices are mixed
    // in their own order whatever the order they ran in.
    int nextVoiceInRunOrder(int j, int count);
    // Stops and removes the fade-outs that have ended (after the sample is mixed).
    void retireFinishedFades();
    bool validIndex(int index) const;
    bool loaded(int index) const { return index < 32 && (loadedMask & (1u << index)) != 0; }
    void markLoaded(int index) { loadedMask |= index < 32 ? 1u << index : 0u; }
    float activeGain() const;
    void removeFade(int i);

    struct FadeOut {
        int model = -1;
        float startGain = 0.0f;
        int remaining = 0;
        int length = 1;
    };
    std::vector<std::unique_ptr<ModelProcessor>> processors;
    int active = -1;
    int fadeInRemaining = 0;
    int fadeInLength = 0;
    FadeOut fades[4];
    int fadeOuts = 0;
    unsigned loadedMask = 0;
    bool runBackwards = false;
};

} // namespace Korvane
