#include "KernelFixture.h"
#include "KernelMath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace kerneltest;

namespace {

constexpr float pi = 3.14159265358979323846f;
constexpr std::size_t D = 4410; // 100 ms at 44.1 kHz

Channels impulse(std::uint32_t channels, std::size_t frames, float amplitude = 0.5f) {
    Channels in = silence(channels, frames);
    for (auto& channel : in)
        channel[0] = amplitude;
    return in;
}

// The largest |sample| of a channel away from the given positions (+-1).
float largestElsewhere(const std::vector<float>& x, std::initializer_list<std::size_t> spots) {
    float largest = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        bool near = false;
        for (std::size_t s : spots)
            near = near || (i + 1 >= s && i <= s + 1);
        if (!near)
            largest = std::max(largest, std::fabs(x[i]));
    }
    return largest;
}

TEST(KernelProcess, EchoAtTheDelayAndEachRepeatScaledByTheLoopGain) {
    struct Case {
        int model;
        float dirt, feedback, amplitude;
    };
    // Levels stay where the models' input guard (0.95) and gate (-50 dB) are idle.
    // The models' output gains; any other model (or none) plays the line dry at 1.0.
    const float kGain[4] = {0.631f, 0.582f, 1.0f, 1.06f};
    const Case cases[] = {{2, 0, 80, 0.5f},   {-1, 0, 80, 0.5f},  {0, 0, 100, 0.5f},
                          {0, 50, 100, 0.5f}, {3, -50, 60, 0.9f}, {1, 20, 120, 0.5f}};
    for (const Case c : cases) {
        DSPKernel kernel;
        prepare(kernel, {{DSPKernel::modelAddress, float(c.model)},
                         {DSPKernel::dirtAddress, c.dirt},
                         {DSPKernel::feedbackAddress, c.feedback}});
        const float V = kernel.drive.current, C = kernel.compensation.current;
        const float G = c.model >= 0 && c.model < 4 ? kGain[c.model] : 1.0f;
        const float F = kernel.feedbackSmoother.current;
        const Channels out = render(kernel, impulse(2, 2 * D + 100, c.amplitude), 2);
        for (int ch = 0; ch < 2; ++ch) {
            const auto& y = out[ch];
            EXPECT_NEAR(y[D], c.amplitude * V * G * C, 1e-5f) << c.model << " " << c.dirt;
            EXPECT_NEAR(y[2 * D] / y[D], F * G * C * V, 1e-4f) << c.model << " " << c.dirt;
            EXPECT_LT(largestElsewhere(y, {D, 2 * D}), 1e-6f);
        }
    }
}

