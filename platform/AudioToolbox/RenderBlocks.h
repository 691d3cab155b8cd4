#pragma once
// The callables of the render path. Calling one never allocates (std::function's
// call does not); copying or assigning one may, so that happens at set-up only.

#include "AudioToolbox/AudioTypes.h"
#include "AudioToolbox/RenderEvents.h"

#include <functional>

// The host's block that renders the unit's input into inputData. Render thread.
using AURenderPullInputBlock = std::function<AUAudioUnitStatus(
    AudioUnitRenderActionFlags* actionFlags, const AudioTimeStamp* timestamp,
    AUAudioFrameCount frameCount, NSInteger inputBusNumber, AudioBufferList* inputData)>;

// The unit's render block, called by the host once per cycle on its render
// thread. An empty pullInputBlock stands for the platform's nil block.
using AUInternalRenderBlock = std::function<AUAudioUnitStatus(
    AudioUnitRenderActionFlags* actionFlags, const AudioTimeStamp* timestamp,
    AUAudioFrameCount frameCount, NSInteger outputBusNumber, AudioBufferList* outputData,
    const AURenderEvent* realtimeEventListHead, const AURenderPullInputBlock& pullInputBlock)>;

// The host's musical context: any out-pointer may be null (that value is not
// wanted); returns false when the host has no context to report. Render thread.
using AUHostMusicalContextBlock =
    std::function<bool(double* currentTempo, double* timeSignatureNumerator,
                       NSInteger* timeSignatureDenominator, double* currentBeatPosition,
                       NSInteger* sampleOffsetToNextBeat, double* currentMeasureDownbeatPosition)>;
