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

    // Any thread that does not overlap processSample (tests, meters).
    int activeModel() const { return active; }
    int fadeOutCount() const { return fadeOuts; }
    int fadeInRemainingSamples() const { return fadeInRemaining; }
    int fadeOutModel(int i) const { return fades[i].model; }
    float fadeOutGain(int i) const;
    const ModelProcessor& processor(int index) const { return *processors[std::size_t(index)]; }

  private:
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
};

} // namespace Korvane
