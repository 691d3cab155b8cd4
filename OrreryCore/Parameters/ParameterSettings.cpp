#include "Parameters/ParameterSettings.h"

#include "Parameters/ParameterText.h"

#include <cmath>

std::string ParameterSettings::shortVersion(const Bundle* bundle) {
    const PropertyListValue* entry =
        bundle ? bundle->object("CFBundleShortVersionString") : nullptr;
    if (entry && entry->string())
        return *entry->string();
    return "Unknown";
}

std::string ParameterSettings::pluginVersion() const {
    return shortVersion(Bundle::main().get());
}

void ParameterSettings::setupParameters(std::vector<std::shared_ptr<AudioParameter>> parameters) {
    list = std::move(parameters);
}

void ParameterSettings::configureAudioUnit(const std::shared_ptr<OrreryAudioUnit>& audioUnit) {
    setAudioUnit(audioUnit);
    if (!audioUnit)
        return;
    std::vector<std::shared_ptr<AUParameter>> children;
    children.reserve(list.size());
    for (const auto& parameter : list)
        children.push_back(parameter->auParameter);
    audioUnit->setParameterTree(AUParameterTree::createTree(std::move(children)));
    for (const auto& parameter : list)
        audioUnit->setParameter(parameter->address, parameter->value.get());
}

std::int64_t ParameterSettings::paramsHash() const {
    Hasher hasher;
    for (const auto& parameter : list)
        hasher.combine(parameter->value.get());
    hashAdditionalValues(hasher);
    return hasher.finalize();
}

void ParameterSettings::setupParameterTreeListeners() {
    // Each step looks the unit and its tree up again, as a subclass may replace them.
    auto treeOfUnit = [this]() -> std::shared_ptr<AUParameterTree> {
        auto au = audioUnit();
        return au ? au->parameterTree() : nullptr;
    };
    if (auto tree = treeOfUnit()) {
        std::weak_ptr<ParameterSettings> weakSelf = weak_from_this();
        tree->setImplementorValueObserver([weakSelf](AUParameter& parameter, AUValue value) {
            if (auto self = weakSelf.lock())
                self->setValue(value, parameter.address(), ParameterEditor::parameterObserver);
        });
    }
    if (auto tree = treeOfUnit())
        tree->setImplementorStringFromValueCallback(
            [](AUParameter& parameter, const AUValue* value) {
                return parameterText(parameter.valueStrings(), value);
            });
    if (auto tree = treeOfUnit())
        tree->setImplementorValueFromStringCallback(
            [](AUParameter&, const std::string& text) { return parameterValue(text); });
}

void ParameterSettings::setValue(AUValue value, AUParameterAddress address,
                                 ParameterEditor source) {
    for (const auto& parameter : list) {
        if (parameter->address != address)
            continue;
        parameter->setValue(value, source, ParameterEditorState::change);
        const auto& dependents = parameter->dependentParameterAddresses;
        if (dependents && !dependents->empty())
            updateDependentValues(address, value);
        break;
    }
    // The kernel clamps finite values itself; NaN or infinities must not reach it.
    if (!std::isfinite(value))
        return;
    if (auto au = audioUnit())
        au->setParameter(address, value);
}
