// The model processor: pass-through, resampling around the model rate, the level guard
// and the output gate.
#include "TestSupport.h"

#include "Korvane/ModelProcessor.h"
#include "Korvane/Resampler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <random>

namespace Korvane {
namespace {

// Weights whose network returns the constant outB (zero weights otherwise): y = x + outB.
std::shared_ptr<const ModelWeights> constantModel(float outB) {
    testing::DocumentArrays a = testing::zeroArrays();
    a.outB = outB;
    return testing::parse(testing::writeDocument(a));
}

TEST(ModelProcessor, UnloadedFailedOrDisabledCopiesBitForBit) {
    enum class Kind { Unloaded, Failed, Disabled };
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> d(-4.0f, 4.0f);
    std::vector<float> in0(512), in1(512);
    for (std::size_t i = 0; i < 512; ++i) {
        in0[i] = d(rng);
        in1[i] = d(rng);
    }
    for (double rate : {44100.0, 48000.0}) {
        for (Kind kind : {Kind::Unloaded, Kind::Failed, Kind::Disabled}) {
            SCOPED_TRACE(::testing::Message() << rate << " " << int(kind));
            ModelProcessor p(2);
            p.setupProcessing(rate, 512);
            if (kind == Kind::Failed)
                p.loadModel(nullptr); // what the bank hands over for a failed document
            if (kind == Kind::Disabled) {
                p.loadModel(testing::parse(testing::writeDocument(testing::randomArrays(4, 0.2f))));
                p.setEnabled(false);
            }
            std::vector<float> out0(512, 9.0f), out1(512, 9.0f);
            const float* inputs[2] = {in0.data(), in1.data()};
            float* outputs[2] = {out0.data(), out1.data()};
            for (int block = 0; block < 3; ++block) {
                p.processStereo(inputs, outputs, 512);
                ASSERT_EQ(std::memcmp(out0.data(), in0.data(), 512 * sizeof(float)), 0);
                ASSERT_EQ(std::memcmp(out1.data(), in1.data(), 512 * sizeof(float)), 0);
            }
            EXPECT_EQ(p.processSample(-3.25f), -3.25f);
        }
    }
}

TEST(InputResampler, OneSampleCallsYieldTheFirstModelSampleOnTheThirdCall) {
    InputResampler r;
    r.clear();
    std::vector<float> out;
    out.reserve(64);
    const float x = 0.25f;
    std::vector<std::size_t> sizes;
    for (int call = 0; call < 3; ++call) {
        r.process(&x, 1, 48000.0, out);
        sizes.push_back(out.size());
    }
    EXPECT_EQ(sizes, (std::vector<std::size_t>{0, 0, 1}));
    EXPECT_EQ(out[0], x); // primed history: a constant stays exact
    r.process(nullptr, 1, 48000.0, out);
    r.process(&x, 0, 48000.0, out);
    r.process(&x, 1, -1.0, out);
    EXPECT_EQ(out.size(), 1u); // bad arguments produce nothing
}

// The two resamplers as plain arithmetic: a Catmull-Rom cubic between x0 and x1 read at a
// position and fraction that advance by the rate ratio; the input side primes its four
// samples of history with the first sample, the output side starts four model samples
// behind, repeats its newest sample when it reads ahead and jumps to four behind the
// writer when it falls more than a ring behind.
float cubic(float xm1, float x0, float x1, float x2, float t) {
    const float c1 = 0.5f * (x1 - xm1);
    const float c2 = xm1 - 2.5f * x0 + 2.0f * x1 - 0.5f * x2;
    const float c3 = 1.5f * x0 - 1.5f * x1 - 0.5f * xm1 + 0.5f * x2;
    return ((c3 * t + c2) * t + c1) * t + x0;
}

struct PlainInputResampler {
    std::vector<float> seen; // every input sample, behind four of history
    std::int64_t position = 0;
    double fraction = 0.0;
    void process(const float* in, int n, double rate, std::vector<float>& out) {
        if (seen.empty())
            seen.assign(4, in[0]);
        seen.insert(seen.end(), in, in + n);
        const std::int64_t start = std::int64_t(seen.size()) - n; // index of in[0]
        while (position <= n - 3) {
            const auto x = [&](std::int64_t i) { return seen[std::size_t(start + position + i)]; };
            out.push_back(cubic(x(-1), x(0), x(1), x(2), float(fraction)));
            const double a = rate / 44100.0 + fraction;
            position += std::int64_t(std::floor(a));
            fraction = a - std::floor(a);
        }
        position -= n;
    }
};

struct PlainOutputResampler {
    std::size_t ringSize;
    std::vector<float> written;
    std::int64_t read = -4;
    double fraction = 0.0;
    void process(const float* in, int n, float* out, int frames, double rate) {
        written.insert(written.end(), in, in + n);
        const auto count = std::int64_t(written.size());
        if (count - read > std::int64_t(ringSize) - 4)
            read = count - 4, fraction = 0.0;
        const auto x = [&](std::int64_t j) {
            return j < 0 || count == 0 ? 0.0f : written[std::size_t(std::min(j, count - 1))];
        };
        for (int i = 0; i < frames; ++i) {
            out[i] = cubic(x(read - 1), x(read), x(read + 1), x(read + 2), float(fraction));
            const double a = 44100.0 / rate + fraction;
            read += std::int64_t(std::floor(a));
            fraction = a - std::floor(a);
        }
    }
};

TEST(Resamplers, FollowTheCubicTheirHistoryAndTheirReadPosition) {
    struct Case {
        const char* what;
        double rate;
        int most;    // host frames per call: 1 to most
        int starved; // every starved-th call hands the output side no model samples
        int flood;   // every flood-th call hands it 48 model samples for one frame
    } cases[] = {
        {"48 kHz", 48000, 64, 0, 0},       {"96 kHz, one frame a call", 96000, 1, 0, 0},
        {"32 kHz", 32000, 37, 0, 0},       {"22.05 kHz", 22050, 64, 0, 0},
        {"reading ahead", 96000, 8, 3, 0}, {"falling behind", 48000, 4, 0, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::mt19937 random(5);
        InputResampler in;
        in.clear();
        OutputResampler out;
        out.allocate(64);
        std::uniform_real_distribution<float> sample(-0.9f, 0.9f);
        std::vector<float> x(64), got(64), want(64), flood(48, 0.3f);
        // From set-up, then again from a reset in the middle of the stream.
        for (int round = 0; round < 2; ++round) {
            if (round == 1)
                in.clear(), out.clear();
            PlainInputResampler plainIn;
            PlainOutputResampler plainOut{64};
            for (int call = 1; call <= 200; ++call) {
                const int n = 1 + int(random() % unsigned(c.most));
                for (int i = 0; i < n; ++i)
                    x[i] = sample(random);
                std::vector<float> a, b;
                a.reserve(64);
                in.process(x.data(), n, c.rate, a);
                plainIn.process(x.data(), n, c.rate, b);
                ASSERT_EQ(a.size(), b.size()) << call;
                for (std::size_t i = 0; i < a.size(); ++i)
                    ASSERT_NEAR(a[i], b[i], 1e-6f) << call << " " << i;
                if (c.starved && call % c.starved == 0)
                    a.clear();
                if (c.flood && call % c.flood == 0)
                    a = flood;
                out.process(a.data(), int(a.size()), got.data(), n, c.rate);
                plainOut.process(a.data(), int(a.size()), want.data(), n, c.rate);
                for (int i = 0; i < n; ++i)
                    ASSERT_NEAR(got[i], want[i], 1e-6f) << round << " " << call << " " << i;
            }
        }
    }
}

// Phase of a sine of frequency f (cycles per sample) in y[from, from + n).
double phaseAt(const std::vector<float>& y, std::size_t from, std::size_t n, double f) {
    double s = 0.0, c = 0.0;
    for (std::size_t i = from; i < from + n; ++i) {
        const double w = 2.0 * std::numbers::pi * f * double(i);
        s += y[i] * std::sin(w);
        c += y[i] * std::cos(w);
    }
    return std::atan2(c, s);
}

TEST(ModelProcessor, OneSampleResamplingHoldsAConstantLatencyForTenSeconds) {
    for (double rate : {48000.0, 96000.0, 22050.0}) {
        SCOPED_TRACE(rate);
        ModelProcessor p(1);
        p.setupProcessing(rate, 512);
        p.loadModel(constantModel(0.0f)); // the identity model
        p.reset();
        const std::size_t n = std::size_t(10.0 * rate);
        const double f = 1000.0 / rate;
        std::vector<float> y(n);
        for (std::size_t i = 0; i < n; ++i)
            y[i] = p.processSample(float(0.5 * std::sin(2.0 * std::numbers::pi * f * double(i))));
        if (rate == 48000.0) {
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(y[std::size_t(i)], 0.0f) << i; // read position -4: zeros first
        }
        // The lag of the output behind the input, a second in and near the end.
        const std::size_t window = std::size_t(rate / 10);
        const double early = phaseAt(y, std::size_t(rate), window, f);
        const double late = phaseAt(y, n - window, window, f);
        EXPECT_NEAR(std::remainder(late - early, 2.0 * std::numbers::pi), 0.0, 1e-3);
        // The lag itself is a few samples (about four model-rate samples and the cubic).
        const double lagSamples =
            -std::remainder(early, 2.0 * std::numbers::pi) / (2.0 * std::numbers::pi * f);
        EXPECT_GT(lagSamples, 1.0);
        EXPECT_LT(lagSamples, 12.0);
        double peak = 0.0;
        for (std::size_t i = n - window; i < n; ++i)
            peak = std::max(peak, double(std::fabs(y[i])));
        EXPECT_NEAR(peak, 0.5, 0.01);
    }
}

TEST(ModelProcessor, GuardHalvesAPeakOf1_9FromItsFirstZeroCrossing) {
    ModelProcessor p(2);
    p.setupProcessing(44100.0, 64);
    p.loadModel(constantModel(0.0f));
    struct Block {
        std::vector<float> left, right;
        std::vector<float> leftGain, rightGain; // expected gain per sample
    };
    const Block blocks[] = {
        // Quiet: gain 1 throughout.
        {std::vector<float>(8, 0.3f), std::vector<float>(8, 0.3f), std::vector<float>(8, 1.0f),
         std::vector<float>(8, 1.0f)},
        // Peak 1.9 on the left: both channels change to 0.5 at their own first crossing;
        // the samples before it (the 1.9 among them) keep the previous gain.
        {{0.2f, 0.4f, 1.9f, 0.5f, -0.7f, -1.9f, 0.3f, 0.2f},
         {0.1f, -0.1f, -0.2f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f},
         {1, 1, 1, 1, 0.5f, 0.5f, 0.5f, 0.5f},
         {1, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f}},
        // Quiet again: back to 1 from the first crossing.
        {{0.2f, -0.2f, 0.2f, 0.2f}, {0.1f, 0.1f, -0.1f, 0.1f}, {0.5f, 1, 1, 1}, {0.5f, 0.5f, 1, 1}},
        // The peak on the right guards the left as well.
        {{0.3f, -0.3f, 0.3f, 0.3f},
         {1.9f, -0.5f, 0.5f, 0.5f},
         {1, 0.5f, 0.5f, 0.5f},
         {1, 0.5f, 0.5f, 0.5f}},
        // A zero is no sign change: the gain changes at the first product below 0.
        {{0.0f, -0.2f, 0.2f, 0.2f},
         {0.1f, 0.1f, 0.1f, 0.1f},
         {0.5f, 0.5f, 1, 1},
         {0.5f, 0.5f, 0.5f, 0.5f}},
    };
    for (const Block& b : blocks) {
        const int n = int(b.left.size());
        std::vector<float> outL(b.left.size()), outR(b.right.size());
        const float* inputs[2] = {b.left.data(), b.right.data()};
        float* outputs[2] = {outL.data(), outR.data()};
        p.processStereo(inputs, outputs, n);
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(outL[i], b.left[i] * b.leftGain[i]) << i;
            EXPECT_EQ(outR[i], b.right[i] * b.rightGain[i]) << i;
        }
    }
}

TEST(ModelProcessor, GateFallsToTheFloorInSilence) {
    for (double rate : {44100.0, 48000.0}) {
        SCOPED_TRACE(rate);
        ModelProcessor p(1);
        p.setupProcessing(rate, 64);
        p.loadModel(constantModel(0.1f)); // y = x + 0.1
        for (int i = 0; i < int(rate); ++i)
            p.processSample(0.5f * std::sin(0.05f * float(i)));
        float y = 0.0f;
        for (int i = 0; i < int(rate / 100); ++i)
            y = p.processSample(0.0f);
        EXPECT_NEAR(y, 0.1f, 1e-3f); // 10 ms into the silence the gate is still open
        for (int i = 0; i < int(3 * rate); ++i)
            y = p.processSample(0.0f);
        EXPECT_NEAR(y, 0.1f * 0.001f, 1e-7f);
    }
}

TEST(ModelProcessor, BelowItsThresholdTheGateFollowsTheEnvelope) {
    struct Case {
        float dry, gain;
    } cases[] = {
        {0.002f, (0.002f / 0.0031622776f) * 0.999f + 0.001f}, // -54 dB: attenuated
        {0.0035f, 1.0f},                                      // above -50 dB: open
    };
    for (const Case c : cases) {
        SCOPED_TRACE(c.dry);
        ModelProcessor p(1);
        p.setupProcessing(44100.0, 64);
        p.loadModel(constantModel(0.0f)); // y = x
        float y = 0.0f;
        for (int i = 0; i < 44100; ++i)
            y = p.processSample(c.dry);
        EXPECT_NEAR(y, c.dry * c.gain, c.dry * 1e-4f);
    }
}

TEST(ModelProcessor, NullPointersSkipTheirChannel) {
    std::vector<float> in0(64), in1(64);
    for (int i = 0; i < 64; ++i) {
        in0[std::size_t(i)] = 0.5f * std::sin(0.2f * float(i));
        in1[std::size_t(i)] = 0.3f * std::cos(0.1f * float(i));
    }
    const auto weights = testing::parse(testing::writeDocument(testing::randomArrays(8, 0.2f)));
    const auto run = [&](bool nullOutput, bool nullInput) {
        ModelProcessor p(2);
        p.setupProcessing(48000.0, 64);
        p.loadModel(weights);
        std::vector<float> out0(64, 7.0f), out1(64, 7.0f);
        const float* inputs[2] = {in0.data(), nullInput ? nullptr : in1.data()};
        float* outputs[2] = {out0.data(), nullOutput ? nullptr : out1.data()};
        for (int block = 0; block < 4; ++block)
            p.processStereo(inputs, outputs, 64);
        return std::pair{out0, out1};
    };
    const auto both = run(false, false);
    const auto noOutput = run(true, false);
    EXPECT_EQ(noOutput.first, both.first);
    const auto noInput = run(false, true);
    EXPECT_EQ(noInput.second, std::vector<float>(64, 7.0f)); // left as it was
}

} // namespace
} // namespace Korvane
