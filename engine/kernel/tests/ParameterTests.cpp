#include "DSPKernel.h"
#include "ParameterSmoother.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace {

constexpr float pi = 3.14159265358979323846f;
constexpr float nan = std::numeric_limits<float>::quiet_NaN();
constexpr float inf = std::numeric_limits<float>::infinity();

struct ParameterCase {
    AUParameterAddress address;
    float value;
    std::function<float(const DSPKernel&)> read;
    float expected;
    const char* what;
};

TEST(KernelParameters, ClampRoundTruncateAndKeepTheRawValue) {
    using K = DSPKernel;
    const float lowCut1k = std::exp(-2.0f * pi * 1000.0f / 44100.0f); // ~0.8672
    const ParameterCase cases[] = {
        {K::mixAddress, 150, [](auto& k) { return k.mix.load(); }, 1.0f, "mix clamps to 1"},
        {K::mixAddress, 150, [](auto& k) { return k.wetGain.target.load(); }, 1.0f, "wet 1"},
        {K::mixAddress, -20, [](auto& k) { return k.dryGain.target.load(); }, 1.0f, "dry 1"},
        {K::feedbackAddress, 200, [](auto& k) { return k.feedbackSmoother.target.load(); }, 1.5f,
         "feedback 1.5"},
        {K::modDepthAddress, -5, [](auto& k) { return k.depth.target.load(); }, 0.0f, "depth 0"},
        {K::modRateAddress, 0, [](auto& k) { return k.rate.target.load(); }, 0.01f, "rate min"},
        {K::modRateAddress, 9, [](auto& k) { return k.modRate.load(); }, 5.0f, "rate max"},
        {K::lfoTypeAddress, 2.5f, [](auto& k) { return float(k.lfoType); }, 3, "half rounds up"},
        {K::lfoTypeAddress, 2.4f, [](auto& k) { return float(k.lfoType); }, 2, "rounds down"},
        {K::lfoTypeAddress, 3e9f, [](auto& k) { return float(k.lfoType); }, 3, "huge shape"},
        {K::lfoTypeAddress, -3e9f, [](auto& k) { return float(k.lfoType); }, 0, "negative shape"},
        {K::widthAddress, -300, [](auto& k) { return k.widthSmoother.target.load(); }, -2, "width"},
        {K::modelAddress, 2.9f, [](auto& k) { return float(k.requestedModel); }, 2, "truncates"},
        {K::modelAddress, -1.9f, [](auto& k) { return float(k.requestedModel); }, -1, "toward 0"},
        {K::modelAddress, 7, [](auto& k) { return float(k.requestedModel); }, 7, "not clamped"},
        {K::modelAddress, 3e9f, [](auto& k) { return float(k.requestedModel); }, 2147483520.0f,
         "huge model saturates"},
        {K::spreadAddress, 30, [](auto& k) { return k.spreadSmoother.target.load(); }, 25,
         "spread"},
        {K::lowCutAddress, 20, [](auto& k) { return k.lowCutCoefficient.target.load(); }, 1.0f,
         "low cut off"},
        {K::lowCutAddress, 5, [](auto& k) { return k.lowCut.load(); }, 20, "low cut clamps"},
        {K::lowCutAddress, 1000, [](auto& k) { return k.lowCutCoefficient.target.load(); },
         lowCut1k, "low cut 1 kHz"},
        {K::highCutAddress, 20000, [](auto& k) { return k.highCutCoefficient.target.load(); }, 0.0f,
         "high cut off"},
        {K::highCutAddress, 1000, [](auto& k) { return k.highCutCoefficient.target.load(); },
         lowCut1k, "high cut 1 kHz"},
        {K::delayTypeAddress, 0.4f, [](auto& k) { return float(k.delayType); }, 0, "note"},
        {K::delayTypeAddress, 0.5f, [](auto& k) { return float(k.delayType); }, 1, "ms"},
        {K::delayTypeAddress, -0.6f, [](auto& k) { return float(k.delayType); }, 1, "ms"},
        {K::delayNoteAddress, 2.5f, [](auto& k) { return float(k.delayNote); }, 3, "note rounds"},
        {K::delayNoteAddress, 20, [](auto& k) { return float(k.delayNote); }, 14, "note max"},
        {K::dirtAddress, 100, [](auto& k) { return k.drive.target.load(); },
         std::pow(10.0f, 6.0f / 20.0f), "+6 dB drive"},
        {K::dirtAddress, -100, [](auto& k) { return k.drive.target.load(); },
         std::pow(10.0f, -12.0f / 20.0f), "-12 dB drive"},
        // No model yet: compensation looks up model 0 (9 dB per unit below 0).
        {K::dirtAddress, -100, [](auto& k) { return k.compensation.target.load(); },
         std::pow(10.0f, 9.0f / 20.0f), "compensation"},
    };
    for (const ParameterCase& c : cases) {
        DSPKernel kernel;
        kernel.setParameter(c.address, c.value);
        EXPECT_NEAR(c.read(kernel), c.expected, 1e-6f * std::max(1.0f, std::fabs(c.expected)))
            << c.what;
        EXPECT_EQ(kernel.getParameter(c.address), c.value) << c.what;
    }
}

