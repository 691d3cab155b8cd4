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
    // enables the processor whatever the outcome.
    void loadModel(const unsigned char* data, unsigned int size);
    // Same, from weights parsed once elsewhere (null = a failed load).
    void loadModel(std::shared_ptr<const ModelWeights> weights);
    bool isLoaded() const;

    // Set-up thread only.
    void setupProcessing(double sampleRate, int maxFrames);

    // Real-time safe.
    void reset();
    void processStereo(const float** inputs, float** outputs, int frames);
    float processSample(float x);
    void setEnabled(bool enabled);
    bool isEnabled() const;

  private:
    struct State;
    std::unique_ptr<State> state;
};

} // namespace Korvane
