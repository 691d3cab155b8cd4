// The trained models inside the delay kernel: a runaway at 150 % feedback stays finite
// and bounded, a long one stays free of DC and of samples stuck at full scale, and the
// output does not depend on how the audio is split into blocks.
#include "DSPKernel.h"
#include "Korvane/ModelNetwork.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

namespace {

TEST(TrainedModelsInTheKernel, ARunawayAt150PercentFeedbackStaysFiniteAndBounded) {
    constexpr int kRate = 44100;
    constexpr std::uint32_t kBlock = 512;
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
    std::vector<float> input(kRate * 4, 0.0f);
    std::generate_n(input.begin(), kRate / 10, [&] { return noise(rng); });
    for (int model = 0; model < DSPKernel::kModelCount; ++model) {
        SCOPED_TRACE(model);
        auto kernel = std::make_unique<DSPKernel>();
        for (auto [address, value] : {std::pair{DSPKernel::delayTypeAddress, 1.0f},
                                      {DSPKernel::delayMsAddress, 50.0f},
                                      {DSPKernel::mixAddress, 50.0f},
                                      {DSPKernel::feedbackAddress, 150.0f},
                                      {DSPKernel::modelAddress, float(model)}})
            kernel->setParameter(address, value);
        kernel->channelCount = 1;
        kernel->initialize(kRate);
        std::vector<float> output(input.size());
        float peak = 0.0f;
        bool finite = true;
        for (std::size_t done = 0; done < input.size(); done += kBlock) {
            const float* in[] = {input.data() + done};
            float* out[] = {output.data() + done};
            const auto frames = std::uint32_t(std::min<std::size_t>(kBlock, input.size() - done));
            kernel->process(in, 1, out, 1, frames);
            for (std::uint32_t i = 0; i < frames; ++i) {
                finite = finite && std::isfinite(out[0][i]);
                if (done > std::size_t(kRate) * 3)
                    peak = std::max(peak, std::fabs(out[0][i]));
            }
        }
        EXPECT_TRUE(finite);
        EXPECT_LT(peak, DSPKernel::kLineLimit);
        for (float s : kernel->delayLines[0])
            ASSERT_LE(std::fabs(s), DSPKernel::kLineLimit);
    }
}

// The same stereo input, the same parameter changes at the same samples, rendered in
// 512-frame blocks, in blocks of ragged sizes and one frame at a time: the outputs are
// equal bit for bit, through model crossfades and on every kernel path. The delay
// starts at 2 ms with modulation and spread, so some reads lie only a sample or a few
// behind the write (within the frames whose models the kernel runs together), then
// glides to 20 ms.
TEST(TrainedModelsInTheKernel, OutputIsTheSameBitForBitWhateverTheBlockSplit) {
    constexpr int kRate = 48000; // the models resample, so their resamplers are split too
    constexpr std::uint32_t kLength = kRate; // one second
    struct Change {
        std::uint32_t at;
        AUParameterAddress address;
        float value;
    };
    const Change changes[] = {
        {0, DSPKernel::modelAddress, 0.0f},        {4096, DSPKernel::modelAddress, 2.0f},
        {5120, DSPKernel::modelAddress, 3.0f},     {9216, DSPKernel::lfoTypeAddress, 2.0f},
        {12288, DSPKernel::delayMsAddress, 20.0f}, {20480, DSPKernel::modelAddress, 1.0f}};
    std::vector<float> input[2];
    for (std::uint32_t i = 0; i < kLength; ++i) {
        input[0].push_back(0.4f * std::sin(0.02f * float(i)) *
                           std::exp(-float(i % 9000) / 3000.0f));
        input[1].push_back(0.3f * std::sin(0.05f * float(i) + 1.0f));
    }
    const auto render = [&](const std::vector<std::uint32_t>& cuts) {
        auto kernel = std::make_unique<DSPKernel>();
        for (auto [address, value] : {std::pair{DSPKernel::delayTypeAddress, 1.0f},
                                      {DSPKernel::delayMsAddress, 2.0f},
                                      {DSPKernel::feedbackAddress, 90.0f},
                                      {DSPKernel::modDepthAddress, 3.0f},
                                      {DSPKernel::spreadAddress, 4.0f}})
            kernel->setParameter(address, value);
        kernel->maxFrames = 512;
        kernel->channelCount = 2;
        kernel->initialize(kRate);
        std::vector<float> out[2] = {std::vector<float>(kLength), std::vector<float>(kLength)};
        std::uint32_t done = 0;
        for (std::uint32_t cut : cuts) {
            for (const Change& c : changes)
                if (c.at == done)
                    kernel->setParameter(c.address, c.value);
            const float* in[2] = {input[0].data() + done, input[1].data() + done};
            float* o[2] = {out[0].data() + done, out[1].data() + done};
            kernel->process(in, 2, o, 2, cut - done);
            done = cut;
        }
        return std::array<std::vector<float>, 2>{out[0], out[1]};
    };
    std::vector<std::uint32_t> even, ragged, single;
    for (std::uint32_t at = 512; at <= kLength; at += 512)
        even.push_back(at);
    for (std::uint32_t at = 1; at <= kLength; ++at)
        single.push_back(at);
    if (even.back() != kLength)
        even.push_back(kLength);
    std::mt19937 rng(5);
    for (std::uint32_t at = 0; at < kLength;) {
        std::uint32_t next = std::min<std::uint32_t>(kLength, at + 1 + std::uint32_t(rng() % 512));
        for (const Change& c : changes) // every change falls on a cut in both splits
            if (c.at > at && c.at < next)
                next = c.at;
        ragged.push_back(at = next);
    }
    for (Korvane::KernelPath path : {Korvane::KernelPath::Reference, Korvane::KernelPath::Portable,
                                     Korvane::KernelPath::Avx2, Korvane::KernelPath::Avx512}) {
        if (!Korvane::setKernelPath(path))
            continue;
        SCOPED_TRACE(Korvane::kernelPathName(path));
        const auto a = render(even);
        const auto b = render(ragged);
        const auto d = render(single);
        for (int c = 0; c < 2; ++c) {
            for (std::uint32_t i = 0; i < kLength; ++i) {
                ASSERT_EQ(a[std::size_t(c)][i], b[std::size_t(c)][i]) << c << " " << i;
                ASSERT_EQ(a[std::size_t(c)][i], d[std::size_t(c)][i]) << c << " " << i;
            }
        }
    }
    Korvane::setKernelPath(Korvane::bestKernelPath());
}

// A phrase of plucked notes (decaying tones with a few partials), 4 s long, at -6 dBFS.
std::vector<float> pluckedPhrase() {
    constexpr int kRate = 44100;
    std::vector<float> phrase(4 * kRate, 0.0f);
    const double notes[] = {196.0, 246.9, 293.7, 392.0, 329.6, 246.9, 220.0, 293.7};
    for (int k = 0; k < 8; ++k) {
        const int start = k * kRate / 2;
        for (int i = 0; start + i < int(phrase.size()); ++i) {
            const double t = double(i) / kRate;
            double v = 0.0;
            for (int partial = 1; partial <= 5; ++partial)
                v += std::sin(2.0 * std::numbers::pi * notes[k] * partial * t) / partial *
                     std::exp(-t * (3.0 + partial));
            phrase[std::size_t(start + i)] += float(0.3 * v);
        }
    }
    return phrase;
}

// Seconds of audio for the long runaway: EMBERFALL_RUNAWAY_SECONDS when set (60 for the
// figures in the notes), else a length every test run can afford.
int runawaySeconds() {
    const char* text = std::getenv("EMBERFALL_RUNAWAY_SECONDS");
    const int seconds = text ? std::atoi(text) : 0;
    return seconds > 0 ? seconds : 12;
}

// Every model at 150 % feedback with the kernel's default settings (a quarter note at
// 120 BPM, no low cut), a plucked phrase played over and over in stereo: over every
// second of the output |DC| < 0.01, and no run of samples held at full scale.
TEST(TrainedModelsInTheKernel, ALongRunawayStaysFreeOfDCAndNeverSticksAtFullScale) {
    constexpr int kRate = 44100;
    constexpr std::uint32_t kBlock = 512;
    const int seconds = runawaySeconds();
    const std::vector<float> phrase = pluckedPhrase();
    for (int model = 0; model < DSPKernel::kModelCount; ++model) {
        SCOPED_TRACE(model);
        auto kernel = std::make_unique<DSPKernel>();
        kernel->setParameter(DSPKernel::feedbackAddress, 150.0f);
        kernel->setParameter(DSPKernel::modelAddress, float(model));
        kernel->maxFrames = kBlock;
        kernel->channelCount = 2;
        kernel->initialize(kRate);

        std::vector<float> in[2], out[2];
        for (int c = 0; c < 2; ++c) {
            in[c].resize(kBlock);
            out[c].resize(kBlock);
        }
        double worstDc = 0.0, sum[2] = {0.0, 0.0};
        int longestHeld = 0, held[2] = {0, 0};
        std::size_t position = 0;
        for (int second = 0; second < seconds; ++second) {
            for (int done = 0; done < kRate;) {
                const auto n = std::uint32_t(std::min<int>(kBlock, kRate - done));
                for (std::uint32_t i = 0; i < n; ++i, ++position) {
                    in[0][i] = phrase[position % phrase.size()];
                    in[1][i] = phrase[(position + phrase.size() / 2) % phrase.size()];
                }
                const float* inputs[2] = {in[0].data(), in[1].data()};
                float* outputs[2] = {out[0].data(), out[1].data()};
                kernel->process(inputs, 2, outputs, 2, n);
                for (int c = 0; c < 2; ++c) {
                    for (std::uint32_t i = 0; i < n; ++i) {
                        sum[c] += out[c][i];
                        held[c] = std::fabs(out[c][i]) >= 0.99f ? held[c] + 1 : 0;
                        longestHeld = std::max(longestHeld, held[c]);
                    }
                }
                done += int(n);
            }
            for (double& s : sum) {
                worstDc = std::max(worstDc, std::fabs(s / kRate));
                s = 0.0;
            }
        }
        std::printf("model %d: %d s, largest |DC| over a second %.4f, longest run at full scale "
                    "%d samples\n",
                    model, seconds, worstDc, longestHeld);
        EXPECT_LT(worstDc, 0.01);
        EXPECT_LT(longestHeld, 32); // a waveform's crest, never a plateau
    }
}

} // namespace
