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

    // Real-time safe (no allocation, no lock); setActiveModel and the process calls must
    // never overlap on one bank.
    void setActiveModel(int index, int fadeSamples);
    float processSample(float x);
    // Two banks (two kernel channels) one sample each: ya and yb are what
    // a.processSample(xa) and b.processSample(xb) return, bit for bit, but the models
    // both banks play step together, one pass over their weights serving both channels.
    static void processSamplePair(MultiModelProcessor& a, float xa, MultiModelProcessor& b,
                                  float xb, float& ya, float& yb);
    // Up to kMaxBlock samples: y[i] is what processSample(x[i]) returns sample by sample,
    // bit for bit, but each model runs through all the samples it is heard in before
    // the next model runs, so its weights stay in the core's cache (a crossfade's four
    // models do not fit in some cores' caches together).
    static constexpr int kMaxBlock = 64;
    void processBlock(const float* x, float* y, int frames);
    // processBlock for two banks, whose models step together as in processSamplePair.
    static void processBlockPair(MultiModelProcessor& a, const float* xa, MultiModelProcessor& b,
                                 const float* xb, float* ya, float* yb, int frames);

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
    // Removes the fade-outs that have ended (after the sample is mixed), marking their
    // models to stop in stopping.
    void retireFinishedFades();
    // The voices of the next frames (before any model runs): per frame its voices in
    // planned, their count in plannedCounts, and per model in heardFrames the number of
    // frames it is heard in. Within a block no model starts, so every model is heard
    // from the block's first frame to its last or to the end of its fade.
    void planBlock(int frames);
    // Mixes the models' outputs (outputs, kMaxBlock per model) by the planned voices,
    // then stops the models whose fades ended.
    void mixBlock(const float* x, float* y, int frames);
    // Runs model m of bank a over its heard frames of xa into its outputs, stepping
    // together with bank b's model m (if b is given) in the frames both hear it.
    static void runModel(MultiModelProcessor& a, const float* xa, MultiModelProcessor* b,
                         const float* xb, int m);
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

    // Scratch of a block (render thread; sized when the bank is made).
    Voice planned[kMaxBlock][kMaxVoices];
    int plannedCounts[kMaxBlock] = {};
    std::vector<int> heardFrames;        // per model
    std::vector<float> outputs;          // per model, kMaxBlock samples
    std::vector<unsigned char> stopping; // per model: its fade ended in this block
};

} // namespace Korvane