// The DC blocker in the feedback path (on unless a test turns it off): a constant at
// the input cannot pile up around the loop, while an echo of a tone comes back at its
// level (the corner lies two octaves below the lowest low cut).
TEST(KernelProcess, TheFeedbackPathBlocksDCButPassesTheBand) {
    struct Case {
        double rate;
    };
    for (const Case c : {Case{44100.0}, Case{48000.0}}) {
        SCOPED_TRACE(c.rate);
        const float coefficient = std::exp(-2.0f * pi * DSPKernel::kDcBlockerHz / float(c.rate));
        DSPKernel fresh; // on by default
        fresh.initialize(c.rate);
        EXPECT_FLOAT_EQ(fresh.dcBlockerCoefficient, coefficient);
        // A step of 0.1 for 3 s at 90 % feedback: the plain loop piles it up towards
        // 0.1 / (1 - 0.9) = 1, the blocked one brings the wet output back to 0.
        const auto frames = std::size_t(3 * c.rate);
        Channels step = silence(1, frames);
        std::fill(step[0].begin(), step[0].end(), 0.1f);
        DSPKernel plainLoop, blockedLoop;
        prepare(plainLoop, {{DSPKernel::feedbackAddress, 90}}, 1, c.rate);
        prepare(blockedLoop, {{DSPKernel::feedbackAddress, 90}}, 1, c.rate);
        blockedLoop.dcBlockerCoefficient = coefficient;
        EXPECT_GT(render(plainLoop, step, 1)[0].back(), 0.5f);
        const Channels out = render(blockedLoop, step, 1);
        EXPECT_NEAR(out[0].back(), 0.0f, 1e-3f);
        float peak = 0.0f;
        for (float v : out[0])
            peak = std::max(peak, std::fabs(v));
        EXPECT_LT(peak, 0.2f);

        // One echo of a 100 Hz tone burst: within 0.05 dB of the plain loop's.
        DSPKernel plain, blocked;
        prepare(plain, {{DSPKernel::feedbackAddress, 0}}, 1, c.rate);
        prepare(blocked, {{DSPKernel::feedbackAddress, 0}}, 1, c.rate);
        blocked.dcBlockerCoefficient = coefficient;
        Channels burst = silence(1, std::size_t(0.4 * c.rate));
        for (std::size_t i = 0; i < std::size_t(0.05 * c.rate); ++i)
            burst[0][i] = 0.5f * std::sin(2.0f * pi * 100.0f * float(i) / float(c.rate));
        const Channels a = render(plain, burst, 1), b = render(blocked, burst, 1);
        double ea = 0.0, eb = 0.0;
        for (std::size_t i = 0; i < a[0].size(); ++i) {
            ea += double(a[0][i]) * a[0][i];
            eb += double(b[0][i]) * b[0][i];
        }
        EXPECT_NEAR(10.0 * std::log10(eb / ea), 0.0, 0.05);
    }
}

TEST(KernelProcess, CutFiltersShapeTheWetSignalOutsideTheLoop) {
    DSPKernel kernel;
    prepare(kernel, {{DSPKernel::lowCutAddress, 1000},
                     {DSPKernel::highCutAddress, 5000},
                     {DSPKernel::feedbackAddress, 80}});
    const float L = kernel.lowCutCoefficient.current, H = kernel.highCutCoefficient.current;
    const Channels out = render(kernel, impulse(2, 2 * D + 10), 2);
    const auto& y = out[0];
    EXPECT_NEAR(y[D - 1], 0.0f, 1e-7f);
    // The echo's first samples: low cut y = L (x + y1 - x1), then high cut y = (1-H) x + H y1.
    float lowIn = 0, lowOut = 0, high = 0;
    for (std::size_t k = 0; k < 8; ++k) {
        const float x = k == 0 ? 0.5f : 0.0f;
        lowOut = L * (x + lowOut - lowIn);
        lowIn = x;
        high = (1 - H) * lowOut + H * high;
        EXPECT_NEAR(y[D + k], high, 1e-6f) << k;
    }
    // The repeat went round the loop unfiltered: filtered once, scaled by F only.
    for (std::size_t k = 0; k < 8; ++k)
        EXPECT_NEAR(y[2 * D + k], 0.8f * y[D + k], 1e-5f) << k;
}

TEST(KernelProcess, SpreadOffsetsTheChannelsAndWidthMixesThem) {
    {
        DSPKernel kernel;
        prepare(kernel, {{DSPKernel::spreadAddress, 10}}); // 441 samples
        const Channels out = render(kernel, impulse(2, D + 500), 2);
        EXPECT_NEAR(out[0][D + 441], 0.5f, 1e-6f);
        EXPECT_NEAR(out[1][D - 441], 0.5f, 1e-6f);
        EXPECT_LT(largestElsewhere(out[0], {D + 441}), 1e-6f);
    }
    for (float w : {1.0f, 0.0f, -1.0f, 2.0f, 0.5f}) {
        DSPKernel kernel;
        prepare(kernel, {{DSPKernel::widthAddress, w * 100}});
        Channels in = silence(2, D + 10);
        in[0][0] = 0.5f; // left only
        const Channels out = render(kernel, in, 2);
        EXPECT_NEAR(out[0][D], 0.5f * (1 + w) / 2, 1e-6f) << w; // mid + side
        EXPECT_NEAR(out[1][D], 0.5f * (1 - w) / 2, 1e-6f) << w; // mid - side
    }
}

