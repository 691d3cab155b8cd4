#include "AUProcessHelper.h"

#include <algorithm>
#include <cmath>

namespace {

// The time stamp's sample time truncated, kept within +-2^53 (and 0 for NaN).
AUEventSampleTime cycleStart(const AudioTimeStamp* timestamp) {
    if (!timestamp || std::isnan(timestamp->mSampleTime))
        return 0;
    constexpr double limit = 9007199254740992.0; // 2^53
    return AUEventSampleTime(std::clamp(timestamp->mSampleTime, -limit, limit));
}

} // namespace

void AUProcessHelper::processWithEvents(const AudioBufferList* inBufferList,
                                        AudioBufferList* outBufferList,
                                        const AudioTimeStamp* timestamp, AUAudioFrameCount frames,
                                        const AURenderEvent* events) {
    if (frames == 0)
        return;
    AUEventSampleTime now = cycleStart(timestamp);
    AUAudioFrameCount left = frames;
    while (events) {
        const AUEventSampleTime at = events->head.eventSampleTime;
        // gap = clamp(at - now, 0, left); now is within +-2^53, so now + left cannot overflow.
        AUAudioFrameCount gap = left;
        if (at <= now)
            gap = 0;
        else if (at < now + AUEventSampleTime(left))
            gap = AUAudioFrameCount(at - now);
        if (gap > 0) {
            pointAt(inBufferList, outBufferList, frames - left);
            processSegment(gap);
            now += gap;
            left -= gap;
        }
        events = handleEvents(now, events, left == 0);
        if (left == 0)
            return;
    }
    pointAt(inBufferList, outBufferList, frames - left);
    processSegment(left);
}

const AURenderEvent* AUProcessHelper::handleEvents(AUEventSampleTime now,
                                                   const AURenderEvent* event, bool all) {
    do {
        if (event->head.eventType == AURenderEventParameter) {
            const AUParameterEvent& parameter = event->parameter;
            kernel.setParameter(parameter.parameterAddress, parameter.value);
            if (kernel.parameterCallback && kernel.parameterCallbackContext)
                kernel.parameterCallback(kernel.parameterCallbackContext,
                                         parameter.parameterAddress, parameter.value);
        }
        // Ramps, MIDI and every other kind are skipped.
        event = event->head.next;
    } while (event && (all || event->head.eventSampleTime <= now));
    return event;
}

void AUProcessHelper::pointAt(const AudioBufferList* in, AudioBufferList* out,
                              AUAudioFrameCount offset) {
    pointedInputs = std::uint32_t(
        std::min<std::size_t>({inputChannelCount, inputPointers.size(), in->mNumberBuffers}));
    for (std::uint32_t k = 0; k < pointedInputs; ++k)
        inputPointers[k] = static_cast<float*>(in->mBuffers[k].mData) + offset;
    pointedOutputs =
        std::uint32_t(std::min<std::size_t>(outputPointers.size(), out->mNumberBuffers));
    for (std::uint32_t k = 0; k < pointedOutputs; ++k)
        outputPointers[k] = static_cast<float*>(out->mBuffers[k].mData) + offset;
}

void AUProcessHelper::processSegment(AUAudioFrameCount frames) {
    kernel.processSegment(inputPointers.data(), pointedInputs, outputPointers.data(),
                          pointedOutputs, frames);
}
