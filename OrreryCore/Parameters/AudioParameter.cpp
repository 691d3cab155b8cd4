#include "Parameters/AudioParameter.h"

#include "AudioToolbox/HostTime.h"
#include "Dispatch/Dispatch.h"

#include <cmath>

std::string displayableSuffix(AudioUnitParameterUnit unit) {
    switch (unit) {
    case AudioUnitParameterUnit::percent:
        return "%";
    case AudioUnitParameterUnit::hertz:
        return "Hz";
    case AudioUnitParameterUnit::decibels:
        return "dB";
    case AudioUnitParameterUnit::milliseconds:
        return "MS";
    default:
        return "";
    }
}

AudioUnitParameterOptions
AudioParameter::flagsFor(AudioUnitParameterUnit units,
                         const std::optional<std::vector<std::string>>& valueStrings,
                         const std::optional<std::vector<AUParameterAddress>>& dependents) {
    using namespace AudioUnitParameterFlag;
    AudioUnitParameterOptions flags = isReadable | isWritable;
    if (dependents && !dependents->empty())
        flags |= isGlobalMeta | hasClump;
    if (valueStrings && !valueStrings->empty())
        flags |= AudioUnitParameterFlag::valuesHaveStrings;
    if (units == AudioUnitParameterUnit::decibels || units == AudioUnitParameterUnit::linearGain ||
        units == AudioUnitParameterUnit::absoluteCents)
        flags |= canRamp;
    return flags;
}

AudioParameter::AudioParameter(
    AUParameterAddress address, std::string identifier, std::string name,
    AudioUnitParameterUnit units, ValueRange valueRange, float defaultValue,
    ValueIncrement valueIncrement, std::optional<std::vector<std::string>> valueStrings,
    std::optional<std::vector<AUParameterAddress>> dependentParameterAddresses)
    : address(address), identifier(std::move(identifier)), name(std::move(name)), units(units),
      valueRange(valueRange), defaultValue(defaultValue), valueIncrement(valueIncrement),
      valueStrings(std::move(valueStrings)),
      dependentParameterAddresses(std::move(dependentParameterAddresses)),
      auParameter(AUParameterTree::createParameter(
          this->identifier, this->name, address, valueRange.lowerBound, valueRange.upperBound,
          units, ::displayableSuffix(units),
          flagsFor(units, this->valueStrings, this->dependentParameterAddresses),
          this->valueStrings, this->dependentParameterAddresses)),
      value(defaultValue), lastPassedValue(defaultValue) {
    auParameter->setValue(defaultValue);
}

std::shared_ptr<AudioParameter>
AudioParameter::create(AUParameterAddress address, std::string identifier, std::string name,
                       AudioUnitParameterUnit units, ValueRange valueRange, float defaultValue,
                       ValueIncrement valueIncrement,
                       std::optional<std::vector<std::string>> valueStrings,
                       std::optional<std::vector<AUParameterAddress>> dependentParameterAddresses) {
    return std::shared_ptr<AudioParameter>(new AudioParameter(
        address, std::move(identifier), std::move(name), units, valueRange, defaultValue,
        valueIncrement, std::move(valueStrings), std::move(dependentParameterAddresses)));
}

std::shared_ptr<AudioParameter> AudioParameter::dummyParam() {
    return create(0, "", "", AudioUnitParameterUnit::customUnit, {0, 0}, 0,
                  ValueIncrement::linear());
}

void AudioParameter::setValue(float newValue, ParameterEditor source, ParameterEditorState state) {
    // v = min(max(newValue, lower), upper); NaN has no order, so it gets the lower bound.
    const float v = std::isnan(newValue) ? valueRange.lowerBound
                                         : std::min(std::max(newValue, valueRange.lowerBound),
                                                    valueRange.upperBound);
    if (state == ParameterEditorState::change && v == lastPassedValue.load())
        return;
    lastPassedValue.store(v);

    if (source == ParameterEditor::ui)
        auParameter->setValue(v, nullptr, AudioGetCurrentHostTime(), automationEventType(state));

    DispatchQueue::main().async([self = shared_from_this(), v, source] {
        if (self->isBeingInteractivelyEdited.get() && source != ParameterEditor::ui)
            return; // do not move a control under the user's hand
        self->value.set(v);
    });
}

float AudioParameter::displayableValue() const {
    return units == AudioUnitParameterUnit::absoluteCents ? value.get() / 100.0f : value.get();
}

std::string AudioParameter::displayableSuffix() const {
    return ::displayableSuffix(units);
}

float AudioParameter::saveScaleFactor() const {
    return units == AudioUnitParameterUnit::absoluteCents ? 0.01f : 1.0f;
}

float AudioParameter::displayScaleFactor() const {
    return units == AudioUnitParameterUnit::absoluteCents ? 100.0f : 1.0f;
}

bool AudioParameter::isIndexed() const {
    return units == AudioUnitParameterUnit::indexed;
}
