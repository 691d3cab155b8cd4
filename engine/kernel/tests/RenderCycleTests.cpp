#include "RenderUnit.h"

#include <gtest/gtest.h>

#if defined(__x86_64__) || defined(__i386__)
#include <xmmintrin.h>
#endif

#include <array>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

using namespace kerneltest;

namespace {

TEST(RenderCycle, RefusesACycleWithTheFirstStatusThatApplies) {
    struct Case {
        const char* what;
        AUAudioUnitStatus expected;
        std::function<void(RenderUnit&, Host&, OwnedAudioBufferList&, AUAudioFrameCount&,
                           const AURenderPullInputBlock*&)>
            spoil;
    };
    const AURenderPullInputBlock none;
    const Case cases[] = {
        {"renders", noErr, [](auto&...) {}},
        {"maximum frames render", noErr,
         [](auto&, auto&, auto&, auto& frames, auto&) { frames = 512; }},
        {"not allocated", kAudioUnitErr_Uninitialized,
         [](RenderUnit& u, auto&...) { u.cycle.deallocateRenderResources(); }},
        {"too many frames before anything else", kAudioUnitErr_TooManyFramesToProcess,
         [&none](auto&, auto&, auto&, auto& frames, auto& pull) { frames = 513, pull = &none; }},
        {"no pull block", kAudioUnitErr_NoConnection,
         [&none](auto&, auto&, auto&, auto&, auto& pull) { pull = &none; }},
        {"the pull's own error", -50, [](auto&, Host& h, auto&...) { h.pullResult = -50; }},
        {"output buffer without data", kAudioUnitErr_InvalidProperty,
         [](auto&, auto&, OwnedAudioBufferList& out, auto&...) { out[1].mData = nullptr; }},
        {"output buffer too small", kAudioUnitErr_InvalidProperty,
         [](auto&, auto&, OwnedAudioBufferList& out, auto&...) { out[0].mDataByteSize = 100; }},
        {"fewer output buffers", kAudioUnitErr_InvalidProperty,
         [](auto&, auto&, OwnedAudioBufferList& out, auto&...) { out->mNumberBuffers = 1; }},
        {"input data replaced by null", kAudioUnitErr_InvalidProperty,
         [](auto&, Host& h, auto&...) {
             h.block = [](AudioUnitRenderActionFlags*, const AudioTimeStamp*, AUAudioFrameCount,
                          NSInteger, AudioBufferList* in) {
                 in->mBuffers[1].mData = nullptr;
                 return noErr;
             };
         }},
        {"pulled input too short", kAudioUnitErr_InvalidProperty,
         [](auto&, Host& h, auto&...) {
             h.block = [](AudioUnitRenderActionFlags*, const AudioTimeStamp*, AUAudioFrameCount,
                          NSInteger, AudioBufferList* in) {
                 in->mBuffers[0].mDataByteSize = 4;
                 return noErr;
             };
         }},
    };
    for (const Case& c : cases) {
        RenderUnit unit;
        ASSERT_EQ(unit.allocate({}), noErr);
        Host host(2, 1024);
        OwnedAudioBufferList out(2, 1024);
        for (int ch = 0; ch < 2; ++ch)
            std::fill(out.channel(ch), out.channel(ch) + 1024, 7.0f);
        AUAudioFrameCount frames = 256;
        const AURenderPullInputBlock* pull = &host.block;
        c.spoil(unit, host, out, frames, pull);
        AudioTimeStamp timestamp;
        AudioUnitRenderActionFlags flags = 0;
        const AUAudioUnitStatus status =
            unit.cycle.render(&flags, &timestamp, frames, 0, out.get(), nullptr, *pull);
        EXPECT_EQ(status, c.expected) << c.what;
        const bool rendered = out.channel(0)[0] != 7.0f;
        EXPECT_EQ(rendered, c.expected == noErr) << c.what; // refused: output untouched
    }
    RenderUnit unit; // a null output list
    ASSERT_EQ(unit.allocate({}), noErr);
    Host host(2, 512);
    EXPECT_EQ(host.render(unit, nullptr, 64), kAudioUnitErr_InvalidProperty);
    OwnedAudioBufferList three(3, 512);
    EXPECT_EQ(host.render(unit, three.get(), 64), kAudioUnitErr_InvalidProperty);
}

TEST(RenderCycle, AllocationRefusesFormatsAndFrameCountsItCannotServe) {
    struct Case {
        double rate;
        AUAudioChannelCount inputs, outputs;
        AUAudioFrameCount maxFrames;
        AUAudioUnitStatus expected;
    };
    const Case cases[] = {
        {44100, 2, 2, 512, noErr},
        {8000, 1, 1, 16384, noErr},
        {384000, 8, 8, 0, noErr},
        {7999, 2, 2, 512, kAudioUnitErr_FormatNotSupported},
        {384001, 2, 2, 512, kAudioUnitErr_FormatNotSupported},
        {44100, 9, 2, 512, kAudioUnitErr_FormatNotSupported},
        {44100, 2, 9, 512, kAudioUnitErr_FormatNotSupported},
        {44100, 0, 2, 512, kAudioUnitErr_FormatNotSupported},
        {44100, 2, 2, 16385, kAudioUnitErr_FormatNotSupported},
        {std::nan(""), 2, 2, 512, kAudioUnitErr_FormatNotSupported},
    };
    for (const Case& c : cases)
        EXPECT_EQ(checkRenderResourceFormats(c.rate, c.inputs, c.outputs, c.maxFrames), c.expected)
            << c.rate << " " << c.inputs << " " << c.outputs << " " << c.maxFrames;

    RenderUnit unit;
    EXPECT_EQ(unit.allocate({}, 2, 2, 20000), kAudioUnitErr_FormatNotSupported);
    EXPECT_FALSE(unit.cycle.renderResourcesAllocated());
    EXPECT_EQ(
        unit.cycle.allocateRenderResources(nullptr, AVAudioFormat::standardFormat(44100, 2), {}),
        kAudioUnitErr_FormatNotSupported);
}

TEST(RenderCycle, MaximumFramesChangeWaitsForTheNextAllocation) {
    RenderUnit unit;
    unit.cycle.setMaximumFramesToRender(4096);
    EXPECT_EQ(unit.kernel.inputLeftBuffer.size(), 4096u); // not allocated: at once
    ASSERT_EQ(unit.allocate({}, 2, 2, 4096), noErr);
    Host host(2, 20000);
    OwnedAudioBufferList out(2, 8192);
    EXPECT_EQ(host.render(unit, out.get(), 4096), noErr);

    unit.cycle.setMaximumFramesToRender(8192); // allocated: the buffers stay
    EXPECT_EQ(unit.cycle.maximumFramesToRender(), 8192u);
    EXPECT_EQ(unit.kernel.inputLeftBuffer.size(), 4096u);
    EXPECT_EQ(host.render(unit, out.get(), 8192), kAudioUnitErr_TooManyFramesToProcess);
    unit.cycle.deallocateRenderResources();
    ASSERT_EQ(unit.allocate({}, 2, 2, 8192), noErr);
    EXPECT_EQ(host.render(unit, out.get(), 8192), noErr);
}

// Segment starts seen through the tempo query, which runs once per stretch.
struct SegmentLog {
    int count = 0;
    std::array<std::uint32_t, 8> writeIndex{};
    std::array<float, 8> mix{}, feedback{};
};

AUHostMusicalContextBlock logSegments(SegmentLog& log, DSPKernel& kernel) {
    return [&log, &kernel](double* tempo, double*, NSInteger*, double*, NSInteger*, double*) {
        if (log.count < 8) {
            log.writeIndex[log.count] = kernel.writeIndices[0];
            log.mix[log.count] = kernel.getParameter(DSPKernel::mixAddress);
            log.feedback[log.count] = kernel.getParameter(DSPKernel::feedbackAddress);
        }
        ++log.count;
        *tempo = 120;
        return true;
    };
}

TEST(RenderCycle, EventsSplitTheCycleAtTheirSampleTimes) {
    struct Applied {
        AUParameterAddress address;
        float value;
    };
    struct Case {
        const char* what;
        std::vector<std::pair<AUEventSampleTime, float>> feedbackEvents; // relative to start
        std::vector<std::uint32_t> segmentStarts;
        std::vector<float> feedbackAtStarts;
    };
    const Case cases[] = {
        {"0, 100, 100", {{0, 10}, {100, 20}, {100, 30}}, {0, 100}, {10, 30}},
        {"before the cycle", {{-50, 40}}, {0}, {40}},
        {"past the end", {{600, 50}, {900, 60}}, {0}, {0}},
        {"at the end", {{512, 70}}, {0}, {0}},
        {"inside, then past", {{300, 80}, {700, 90}}, {0, 300}, {0, 80}},
    };
    for (const Case& c : cases) {
        RenderUnit unit;
        SegmentLog log;
        ASSERT_EQ(unit.allocate({}, 2, 2, 512, logSegments(log, unit.kernel)), noErr);
        std::vector<Applied> applied;
        applied.reserve(8);
        unit.kernel.parameterCallbackContext = &applied;
        unit.kernel.parameterCallback = [](void* context, AUParameterAddress a, AUValue v) {
            static_cast<std::vector<Applied>*>(context)->push_back({a, v});
        };
        Host host(2, 4096);
        host.sampleTime = 1000;
        std::vector<AURenderEvent> events;
        for (auto [at, value] : c.feedbackEvents)
            events.push_back(parameterEvent(1000 + at, DSPKernel::feedbackAddress, value));
        link(events);
        OwnedAudioBufferList out(2, 512);
        ASSERT_EQ(host.render(unit, out.get(), 512, events.data()), noErr) << c.what;

        ASSERT_EQ(log.count, int(c.segmentStarts.size())) << c.what;
        for (std::size_t s = 0; s < c.segmentStarts.size(); ++s) {
            EXPECT_EQ(log.writeIndex[s], c.segmentStarts[s]) << c.what << " stretch " << s;
            EXPECT_EQ(log.feedback[s], c.feedbackAtStarts[s]) << c.what << " stretch " << s;
        }
        EXPECT_EQ(unit.kernel.writeIndices[0], 512u) << c.what; // no stretch ran past the end
        ASSERT_EQ(applied.size(), c.feedbackEvents.size()) << c.what;
        for (std::size_t e = 0; e < applied.size(); ++e)
            EXPECT_EQ(applied[e].value, c.feedbackEvents[e].second) << c.what;
        EXPECT_EQ(unit.kernel.getParameter(DSPKernel::feedbackAddress),
                  c.feedbackEvents.back().second)
            << c.what;
    }
}

TEST(RenderCycle, ExtremeTimeStampsStayInsideTheCycle) {
    struct Case {
        double cycleStart;
        AUEventSampleTime first, second;
    };
    const Case cases[] = {{0, INT64_MIN, INT64_MAX},
                          {-1e300, INT64_MAX, INT64_MAX},
                          {1e300, INT64_MIN, 0},
                          {std::nan(""), -1, 100}};
    for (const Case& c : cases) {
        RenderUnit unit;
        ASSERT_EQ(unit.allocate({}), noErr);
        std::vector<AURenderEvent> events = {parameterEvent(c.first, DSPKernel::widthAddress, 10),
                                             parameterEvent(c.second, DSPKernel::widthAddress, 20)};
        link(events);
        Host host(2, 512);
        OwnedAudioBufferList out(2, 512);
        AudioTimeStamp timestamp;
        timestamp.mSampleTime = c.cycleStart;
        AudioUnitRenderActionFlags flags = 0;
        const AURenderPullInputBlock silent = [](AudioUnitRenderActionFlags*, const AudioTimeStamp*,
                                                 AUAudioFrameCount, NSInteger,
                                                 AudioBufferList*) { return noErr; };
        ASSERT_EQ(unit.block(&flags, &timestamp, 512, 0, out.get(), events.data(), silent), noErr);
        EXPECT_EQ(unit.kernel.writeIndices[0], 512u) << c.cycleStart;
        EXPECT_EQ(unit.kernel.getParameter(DSPKernel::widthAddress), 20.0f) << c.cycleStart;
    }
}

TEST(RenderCycle, OnlyPlainParameterEventsApply) {
    RenderUnit unit;
    ASSERT_EQ(unit.allocate({{DSPKernel::mixAddress, 40}}), noErr);
    int calls = 0;
    unit.kernel.parameterCallbackContext = &calls;
    unit.kernel.parameterCallback = [](void* context, AUParameterAddress, AUValue) {
        ++*static_cast<int*>(context);
    };
    std::vector<AURenderEvent> events = {
        parameterEvent(10, DSPKernel::mixAddress, 90, AURenderEventParameterRamp),
        parameterEvent(20, DSPKernel::mixAddress, 80, AURenderEventMIDI),
        parameterEvent(30, DSPKernel::widthAddress, 50),
    };
    link(events);
    Host host(2, 512);
    OwnedAudioBufferList out(2, 512);
    ASSERT_EQ(host.render(unit, out.get(), 256, events.data()), noErr);
    EXPECT_EQ(unit.kernel.getParameter(DSPKernel::mixAddress), 40.0f);
    EXPECT_EQ(unit.kernel.getParameter(DSPKernel::widthAddress), 50.0f);
    EXPECT_EQ(calls, 1);

    unit.kernel.parameterCallbackContext = nullptr; // a callback without context is not called
    events = {parameterEvent(300, DSPKernel::widthAddress, 60)};
    ASSERT_EQ(host.render(unit, out.get(), 256, events.data()), noErr);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(unit.kernel.getParameter(DSPKernel::widthAddress), 60.0f);
}

TEST(RenderCycle, HostTempoDrivesNoteTimes) {
    struct Step {
        bool answers;
        double reported;
        double tempo;
        float hostTempo;
    };
    // In order, on one unit: the last tempo stays while the host reports none.
    const Step steps[] = {{false, 90, 120, 0},
                          {true, 90, 90, 90},
                          {false, 60, 90, 90},
                          {true, 0, 120, 0},
                          {true, -5, 120, -5},
                          {true, 140, 140, 140},
                          {true, std::nan(""), 120, std::nanf("")}};
    RenderUnit unit;
    const Step* current = &steps[0];
    ASSERT_EQ(unit.allocate(
                  {{DSPKernel::delayTypeAddress, 0}, {DSPKernel::delayNoteAddress, 3}}, 2, 2, 512,
                  [&current](double* tempo, double* numerator, NSInteger* denominator, double* beat,
                             NSInteger* offset, double* downbeat) {
                      EXPECT_TRUE(tempo);
                      EXPECT_FALSE(numerator || denominator || beat || offset || downbeat);
                      *tempo = current->reported;
                      return current->answers;
                  }),
              noErr);
    Host host(2, 512 * 8);
    OwnedAudioBufferList out(2, 512);
    for (const Step& step : steps) {
        current = &step;
        ASSERT_EQ(host.render(unit, out.get(), 512), noErr);
        EXPECT_EQ(unit.kernel.tempo, step.tempo) << step.reported;
        if (std::isnan(step.hostTempo))
            EXPECT_TRUE(std::isnan(unit.kernel.hostTempo.load()));
        else
            EXPECT_EQ(unit.kernel.hostTempo, step.hostTempo) << step.reported;
        EXPECT_FLOAT_EQ(unit.kernel.delayTime.target, 60000.0f / float(step.tempo));
    }
}

TEST(RenderCycle, RendersMonoToStereoAndPublishesMeters) {
    RenderUnit unit;
    ASSERT_EQ(unit.allocate({{DSPKernel::mixAddress, 0}}, 1, 2), noErr);
    EXPECT_EQ(unit.kernel.channelCount, 2u);
    EXPECT_EQ(unit.inputBus.bus->name(), "Main");
    EXPECT_EQ(unit.inputBus.maxFrames, 512u);
    Host host(1, 512, 0.5f);
    OwnedAudioBufferList out(2, 512);
    ASSERT_EQ(host.render(unit, out.get(), 512), noErr);
    for (int c = 0; c < 2; ++c)
        EXPECT_NEAR(out.channel(c)[511], 0.5f, 1e-6f); // dry only
    EXPECT_EQ(unit.kernel.metersUpdated.load() & 1u, 1u);
    EXPECT_NEAR(unit.kernel.inLevelDb[1], -6.0206f, 1e-3f);
    EXPECT_EQ(unit.kernel.meterIsStereo, 1u);
}

#if defined(__x86_64__) || defined(__i386__)
TEST(RenderCycle, DenormalsAreFlushedForTheRenderCallOnly) {
    RenderUnit unit;
    ASSERT_EQ(unit.allocate({}), noErr);
    Host host(2, 512);
    unsigned duringRender = 0;
    host.block = [&duringRender](AudioUnitRenderActionFlags*, const AudioTimeStamp*,
                                 AUAudioFrameCount, NSInteger, AudioBufferList*) {
        duringRender = _mm_getcsr();
        return noErr;
    };
    const unsigned before = _mm_getcsr();
    OwnedAudioBufferList out(2, 512);
    ASSERT_EQ(host.render(unit, out.get(), 256), noErr);
    EXPECT_EQ(duringRender & 0x8040u, 0x8040u); // flush-to-zero and denormals-are-zero
    EXPECT_EQ(_mm_getcsr(), before);
}
#endif

TEST(RenderCycle, ParameterWritesFromAnotherThreadMeetRenderingSafely) {
    RenderUnit unit; // under EMBERFALL_TSAN this proves the hand-over race-free
    ASSERT_EQ(unit.allocate({{DSPKernel::feedbackAddress, 120}}), noErr);
    Host host(2, 512 * 200, 0.3f);
    OwnedAudioBufferList out(2, 512);
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int k = 0; !done.load(); ++k) {
            unit.kernel.setParameter(AUParameterAddress(k % 14), float((k * 37) % 101));
            unit.kernel.setParameter(DSPKernel::modelAddress, float(k % 5));
            unit.kernel.bypass = k % 7 == 0;
            (void)unit.kernel.getParameter(DSPKernel::mixAddress);
        }
    });
    bool finite = true;
    for (int cycle = 0; cycle < 200; ++cycle) {
        ASSERT_EQ(host.render(unit, out.get(), 512), noErr);
        if (unit.kernel.metersUpdated.exchange(0, std::memory_order_acquire))
            finite = finite && std::isfinite(unit.kernel.outLevelDb[0].load());
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < 512; ++i)
                finite = finite && std::isfinite(out.channel(c)[i]);
    }
    done = true;
    writer.join();
    EXPECT_TRUE(finite);
}

} // namespace
