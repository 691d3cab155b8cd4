#pragma once
// One delay-line model on one or two channels at any host rate: resamples to the
// 44.1 kHz model rate, runs the network in residual form (y = x + net(x)),
// resamples back, guards the level into the network and gates the output.

#include "Korvane/ModelWeights.h"

#include <memory>

namespace Korvane {

class ModelProcessor {
  public:
    explicit ModelProcessor(int numChannels); // clamped to 1...2
    ~ModelProcessor();
    ModelProcessor(const ModelProcessor&) = delete;
    ModelProcessor& operator=(const ModelProcessor&) = delete;

    // Set-up thread only (never while rendering). Parses the document and loads it;
    // enables the processor whatever the outcome. A failed load (reported on standard
    // error) clears the loaded flag, so the processor passes audio through; the weights
    // of an earlier load are kept but not used.
    void loadModel(const unsigned char* data, unsigned int size);
    // Same, from weights parsed once elsewhere and shared with other processors (null =
    // a failed load). Every channel gets its own state over the one set of weights.
    void loadModel(std::shared_ptr<const ModelWeights> weights);
    bool isLoaded() const;

    // Set-up thread only: rate, gates, resamplers and buffers for blocks of up to
    // maxFrames frames.
    void setupProcessing(double sampleRate, int maxFrames);

    // Render thread (reset and setEnabled also the thread that switches the bank's model,
    // never overlapping processing). Real-time safe: no allocation for blocks of at most
    // maxFrames, no lock.
    void reset();
    // inputs[c] and outputs[c] for each channel; either may be null (channel skipped).
    void processStereo(const float** inputs, float** outputs, int frames);
    // One frame on channel 0; returns the output.
    float processSample(float x);
    // One frame on channel 0 of two processors at once (two kernel channels running the
    // same model): ya and yb are what a.processSample(xa) and b.processSample(xb) return,
    // bit for bit, but their networks step together over the shared weights.
    static void processSamplePair(ModelProcessor& a, float xa, ModelProcessor& b, float xb,
                                  float& ya, float& yb);
    void setEnabled(bool enabled);
    bool isEnabled() const;

  private:
    bool prepare(const float** inputs, float** outputs, int frames);
    void finish(const float** inputs, float** outputs, int frames);

    struct State;
    std::unique_ptr<State> state;
};

} // namespace Korvane
