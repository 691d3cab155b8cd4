// The trained models inside the delay kernel: a runaway at 150 % feedback stays finite
// and bounded, and the output does not depend on how the audio is split into blocks.
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
// 512-frame blocks and in blocks of ragged sizes: the outputs are equal bit for bit,
// through model crossfades and on every kernel path.
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
                                      {DSPKernel::delayMsAddress, 60.0f},
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
    std::vector<std::uint32_t> even, ragged;
    for (std::uint32_t at = 512; at <= kLength; at += 512)
        even.push_back(at);
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
        for (int c = 0; c < 2; ++c)
            for (std::uint32_t i = 0; i < kLength; ++i)
                ASSERT_EQ(a[std::size_t(c)][i], b[std::size_t(c)][i]) << c << " " << i;
    }
    Korvane::setKernelPath(Korvane::bestKernelPath());
}

} // namespace