TEST(KernelParameters, MixIsEqualPowerAndCompensationFollowsTheModel) {
    DSPKernel kernel;
    EXPECT_NEAR(kernel.dryGain.target, 0.70710678f, 1e-6f);
    EXPECT_NEAR(kernel.wetGain.target, 0.70710678f, 1e-6f);
    kernel.setParameter(DSPKernel::mixAddress, 150);
    EXPECT_LT(std::fabs(kernel.dryGain.target), 1e-7f);

    kernel.setParameter(DSPKernel::dirtAddress, 50);
    kernel.setParameter(DSPKernel::modelAddress, 3);
    EXPECT_NEAR(kernel.compensation.target, std::pow(10.0f, -0.5f * 4.5f / 20.0f), 1e-6f);
    kernel.setParameter(DSPKernel::modelAddress, 1);
    EXPECT_NEAR(kernel.compensation.target, std::pow(10.0f, -0.5f * 3.0f / 20.0f), 1e-6f);
}

TEST(KernelParameters, UnknownAddressesAndNonFiniteValuesChangeNothing) {
    DSPKernel kernel;
    kernel.setParameter(DSPKernel::mixAddress, 30);
    kernel.setParameter(14, 77);
    kernel.setParameter(~AUParameterAddress(0), 77);
    EXPECT_EQ(kernel.getParameter(14), 0.0f);
    for (AUParameterAddress a = 0; a < 14; ++a)
        EXPECT_EQ(kernel.getParameter(a), a == 0 ? 30.0f : 0.0f) << a;

    for (float bad : {nan, inf, -inf})
        for (AUParameterAddress a = 0; a < 14; ++a)
            kernel.setParameter(a, bad);
    EXPECT_EQ(kernel.getParameter(DSPKernel::mixAddress), 30.0f);
    EXPECT_FLOAT_EQ(kernel.mix, 0.3f);
    EXPECT_EQ(kernel.requestedModel, -1);
    EXPECT_EQ(kernel.lfoType, 0);
    EXPECT_EQ(kernel.delayNote, 3);
    EXPECT_EQ(kernel.delayMs, 350.0f);
}

TEST(KernelParameters, FreeDelayTimeIsTheGlideTargetOnlyInMillisecondMode) {
    DSPKernel kernel;
    const float before = kernel.delayTime.target;
    kernel.setParameter(DSPKernel::delayMsAddress, 1200); // note mode (the default)
    EXPECT_EQ(kernel.delayTime.target, before);
    EXPECT_EQ(kernel.delayMs, 1200.0f);
    EXPECT_EQ(kernel.effectiveDelayMs(), 500.0f); // a quarter at 120 BPM
    kernel.setParameter(DSPKernel::delayTypeAddress, 1);
    kernel.setParameter(DSPKernel::delayMsAddress, 6000);
    EXPECT_EQ(kernel.delayTime.target, 5000.0f);
    EXPECT_EQ(kernel.effectiveDelayMs(), 5000.0f);
}