TEST(KernelProcess, DryAndWetMixWithEqualPower) {
    for (float mix : {0.0f, 25.0f, 50.0f, 100.0f}) {
        DSPKernel kernel;
        prepare(kernel, {{DSPKernel::mixAddress, mix}});
        const Channels out = render(kernel, impulse(2, D + 10), 2);
        const float angle = mix * 0.01f * pi / 2;
        EXPECT_NEAR(out[1][0], 0.5f * std::cos(angle), 1e-6f) << mix;
        EXPECT_NEAR(out[1][D], 0.5f * std::sin(angle), 1e-6f) << mix;
    }
}

TEST(KernelProcess, BypassCopiesTheInputAlsoInPlace) {
    for (bool inPlace : {false, true}) {
        DSPKernel kernel;
        prepare(kernel, {{DSPKernel::modRateAddress, 3}});
        kernel.bypass = true;
        Channels in = silence(2, 256);
        for (std::size_t i = 0; i < 256; ++i) {
            in[0][i] = std::sin(0.05f * float(i));
            in[1][i] = 0.25f * std::cos(0.03f * float(i));
        }
        const Channels original = in;
        Channels out = silence(2, 256);
        const float* inputs[2] = {in[0].data(), in[1].data()};
        float* outputs[2] = {inPlace ? in[0].data() : out[0].data(),
                             inPlace ? in[1].data() : out[1].data()};
        kernel.process(inputs, 2, outputs, 2, 256);
        for (int c = 0; c < 2; ++c)
            for (std::size_t i = 0; i < 256; ++i)
                ASSERT_EQ(outputs[c][i], original[c][i]) << inPlace << " " << c << " " << i;
        EXPECT_EQ(kernel.lfoPhase, 0.0f); // the oscillator does not move
        kernel.publishMeters();
        EXPECT_EQ(kernel.outLevelDb[0].load(), kernel.inLevelDb[0].load());
        EXPECT_EQ(kernel.outLevelDb[1].load(), kernel.inLevelDb[1].load());
        EXPECT_NEAR(kernel.inLevelDb[1], 20 * std::log10(0.25f), 1e-3f);
    }
}

TEST(KernelProcess, MonoAndThreeChannelOutputs) {
    {
        DSPKernel kernel; // one output: no spread, no width
        prepare(kernel, {{DSPKernel::spreadAddress, 10}, {DSPKernel::widthAddress, -100}});
        const Channels out = render(kernel, impulse(2, D + 10), 1);
        EXPECT_NEAR(out[0][D], 0.5f, 1e-6f);
        EXPECT_FALSE(kernel.isStereo);
        EXPECT_EQ(kernel.outputRightBuffer[0], kernel.outputLeftBuffer[0]);
        kernel.publishMeters();
        EXPECT_EQ(kernel.meterIsStereo, 0u);
    }
    {
        DSPKernel kernel; // stereo banks, three outputs: the third copies the first
        prepare(kernel, {{DSPKernel::spreadAddress, 5}, {DSPKernel::mixAddress, 60}});
        Channels in = impulse(2, D + 400);
        in[1][0] = -0.3f;
        const Channels out = render(kernel, in, 3);
        EXPECT_EQ(out[2], out[0]);
        EXPECT_NE(out[1], out[0]);
    }
}

