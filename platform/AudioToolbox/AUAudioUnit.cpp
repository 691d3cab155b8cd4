#include "AudioToolbox/AUAudioUnit.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::size_t scheduledEventCapacity = 512;

const char* const typeKey = "type";
const char* const subtypeKey = "subtype";
const char* const manufacturerKey = "manufacturer";
const char* const parametersKey = "parameters";

} // namespace

// A state names another component when it carries an identity that differs.
bool AUAudioUnit::namesAnotherComponent(const PropertyListDictionary& state) const {
    const std::pair<const char*, OSType> identity[] = {
        {typeKey, description.componentType},
        {subtypeKey, description.componentSubType},
        {manufacturerKey, description.componentManufacturer},
    };
    for (const auto& [key, code] : identity) {
        auto entry = state.find(key);
        if (entry == state.end())
            continue;
        std::optional<std::int64_t> saved = entry->second.integer();
        if (!saved || *saved != static_cast<std::int64_t>(code))
            return true;
    }
    return false;
}

std::string fourCharString(OSType code) {
    std::string text(4, ' ');
    for (int i = 0; i < 4; ++i)
        text[i] = static_cast<char>((code >> (8 * (3 - i))) & 0xff);
    return text;
}

std::shared_ptr<AUAudioUnitBusArray>
AUAudioUnitBusArray::create(const std::shared_ptr<AUAudioUnit>& owner, AUAudioUnitBusType busType,
                            std::vector<std::shared_ptr<AUAudioUnitBus>> busses) {
    return make<AUAudioUnitBusArray>(std::weak_ptr<AUAudioUnit>(owner), busType, std::move(busses));
}

std::optional<AUError> AUAudioUnit::initialize(AudioComponentInstantiationOptions) {
    if (description.componentType == 0 || description.componentManufacturer == 0)
        return AUError{kAudioComponentErr_InstanceInvalidated,
                       "the component description names no component"};
    return std::nullopt;
}

std::shared_ptr<AUAudioUnitBusArray> AUAudioUnit::inputBusses() const {
    return make<AUAudioUnitBusArray>(std::weak_ptr<AUAudioUnit>(), AUAudioUnitBusType::input,
                                     std::vector<std::shared_ptr<AUAudioUnitBus>>{});
}

std::shared_ptr<AUAudioUnitBusArray> AUAudioUnit::outputBusses() const {
    return make<AUAudioUnitBusArray>(std::weak_ptr<AUAudioUnit>(), AUAudioUnitBusType::output,
                                     std::vector<std::shared_ptr<AUAudioUnitBus>>{});
}

void AUAudioUnit::setMaximumFramesToRender(AUAudioFrameCount frames) {
    if (!renderResourcesAllocated())
        maxFrames = frames;
}

std::optional<AUError> AUAudioUnit::allocateRenderResources() {
    for (const auto& busses : {inputBusses(), outputBusses()}) {
        for (std::size_t i = 0; busses && i < busses->count(); ++i) {
            const auto& format = (*busses)[i]->format();
            if (!format || format->channelCount() == 0 || !(format->sampleRate() > 0))
                return AUError{kAudioUnitErr_FormatNotSupported, "a bus has no usable format"};
        }
    }
    pending.assign(scheduledEventCapacity, Scheduled{});
    pendingCount = 0;
    cycleEvents.assign(scheduledEventCapacity, AURenderEvent{});
    allocated.store(true, std::memory_order_release);
    return std::nullopt;
}

void AUAudioUnit::deallocateRenderResources() {
    allocated.store(false, std::memory_order_release);
    pending.clear();
    pendingCount = 0;
    cycleEvents.clear();
}

std::optional<PropertyListDictionary> AUAudioUnit::fullState() const {
    if (!tree)
        return std::nullopt;
    // Each value as setFullState restores it (clamped to the range), so a saved state
    // restored and saved again gives the same state, whatever a host wrote before.
    // A value that is not a finite number, which restoring would skip, is not saved.
    PropertyListDictionary values;
    for (const auto& parameter : tree->children()) {
        const double value = parameter->value();
        if (std::isfinite(value))
            values[parameter->identifier()] =
                std::clamp(value, double(parameter->minValue()), double(parameter->maxValue()));
    }
    return PropertyListDictionary{
        {typeKey, static_cast<std::int64_t>(description.componentType)},
        {subtypeKey, static_cast<std::int64_t>(description.componentSubType)},
        {manufacturerKey, static_cast<std::int64_t>(description.componentManufacturer)},
        {parametersKey, std::move(values)},
    };
}