TEST(KernelParameters, NoteDelaysAcrossTempos) {
    struct Case {
        double tempo;
        int note;
        float ms;
    };
    const Case cases[] = {
        {120, 3, 500},         {120, 7, 375},        {120, 12, 166.66667f}, {120, 4, 1000},
        {120, 0, 62.5f},       {0, 3, 500},          {-10, 3, 500},         {20, 4, 5000},
        {90, 0, 83.333336f},   {140, 9, 1285.7142f}, {60, 14, 1333.3334f},  {120, -3, 62.5f},
        {120, 99, 666.66675f}, {300, 5, 37.5f},
    };
    for (const Case& c : cases) {
        DSPKernel kernel;
        kernel.tempo = c.tempo;
        EXPECT_NEAR(kernel.noteDelayMs(c.note), c.ms, 1e-3f) << c.tempo << " BPM, note " << c.note;
    }
}

TEST(KernelParameters, SmootherReachesTargetsThatF32StepsCannot) {
    struct Case {
        float timeMs, from, to;
    };
    for (const Case c : {Case{400, 5000, 4500}, {400, 0, 5000}, {200, 1, 0}, {200, 0.8672f, 1}}) {
        ParameterSmoother s;
        s.timeMs = c.timeMs;
        s.setup(44100);
        s.current = c.from;
        s.target = c.to;
        for (int i = 0; i < 44100 * 10; ++i)
            s.step();
        EXPECT_EQ(s.current, c.to) << c.from << " -> " << c.to;
    }
    ParameterSmoother s;
    s.setup(44100);
    EXPECT_FLOAT_EQ(s.coefficient, 1.0f - std::exp(-1000.0f / (200.0f * 44100.0f)));
    s.target = 1;
    EXPECT_FLOAT_EQ(s.step(), s.coefficient); // one step of c (target - current)
}

TEST(KernelLifecycle, InitializeSizesLinesAndSnapsEveryGlide) {
    DSPKernel kernel;
    kernel.setParameter(DSPKernel::mixAddress, 20);
    kernel.setParameter(DSPKernel::lowCutAddress, 1000);
    kernel.maxFrames = 0;
    kernel.setModelWeights({});
    kernel.initialize(48000);
    EXPECT_EQ(kernel.delayLineLength, 246004u); // floor(48000 * 5.125) + 4
    ASSERT_EQ(kernel.delayLines.size(), 2u);
    EXPECT_EQ(kernel.inputLeftBuffer.size(), 1u);
    EXPECT_EQ(kernel.dryGain.current, kernel.dryGain.target.load());
    EXPECT_FLOAT_EQ(kernel.lowCutCoefficient.current, std::exp(-2.0f * pi * 1000.0f / 48000.0f));
    EXPECT_EQ(kernel.delayTime.current, 500.0f);
    EXPECT_FALSE(kernel.delayTimePrimed);
    EXPECT_FLOAT_EQ(kernel.squareSlew, 2.0f / 240.0f);
    EXPECT_EQ(kernel.modelProcessors.size(), 2u);

    kernel.deInitialize();
    EXPECT_TRUE(kernel.delayLines.empty());
    EXPECT_TRUE(kernel.modelProcessors.empty());
    EXPECT_EQ(kernel.sampleRate, 48000.0);
}

TEST(KernelLifecycle, ResetDrawsTwoRandomValues) {
    DSPKernel kernel;
    kernel.reset();
    std::uint32_t state = 0x12345678u;
    auto draw = [&state] {
        state = state * 1664525u + 1013904223u;
        return (float(state & 0xFFFFFFu) / 16777215.0f) * 2.0f - 1.0f;
    };
    EXPECT_EQ(kernel.randomPrevious, draw());
    EXPECT_EQ(kernel.randomNext, draw());
    EXPECT_EQ(kernel.randomState, state);
}

} // namespace