TEST(KernelProcess, SquareShapeAtDepthZeroIsAPlainRead) {
    Channels in = silence(2, 3 * D);
    std::uint32_t seed = 1;
    for (auto& channel : in)
        for (float& x : channel) {
            seed = seed * 1664525u + 1013904223u;
            x = 0.5f * (float(seed >> 8) / 16777216.0f - 0.5f);
        }
    Channels results[2];
    for (int shape : {0, 2}) {
        DSPKernel kernel;
        prepare(kernel, {{DSPKernel::lfoTypeAddress, float(shape)},
                         {DSPKernel::modRateAddress, 5},
                         {DSPKernel::spreadAddress, 3},
                         {DSPKernel::feedbackAddress, 50},
                         {DSPKernel::delayMsAddress, 33.3f}});
        results[shape / 2] = render(kernel, in, 2);
    }
    EXPECT_EQ(results[0], results[1]);
}

TEST(KernelProcess, ShortAndLongTimesStayInsideTheLine) {
    struct Case {
        float ms;
        std::size_t echoAt;
    };
    for (const Case c : {Case{0, 1}, {0.01f, 1}}) {
        DSPKernel kernel; // below one sample reads one sample back
        prepare(kernel, {{DSPKernel::delayMsAddress, c.ms}});
        const Channels out = render(kernel, impulse(2, 16), 2);
        EXPECT_NEAR(out[0][c.echoAt], 0.5f, 1e-6f) << c.ms;
    }
    DSPKernel kernel; // 5000 ms plus 100 ms of depth still fits
    prepare(kernel, {{DSPKernel::delayMsAddress, 5000},
                     {DSPKernel::modDepthAddress, 100},
                     {DSPKernel::lfoTypeAddress, 2},
                     {DSPKernel::spreadAddress, 25}});
    const Channels out = render(kernel, impulse(2, 8000), 2);
    EXPECT_EQ(out[0][100], 0.0f);
}

TEST(KernelProcess, RunawayFeedbackWithoutAModelStaysFinite) {
    struct Case {
        const char* what;
        int model;
        bool failedLoads;
    };
    for (const Case c : {Case{"no model", -1, false},
                         {"model out of range", 7, false},
                         {"failed load", 1, true}}) {
        DSPKernel kernel;
        configure(kernel, {{DSPKernel::modelAddress, float(c.model)},
                           {DSPKernel::feedbackAddress, 150},
                           {DSPKernel::delayMsAddress, 5},
                           {DSPKernel::mixAddress, 50}});
        kernel.setModelWeights(c.failedLoads ? DSPKernel::ModelWeightSet{} : identityModels());
        kernel.initialize(44100);
        Channels in = silence(2, 44100 * 4);
        for (std::size_t i = 0; i < 1000; ++i)
            in[0][i] = in[1][i] = std::sin(0.1f * float(i));
        in[0][500] = std::numeric_limits<float>::quiet_NaN();
        in[1][501] = std::numeric_limits<float>::infinity();
        const Channels out = render(kernel, in, 2);
        for (const auto& channel : out)
            for (float y : channel)
                ASSERT_TRUE(std::isfinite(y)) << c.what;
        for (const auto& line : kernel.delayLines)
            for (float s : line)
                ASSERT_LE(std::fabs(s), DSPKernel::kLineLimit) << c.what;
        kernel.publishMeters();
        EXPECT_TRUE(std::isfinite(kernel.inLevelDb[0].load())) << c.what;
    }
}

