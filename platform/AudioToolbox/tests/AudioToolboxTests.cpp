#include "AudioToolbox/AUAudioUnitBus.h"
#include "AudioToolbox/AVAudioFormat.h"
#include "AudioToolbox/AVAudioPCMBuffer.h"
#include "AudioToolbox/AudioTypes.h"
#include "AudioToolbox/RenderBlocks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(AudioToolbox, OwnedBufferListHoldsNBuffersOfOwnData) {
    OwnedAudioBufferList list(3, 16);
    ASSERT_EQ(list->mNumberBuffers, 3u);
    for (std::uint32_t k = 0; k < 3; ++k) {
        EXPECT_EQ(list[k].mNumberChannels, 1u);
        EXPECT_EQ(list[k].mDataByteSize, 16u * sizeof(float));
        ASSERT_EQ(list[k].mData, list.channel(k));
        static_cast<float*>(list[k].mData)[15] = float(k); // every buffer writable to its end
    }
    EXPECT_NE(list.channel(0), list.channel(1));
    EXPECT_EQ(list.channel(2)[15], 2.0f);

    OwnedAudioBufferList pointersOnly(2);
    EXPECT_EQ(pointersOnly[1].mData, nullptr);
    EXPECT_EQ(pointersOnly[1].mDataByteSize, 0u);
}

TEST(AudioToolbox, StandardFormatRefusesWhatThePlatformRefuses) {
    auto format = AVAudioFormat::standardFormat(48000, 2);
    ASSERT_TRUE(format);
    EXPECT_EQ(format->sampleRate(), 48000);
    EXPECT_EQ(format->channelCount(), 2u);
    EXPECT_FALSE(format->isInterleaved());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (auto [rate, channels] : {std::pair{44100.0, 0u}, {0.0, 2u}, {-1.0, 2u}, {nan, 1u}})
        EXPECT_FALSE(AVAudioFormat::standardFormat(rate, channels)) << rate << " " << channels;
}

TEST(AudioToolbox, PCMBufferListsDescribeItsChannels) {
    auto buffer = AVAudioPCMBuffer::create(AVAudioFormat::standardFormat(44100, 2), 64);
    ASSERT_TRUE(buffer);
    EXPECT_EQ(buffer->frameCapacity(), 64u);
    EXPECT_EQ(buffer->frameLength(), 0u);
    const AudioBufferList* list = buffer->audioBufferList();
    AudioBufferList* mutableList = buffer->mutableAudioBufferList();
    ASSERT_EQ(list->mNumberBuffers, 2u);
    ASSERT_EQ(mutableList->mNumberBuffers, 2u);
    for (int c = 0; c < 2; ++c) {
        EXPECT_EQ(list->mBuffers[c].mData, buffer->floatChannelData()[c]);
        EXPECT_EQ(mutableList->mBuffers[c].mData, buffer->floatChannelData()[c]);
    }
    EXPECT_NE(list, mutableList); // a pull block may rewrite one, never the other

    buffer->setFrameLength(1000);
    EXPECT_EQ(buffer->frameLength(), 64u);
    EXPECT_EQ(list->mBuffers[1].mDataByteSize, 256u);
    EXPECT_FALSE(AVAudioPCMBuffer::create(nullptr, 64));
}

TEST(AudioToolbox, BusKeepsFormatAndName) {
    auto bus = AUAudioUnitBus::create(AVAudioFormat::standardFormat(44100, 1));
    ASSERT_TRUE(bus);
    bus->setName("Main");
    EXPECT_EQ(bus->name(), "Main");
    EXPECT_FALSE(bus->setFormat(nullptr));
    EXPECT_EQ(bus->format()->channelCount(), 1u);
    EXPECT_FALSE(AUAudioUnitBus::create(nullptr));
}

TEST(AudioToolbox, RenderEventsShareTheirHeader) {
    AURenderEvent second{};
    second.parameter = AUParameterEvent{nullptr, 100, AURenderEventParameterRamp, {}, 64, 7, 2.5f};
    AURenderEvent first{};
    first.parameter = AUParameterEvent{&second, 10, AURenderEventParameter, {}, 0, 3, 1.0f};
    EXPECT_EQ(first.head.next, &second);
    EXPECT_EQ(first.head.eventSampleTime, 10);
    EXPECT_EQ(second.head.eventType, AURenderEventParameterRamp);
    EXPECT_EQ(second.parameter.parameterAddress, 7u);
}

} // namespace
