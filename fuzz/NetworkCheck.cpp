#include "NetworkCheck.h"

#include "Korvane/ModelNetwork.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace fuzzing {

namespace {

constexpr int kSteps = 48;

// Sample n of signal s: an impulse, a fixed noise sequence in [-1, 1), a full-scale
// square wave of 8-sample half periods.
float signal(int s, int n) {
    switch (s) {
    case 0:
        return n == 0 ? 1.0f : 0.0f;
    case 1: {
        unsigned x = 2463534242u ^ unsigned(n * 2654435761u); // xorshift of the index
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        return float(x) / 2147483648.0f - 1.0f;
    }
    default:
        return (n / 8) % 2 == 0 ? 1.0f : -1.0f;
    }
}

} // namespace

void requireFiniteOutput(const std::shared_ptr<const Korvane::ModelWeights>& weights) {
    using Korvane::KernelPath;
    const KernelPath previous = Korvane::kernelPath();
    for (KernelPath path :
         {KernelPath::Reference, KernelPath::Portable, KernelPath::Avx2, KernelPath::Avx512}) {
        if (!Korvane::setKernelPath(path))
            continue;
        for (int s = 0; s < 3; ++s) {
            Korvane::ModelNetwork network;
            network.setWeights(weights);
            for (int n = 0; n < kSteps; ++n) {
                const float y = network.step(signal(s, n));
                if (!std::isfinite(y)) {
                    std::fprintf(stderr,
                                 "accepted weights give %g on the %s path (signal %d, step %d)\n",
                                 double(y), Korvane::kernelPathName(path), s, n);
                    std::abort();
                }
            }
        }
    }
    Korvane::setKernelPath(previous);
}

} // namespace fuzzing