TEST(KernelProcess, ModelOutputGainFollowsTheCrossfade) {
    DSPKernel kernel;
    prepare(kernel, {{DSPKernel::modelAddress, 0}, {DSPKernel::delayMsAddress, 10}});
    const float g0 = DSPKernel::modelOutputGainOf(0), g3 = DSPKernel::modelOutputGainOf(3);
    Channels steady = silence(2, 2000);
    for (auto& channel : steady)
        std::fill(channel.begin(), channel.end(), 0.5f);
    render(kernel, steady, 2); // the line is full of 0.5: the wet output is 0.5 G
    EXPECT_NEAR(kernel.modelOutputGain(), g0, 1e-7f);

    kernel.setParameter(DSPKernel::modelAddress, 3);
    Channels after = silence(2, 3000);
    for (auto& channel : after)
        std::fill(channel.begin(), channel.end(), 0.5f);
    const Channels out = render(kernel, after, 2, 64);
    EXPECT_EQ(kernel.model, 3);
    EXPECT_FLOAT_EQ(kernel.modelOutputGain(), g3);
    EXPECT_NEAR(out[0][0], 0.5f * g0, 1e-5f);
    EXPECT_NEAR(out[0][1024], 0.5f * (g0 + g3) / 2, 1e-4f); // half way through the fade
    EXPECT_NEAR(out[0][2999], 0.5f * g3, 1e-5f);
    float largestStep = 0;
    for (std::size_t i = 1; i < out[0].size(); ++i)
        largestStep = std::max(largestStep, std::fabs(out[0][i] - out[0][i - 1]));
    EXPECT_LT(largestStep, 1e-3f); // a jump would be 0.5 (g3 - g0) ~ 0.21
}

// With identity models a ramp written into the line reads back as its own position: the
// tap of frame n stands p = n - out[n] / g[n] samples behind, where g[n] is what the same
// ramp gives through an unmodulated 100 ms tap (the fixture's DC blocker at coefficient 1
// still rounds y + y1 - x1, which a long ramp would read as a drift; the models' glides
// add their 1e-5). Each shape's tap is followed, to within a
// sample, against t = D + M (1 + lfo) / 2 with the oscillator stepped as the kernel
// steps it.
TEST(KernelProcess, ModulationMovesTheTapAsEachShapeSays) {
    struct Case {
        const char* what;
        int shape;
        float rate;
    } cases[] = {
        {"triangle", 0, 5},
        {"sine", 1, 5},
        {"square", 2, 5},
        {"smooth random", 3, 5},
        {"slowest moving rate", 0, 0.05f},
        {"standing still", 1, 0.01f},
    };
    constexpr float ms = 100, depthMs = 10, scale = 262144;
    const auto ramp = [](std::size_t frames) {
        Channels x = silence(2, frames);
        for (auto& channel : x)
            for (std::size_t i = 0; i < frames; ++i)
                channel[i] = float(i) / scale;
        return x;
    };
    std::vector<double> gain(20000, 1.0);
    {
        DSPKernel kernel;
        prepare(kernel, {{DSPKernel::delayMsAddress, ms}});
        const Channels out = render(kernel, ramp(gain.size()), 2);
        for (std::size_t i = 5000; i < gain.size(); ++i)
            gain[i] = double(out[0][i]) * scale / double(i - 4410);
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DSPKernel kernel;
        prepare(kernel, {{DSPKernel::delayMsAddress, ms},
                         {DSPKernel::modDepthAddress, depthMs},
                         {DSPKernel::modRateAddress, c.rate},
                         {DSPKernel::lfoTypeAddress, float(c.shape)}});
        // The oscillator as the kernel runs it, from its reset.
        float phi = 0, square = 1, previous = kernel.randomPrevious, next = kernel.randomNext;
        std::uint32_t state = kernel.randomState;
        const Channels out = render(kernel, ramp(gain.size()), 2);
        double worst = 0;
        std::size_t where = 0;
        for (std::size_t i = 0; i < gain.size(); ++i) {
            float lfo = 0;
            if (c.shape == 0)
                lfo = 1 - 4 * std::fabs(phi - 0.5f);
            else if (c.shape == 1)
                lfo = std::sin(2 * pi * phi);
            else if (c.shape == 2)
                lfo = square +=
                    std::clamp((phi < 0.5f ? 1.0f : -1.0f) - square, -2 / 220.5f, 2 / 220.5f);
            else
                lfo = previous + (next - previous) * phi * phi * (3 - 2 * phi);
            const double expected = (ms + depthMs * (0.5f + 0.5f * lfo)) * 44.1f;
            if (i >= 7000)
                for (const auto& channel : out) {
                    const double p = double(i) - double(channel[i]) * scale / gain[i];
                    if (std::fabs(p - expected) > worst)
                        worst = std::fabs(p - expected), where = i;
                }
            if (c.rate > 0.01f) {
                phi += c.rate / 44100.0f;
                if (phi >= 1) {
                    phi -= std::floor(phi);
                    previous = next;
                    next = kernelmath::nextRandom(state);
                }
            }
        }
        EXPECT_LT(worst, 1.0) << "at frame " << where;
    }
}

