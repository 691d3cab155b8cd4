#pragma once
// The recurrent delay-line network: input dense (1 -> 64), two GRU layers of 64 units,
// output dense (64 -> 1). ModelWeights is the immutable weight set of one model, shared
// by every channel that runs it; ModelNetwork is one channel's running state.

#include "Korvane/ModelWeights.h"
#include "Korvane/NetworkLayout.h"

#include <memory>

namespace Korvane {

// Which implementation runs a network step.
enum class KernelPath {
    Reference, // the straightforward network with Eigen, four 192 x 65 products
    Portable,  // fast layout, baseline x86-64 instructions
    Avx2,      // fast layout, AVX2 + FMA
    Avx512,    // fast layout, AVX-512F
};

// True when this CPU can run the path. Any thread.
bool kernelPathSupported(KernelPath path);
// The best path this CPU supports; what every network uses unless overridden.
KernelPath bestKernelPath();
// The path in use: at first the one named by the environment variable
// KORVANE_KERNEL_PATH ("Reference", "Portable", "Avx2", "Avx512") when this CPU supports
// it, else the best one. Any thread.
KernelPath kernelPath();
// Process-wide override for tests and benchmarks; false (and no change) when the CPU
// lacks the path. Not while rendering.
bool setKernelPath(KernelPath path);
const char* kernelPathName(KernelPath path);
// The path of that name (as kernelPathName gives it, any letter case); false if none.
bool kernelPathFromName(const char* name, KernelPath& path);

// One channel's network: shared weights plus its own state. Fixed size; allocates
// nothing after construction.
class ModelNetwork {
  public:
    ModelNetwork() = default;

    // Set-up thread. Takes the weights and zeroes the hidden states.
    void setWeights(std::shared_ptr<const ModelWeights> weights);
    const ModelWeights* weights() const { return shared.get(); }

    // Real-time safe. Zeroes both hidden states.
    void resetState();
    // Real-time safe. One forward pass; returns the correction the caller adds to x
    // (0 without weights).
    float step(float x);
    // Real-time safe. One forward pass of two networks at once, a with input xa and b
    // with xb; the outputs are then a.output() and b.output(), the same bit for bit as
    // a.step(xa) and b.step(xb) would give. Over the same weights one pass over them
    // serves both channels; otherwise (or without weights) the two step in turn.
    static void stepPair(ModelNetwork& a, float xa, ModelNetwork& b, float xb);

    float output() const { return state.output; }
    const float* hidden1() const { return state.h; }
    const float* hidden2() const { return state.h + kUnits; }

  private:
    std::shared_ptr<const ModelWeights> shared;
    NetworkState state;
};

} // namespace Korvane
