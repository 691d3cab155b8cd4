// The network step on every kernel path this CPU has, against a double-precision GRU
// that reads the document's arrays in their own r, z, n order (so the loader's block
// swap and the fast layout's folding are checked as well).
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>

namespace Korvane {
namespace {

using testing::DocumentArrays;
using testing::DoubleNetwork;

class NetworkOnPath : public ::testing::TestWithParam<KernelPath> {
  protected:
    testing::ScopedKernelPath path{GetParam()};
};

std::vector<float> noisySine(int n, float amplitude, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> noise(-0.1f, 0.1f);
    std::vector<float> x;
    for (int i = 0; i < n; ++i)
        x.push_back(amplitude * (std::sin(0.031f * float(i)) + noise(rng)));
    return x;
}

TEST_P(NetworkOnPath, FollowsTheDoublePrecisionNetwork) {
    struct Case {
        unsigned seed;
        float weightScale;
        float amplitude;
    };
    // Small weights (the trained regime), larger ones that drive the gates into
    // saturation, and an input far beyond the guard's limit.
    for (const Case& c : {Case{1, 0.125f, 0.5f}, Case{2, 0.3f, 0.9f}, Case{3, 0.5f, 4.0f}}) {
        SCOPED_TRACE(c.seed);
        const DocumentArrays arrays = testing::randomArrays(c.seed, c.weightScale);
        ModelNetwork network;
        network.setWeights(testing::parse(testing::writeDocument(arrays)));
        DoubleNetwork reference(arrays);
        double worst = 0.0, largest = 0.0;
        for (float x : noisySine(3000, c.amplitude, c.seed)) {
            const double expected = reference.step(x);
            const float got = network.step(x);
            ASSERT_FLOAT_EQ(got, network.output());
            worst = std::max(worst, std::fabs(got - expected));
            largest = std::max(largest, std::fabs(expected));
        }
        EXPECT_LT(worst, 2e-5 * (1.0 + largest));
        EXPECT_GT(largest, 0.05); // the case really exercises the network
    }
}

TEST_P(NetworkOnPath, TwoChannelsSteppedTogetherFollowTheDoublePrecisionNetworkEach) {
    // Two channels over one set of weights, with different inputs: each follows its
    // own double-precision network, and gives exactly what it gives stepped alone.
    struct Case {
        unsigned seed;
        float weightScale;
        float amplitudeA, amplitudeB;
    };
    for (const Case& c :
         {Case{11, 0.125f, 0.5f, 0.05f}, Case{12, 0.3f, 0.9f, 2.0f}, Case{13, 0.5f, 4.0f, 0.7f}}) {
        SCOPED_TRACE(c.seed);
        const DocumentArrays arrays = testing::randomArrays(c.seed, c.weightScale);
        const auto weights = testing::parse(testing::writeDocument(arrays));
        ModelNetwork a, b, aloneA, aloneB;
        for (ModelNetwork* n : {&a, &b, &aloneA, &aloneB})
            n->setWeights(weights);
        DoubleNetwork referenceA(arrays), referenceB(arrays);
        const std::vector<float> inA = noisySine(3000, c.amplitudeA, c.seed);
        const std::vector<float> inB = noisySine(3000, c.amplitudeB, c.seed + 100);
        double worst = 0.0, largest = 0.0;
        for (std::size_t i = 0; i < inA.size(); ++i) {
            ModelNetwork::stepPair(a, inA[i], b, inB[i]);
            ASSERT_EQ(a.output(), aloneA.step(inA[i])) << i;
            ASSERT_EQ(b.output(), aloneB.step(inB[i])) << i;
            for (auto [got, expected] : {std::pair{double(a.output()), referenceA.step(inA[i])},
                                         std::pair{double(b.output()), referenceB.step(inB[i])}}) {
                worst = std::max(worst, std::fabs(got - expected));
                largest = std::max(largest, std::fabs(expected));
            }
        }
        for (int k = 0; k < 2 * kUnits; ++k) {
            ASSERT_EQ(a.hidden1()[k], aloneA.hidden1()[k]);
            ASSERT_EQ(b.hidden1()[k], aloneB.hidden1()[k]);
        }
        EXPECT_LT(worst, 2e-5 * (1.0 + largest));
        EXPECT_GT(largest, 0.04); // the case really exercises the network
    }
}

TEST_P(NetworkOnPath, APairOverDifferentWeightsStepsEachOnItsOwn) {
    const DocumentArrays arraysA = testing::randomArrays(21, 0.2f);
    const DocumentArrays arraysB = testing::randomArrays(22, 0.2f);
    ModelNetwork a, b;
    a.setWeights(testing::parse(testing::writeDocument(arraysA)));
    b.setWeights(testing::parse(testing::writeDocument(arraysB)));
    DoubleNetwork referenceA(arraysA), referenceB(arraysB);
    for (float x : noisySine(300, 0.6f, 21)) {
        ModelNetwork::stepPair(a, x, b, -x);
        ASSERT_NEAR(a.output(), referenceA.step(x), 2e-5);
        ASSERT_NEAR(b.output(), referenceB.step(-x), 2e-5);
    }
}

TEST_P(NetworkOnPath, ZeroWeightsGiveZeroAndKeepTheStateAtZero) {
    ModelNetwork network;
    network.setWeights(testing::parse(testing::writeDocument(testing::zeroArrays())));
    for (float x : noisySine(200, 3.0f, 7)) {
        ASSERT_EQ(network.step(x), 0.0f);
        for (int k = 0; k < kUnits; ++k) {
            ASSERT_EQ(network.hidden1()[k], 0.0f);
            ASSERT_EQ(network.hidden2()[k], 0.0f);
        }
    }
}

TEST_P(NetworkOnPath, ResetReproducesTheSameOutputs) {
    ModelNetwork network;
    const auto weights = testing::parse(testing::writeDocument(testing::randomArrays(5, 0.2f)));
    network.setWeights(weights);
    const std::vector<float> input = noisySine(500, 0.7f, 5);
    std::vector<float> first;
    for (float x : input)
        first.push_back(network.step(x));
    network.resetState();
    for (std::size_t i = 0; i < input.size(); ++i)
        ASSERT_EQ(network.step(input[i]), first[i]) << i;
    network.setWeights(weights); // a new load starts from a zero state too
    EXPECT_EQ(network.step(input[0]), first[0]);
}

TEST_P(NetworkOnPath, SaturatedGatesAndCandidatesStayExact) {
    // Only the first layer's input biases are set: z from zBias, n from nBias, so
    // h1 = c + z (h1 - c) with c = tanh(nBias) and z = sigmoid(zBias).
    struct Case {
        float zBias, nBias;
        bool holdsZero; // z == 1 exactly: h1 never leaves 0
        float expected; // otherwise h1 == tanh of the clamped candidate
    };
    const float clampTanh = float(std::tanh(7.90531110763549805));
    for (const Case& c :
         {Case{200.0f, 5.0f, true, 0.0f}, Case{1e30f, -3.0f, true, 0.0f},
          Case{-200.0f, 0.5f, false, float(std::tanh(0.5))},
          Case{-1e30f, 1000.0f, false, clampTanh}, Case{-200.0f, -1000.0f, false, -clampTanh},
          Case{-200.0f, 7.0f, false, float(std::tanh(7.0))}}) {
        SCOPED_TRACE(::testing::Message() << c.zBias << " " << c.nBias);
        DocumentArrays arrays = testing::zeroArrays();
        for (int k = 0; k < kUnits; ++k) {
            arrays.gru1.bih[kUnits + k] = c.zBias;     // document block 1 is z
            arrays.gru1.bih[2 * kUnits + k] = c.nBias; // block 2 is n
        }
        ModelNetwork network;
        network.setWeights(testing::parse(testing::writeDocument(arrays)));
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(std::isfinite(network.step(0.3f)));
            for (int k = 0; k < kUnits; ++k) {
                const float h = network.hidden1()[k];
                if (c.holdsZero)
                    ASSERT_EQ(h, 0.0f);
                else
                    ASSERT_NEAR(h, c.expected, 2e-6f);
            }
        }
    }
}

TEST_P(NetworkOnPath, ActivationsMatchTheExactFunctions) {
    const auto scale = [](int k) { return 20.0f * float(k + 1) / 64.0f; };
    // After a reset, one step gives h1 = c (1 - z): with z held at 0 it shows
    // tanh(a) unit by unit, with c held at tanh(clamp) it shows 1 - sigmoid(a). Unit k
    // sees a = s x with s = 20 (k + 1) / 64 (the input dense passes x through, and a
    // product is rounded once on every path), so 200 inputs in [-1, 1] sweep a over
    // [-20, 20].
    const double kClamp = 7.90531110763549805;
    const double clampTanh = std::tanh(kClamp);
    for (bool gate : {false, true}) {
        SCOPED_TRACE(gate ? "sigmoid" : "tanh");
        DocumentArrays arrays = testing::zeroArrays();
        std::fill(arrays.inW.begin(), arrays.inW.end(), 1.0f);
        const int swept = gate ? kUnits : 2 * kUnits; // document rows: r, z, n
        const int held = gate ? 2 * kUnits : kUnits;
        for (int k = 0; k < kUnits; ++k) {
            arrays.gru1.ih[std::size_t((swept + k) * kUnits)] = scale(k);
            arrays.gru1.bih[std::size_t(held + k)] = gate ? 1000.0f : -200.0f;
        }
        ModelNetwork network;
        network.setWeights(testing::parse(testing::writeDocument(arrays)));
        double worst = 0.0, worstRelative = 0.0;
        for (int i = 0; i <= 200; ++i) {
            const float x = float(i - 100) / 100.0f;
            network.resetState();
            network.step(x);
            for (int k = 0; k < kUnits; ++k) {
                const double a = double(scale(k) * x);
                const double expected = gate ? clampTanh * (1.0 - 1.0 / (1.0 + std::exp(-a)))
                                             : std::tanh(std::clamp(a, -kClamp, kClamp));
                const double error = std::fabs(network.hidden1()[k] - expected);
                worst = std::max(worst, error);
                worstRelative =
                    std::max(worstRelative, error / std::max(std::fabs(expected), 1e-30));
            }
        }
        // About two ulps of 1; the straightforward path's library functions are looser.
        const double tolerance = GetParam() == KernelPath::Reference ? 3.5e-7 : 1.6e-7;
        EXPECT_LT(worst, tolerance);
        if (!gate) { // tanh keeps its relative accuracy down to 0
            EXPECT_LT(worstRelative, tolerance);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, NetworkOnPath, ::testing::ValuesIn(testing::supportedPaths()),
                         [](const auto& info) { return kernelPathName(info.param); });

TEST(KernelPaths, BaselinePathsAlwaysRunAndTheBestIsSupported) {
    EXPECT_TRUE(kernelPathSupported(KernelPath::Reference));
    EXPECT_TRUE(kernelPathSupported(KernelPath::Portable));
    EXPECT_TRUE(kernelPathSupported(bestKernelPath()));
    EXPECT_TRUE(kernelPathSupported(kernelPath()));
    if (std::getenv("KORVANE_KERNEL_PATH") == nullptr) {
        EXPECT_EQ(kernelPath(), bestKernelPath());
    }
}

TEST(KernelPaths, NamesRoundTripInAnyCase) {
    struct Case {
        const char* name;
        bool known;
        KernelPath path;
    };
    for (const Case& c :
         {Case{"Reference", true, KernelPath::Reference},
          Case{"portable", true, KernelPath::Portable}, Case{"AVX2", true, KernelPath::Avx2},
          Case{"avx512", true, KernelPath::Avx512}, Case{"avx", false, KernelPath::Portable},
          Case{"", false, KernelPath::Portable}}) {
        KernelPath path = KernelPath::Portable;
        EXPECT_EQ(kernelPathFromName(c.name, path), c.known) << c.name;
        EXPECT_EQ(path, c.path) << c.name;
    }
}

} // namespace
} // namespace Korvane