void AUAudioUnit::setFullState(const std::optional<PropertyListDictionary>& state) {
    if (!state || !tree || namesAnotherComponent(*state))
        return;
    auto entry = state->find(parametersKey);
    if (entry == state->end() || !entry->second.dictionary())
        return;
    const PropertyListDictionary& values = *entry->second.dictionary();
    for (const auto& parameter : tree->children()) {
        auto saved = values.find(parameter->identifier());
        if (saved == values.end())
            continue;
        std::optional<double> number = saved->second.number();
        if (!number || !std::isfinite(*number))
            continue;
        const double clamped =
            std::clamp(*number, double(parameter->minValue()), double(parameter->maxValue()));
        parameter->setValue(static_cast<AUValue>(clamped));
    }
}

AURenderBlock AUAudioUnit::renderBlock() {
    return [this, internal = internalRenderBlock()](
               AudioUnitRenderActionFlags* actionFlags, const AudioTimeStamp* timestamp,
               AUAudioFrameCount frameCount, NSInteger outputBusNumber, AudioBufferList* outputData,
               const AURenderPullInputBlock& pullInputBlock) {
        return render(internal, actionFlags, timestamp, frameCount, outputBusNumber, outputData,
                      pullInputBlock);
    };
}

AUScheduleParameterBlock AUAudioUnit::scheduleParameterBlock() {
    return [this](AUEventSampleTime time, AUAudioFrameCount ramp, AUParameterAddress address,
                  AUValue value) {
        schedule({time, ramp, address, value});
    };
}

void AUAudioUnit::schedule(const Scheduled& event) {
    if (pendingCount < pending.size())
        pending[pendingCount++] = event;
}

AUAudioUnitStatus AUAudioUnit::render(const AUInternalRenderBlock& internal,
                                      AudioUnitRenderActionFlags* actionFlags,
                                      const AudioTimeStamp* timestamp, AUAudioFrameCount frameCount,
                                      NSInteger outputBusNumber, AudioBufferList* outputData,
                                      const AURenderPullInputBlock& pullInputBlock) {
    if (!renderResourcesAllocated() || !internal)
        return kAudioUnitErr_Uninitialized;
    const AUEventSampleTime start =
        timestamp ? static_cast<AUEventSampleTime>(timestamp->mSampleTime) : 0;
    const AUEventSampleTime end = start + frameCount;

    // Take this cycle's events out of the pool, in time order (stable: equal times
    // keep the order they were scheduled in), and link them.
    std::size_t taken = 0;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < pendingCount; ++i) {
        Scheduled event = pending[i];
        if (event.time == AUEventSampleTimeImmediate)
            event.time = start;
        if (event.time >= end) {
            pending[kept++] = pending[i];
            continue;
        }
        AURenderEvent rendered{};
        rendered.parameter.eventSampleTime = event.time;
        rendered.parameter.eventType =
            event.ramp > 0 ? AURenderEventParameterRamp : AURenderEventParameter;
        rendered.parameter.rampDurationSampleFrames = event.ramp;
        rendered.parameter.parameterAddress = event.address;
        rendered.parameter.value = event.value;
        std::size_t slot = taken++;
        while (slot > 0 && cycleEvents[slot - 1].head.eventSampleTime > event.time) {
            cycleEvents[slot] = cycleEvents[slot - 1];
            --slot;
        }
        cycleEvents[slot] = rendered;
    }
    pendingCount = kept;
    for (std::size_t i = 0; i < taken; ++i)
        cycleEvents[i].head.next = i + 1 < taken ? &cycleEvents[i + 1] : nullptr;

    return internal(actionFlags, timestamp, frameCount, outputBusNumber, outputData,
                    taken > 0 ? &cycleEvents[0] : nullptr, pullInputBlock);
}
