#pragma once
// The delay-line network written the plain way with Eigen, for comparison only: fused
// 192 x 64 gate matrices (r, z, n as the weight documents hold them), Eigen's
// matrix-vector products and its vectorised logistic and tanh. Built on its own with
// -O3 -march=native as a shared library whose Eigen code stays inside it, so neither
// its instantiations nor the engine's stand in for the other's. Not real-time code:
// one network per channel, one thread.

#include <memory>

namespace Korvane::bench {

struct PlainEigenArrays {
    const float* inW;  // [64]
    const float* inB;  // [64]
    const float* ih1;  // [192][64], row-major, rows r, z, n
    const float* hh1;  // [192][64]
    const float* bih1; // [192]
    const float* bhh1; // [192]
    const float* ih2;
    const float* hh2;
    const float* bih2;
    const float* bhh2;
    const float* outW; // [64]
    float outB;
};

class __attribute__((visibility("default"))) PlainEigenNetwork {
  public:
    explicit PlainEigenNetwork(const PlainEigenArrays& arrays);
    ~PlainEigenNetwork();
    // One step: dense, two GRU layers, dense; returns the correction net(x).
    float step(float x);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};

} // namespace Korvane::bench
