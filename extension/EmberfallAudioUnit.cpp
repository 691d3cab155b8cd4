#include "EmberfallAudioUnit.h"

#include "FactoryPresets.h"

#include "AudioToolbox/AVAudioFormat.h"
#include "Dispatch/Dispatch.h"

#include <cmath>

namespace {

constexpr double defaultSampleRate = 44100;
constexpr AUAudioChannelCount defaultChannels = 2;

} // namespace

EmberfallAudioUnit::EmberfallAudioUnit(const AudioComponentDescription& description)
    : AUAudioUnit(description), processHelper(kernel, inputBus),
      renderCycle(kernel, inputBus, processHelper) {
    kernel.meterIsStereo = 1;
    kernel.parameterCallback = &EmberfallAudioUnit::renderThreadParameterHook;
    kernel.parameterCallbackContext = this;
}

std::optional<AUError> EmberfallAudioUnit::initialize(AudioComponentInstantiationOptions options) {
    if (std::optional<AUError> error = AUAudioUnit::initialize(options))
        return error;
    auto self = sharedAs<AUAudioUnit>();
    auto inputBusObject =
        AUAudioUnitBus::create(AVAudioFormat::standardFormat(defaultSampleRate, defaultChannels));
    outputBus =
        AUAudioUnitBus::create(AVAudioFormat::standardFormat(defaultSampleRate, defaultChannels));
    if (!inputBusObject || !outputBus)
        return AUError{kAudioUnitErr_FormatNotSupported, "cannot create the busses"};
    inputs = AUAudioUnitBusArray::create(self, AUAudioUnitBusType::input, {inputBusObject});
    outputs = AUAudioUnitBusArray::create(self, AUAudioUnitBusType::output, {outputBus});
    return std::nullopt;
}

AUAudioFrameCount EmberfallAudioUnit::maximumFramesToRender() const {
    return renderCycle.maximumFramesToRender();
}

void EmberfallAudioUnit::setMaximumFramesToRender(AUAudioFrameCount frames) {
    renderCycle.setMaximumFramesToRender(frames);
}

AUInternalRenderBlock EmberfallAudioUnit::internalRenderBlock() {
    return renderCycle.renderBlock();
}

std::optional<AUError> EmberfallAudioUnit::allocateRenderResources() {
    const AUAudioUnitStatus status = renderCycle.allocateRenderResources(
        (*inputs)[0]->format(), (*outputs)[0]->format(), musicalContextBlock());
    if (status != noErr)
        return AUError{status, "the bus formats or the block size are not supported"};
    if (std::optional<AUError> error = AUAudioUnit::allocateRenderResources()) {
        renderCycle.deallocateRenderResources();
        return error;
    }
    return std::nullopt;
}

void EmberfallAudioUnit::deallocateRenderResources() {
    renderCycle.deallocateRenderResources();
    AUAudioUnit::deallocateRenderResources();
}

void EmberfallAudioUnit::setParameter(AUParameterAddress address, AUValue value) {
    if (std::isfinite(value))
        kernel.setParameter(address, value);
}

std::optional<PropertyListDictionary> EmberfallAudioUnit::fullState() const {
    std::optional<PropertyListDictionary> state = AUAudioUnit::fullState();
    if (state)
        (*state)[presetIdStateKey] = currentPresetId();
    return state;
}

void EmberfallAudioUnit::setFullState(const std::optional<PropertyListDictionary>& state) {
    // Another component's state sets no value, so it selects no preset either.
    if (state && namesAnotherComponent(*state))
        return;
    restoring.fetch_add(1, std::memory_order_acq_rel);
    AUAudioUnit::setFullState(state);
    restoring.fetch_sub(1, std::memory_order_acq_rel);
    std::string id;
    if (state) {
        auto entry = state->find(presetIdStateKey);
        if (entry != state->end() && entry->second.string())
            id = *entry->second.string();
    }
    setCurrentPresetId(std::move(id));
}

std::string EmberfallAudioUnit::currentPresetId() const {
    std::lock_guard lock(presetIdMutex);
    return presetId;
}

void EmberfallAudioUnit::setCurrentPresetId(std::string id) {
    {
        std::lock_guard lock(presetIdMutex);
        presetId = id;
    }
    auto tell = [weakSelf = weakAs<EmberfallAudioUnit>(), id = std::move(id)] {
        auto self = weakSelf.lock();
        if (self && self->onPresetIdUpdate)
            self->onPresetIdUpdate(id);
    };
    if (Runtime::isMainThread())
        tell();
    else
        DispatchQueue::main().async(std::move(tell));
}

void EmberfallAudioUnit::renderThreadParameterHook(void* context, AUParameterAddress address,
                                                   AUValue) {
    if (address >= ParameterAddress::count)
        return;
    // The kernel already holds the value in its per-address table; mark it dirty.
    auto* unit = static_cast<EmberfallAudioUnit*>(context);
    unit->echoDirty.fetch_or(1u << address, std::memory_order_release);
}

void EmberfallAudioUnit::drainParameterEchoes() {
    // The value handed on is the kernel's latest for the address, so a write that
    // followed the render event (newer automation) is what the editor shows, never
    // the older event. A bit set again after the exchange repeats it next time.
    std::uint32_t dirty = echoDirty.exchange(0, std::memory_order_acq_rel);
    for (AUParameterAddress address = 0; dirty != 0; ++address, dirty >>= 1) {
        if ((dirty & 1u) != 0 && onParamValueUpdate)
            onParamValueUpdate(address, kernel.getParameter(address));
    }
}