TEST(KernelProcess, BlocksLongerThanTheMeterBuffersRenderInPieces) {
    Channels in = impulse(2, 3000);
    in[1][1700] = -0.4f;
    Channels whole, pieces;
    for (std::uint32_t block : {3000u, 64u}) {
        DSPKernel kernel;
        kernel.maxFrames = 64;
        prepare(kernel, {{DSPKernel::delayMsAddress, 20}, {DSPKernel::feedbackAddress, 70}});
        (block == 64 ? pieces : whole) = render(kernel, in, 2, block);
    }
    EXPECT_EQ(whole, pieces);
    EXPECT_NEAR(whole[0][882], 0.5f, 1e-6f);
}

TEST(KernelProcess, MetersReadTheirOwnChannels) {
    struct Case {
        const char* what;
        std::uint32_t banks, outputs;
        float outRightPeak; // the input peak the right output meter shows, times the dry gain
        bool stereo;
    };
    // Left input peaks at 0.5, right at 0.25; the echo is still on its way, so the
    // outputs carry the dry signal alone.
    const Case cases[] = {
        {"stereo", 2, 2, 0.25f, true},
        {"one bank, two outputs: the right output meter repeats the left", 1, 2, 0.5f, true},
        {"mono output", 2, 1, 0.5f, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DSPKernel kernel;
        prepare(kernel, {{DSPKernel::mixAddress, 50}}, c.banks);
        Channels in = silence(2, 512);
        for (std::size_t i = 0; i < 512; ++i) {
            in[0][i] = 0.5f * std::sin(0.05f * float(i));
            in[1][i] = 0.25f * std::cos(0.05f * float(i));
        }
        const Channels out = render(kernel, in, c.outputs);
        if (c.outputs == 2 && c.banks == 1) {
            EXPECT_EQ(out[1], out[0]);
        }
        kernel.publishMeters();
        const float gd = std::cos(0.5f * pi / 2);
        EXPECT_NEAR(kernel.inLevelDb[0], 20 * std::log10(0.5f), 1e-3f);
        EXPECT_NEAR(kernel.inLevelDb[1], 20 * std::log10(0.25f), 1e-3f);
        EXPECT_NEAR(kernel.outLevelDb[0], 20 * std::log10(0.5f * gd), 1e-3f);
        EXPECT_NEAR(kernel.outLevelDb[1], 20 * std::log10(c.outRightPeak * gd), 1e-3f);
        EXPECT_EQ(kernel.isStereo, c.stereo);
    }
}

TEST(KernelProcess, NoteTimeAtTheFirstCallsTempoIsHeardAtOnce) {
    // Set up at 120 BPM (a quarter is 500 ms); the host reports 240 BPM before the first
    // call: the first echo comes at 250 ms, with no glide from 500 ms.
    DSPKernel kernel;
    prepare(kernel, {{DSPKernel::delayTypeAddress, 0}, {DSPKernel::delayNoteAddress, 3}});
    EXPECT_EQ(kernel.delayTime.current, 500.0f);
    kernel.tempo = 240.0;
    const Channels out = render(kernel, impulse(1, 11100), 1);
    EXPECT_NEAR(out[0][11025], 0.5f, 1e-6f);
    EXPECT_LT(largestElsewhere(out[0], {11025}), 1e-6f);
}

} // namespace
