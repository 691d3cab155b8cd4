#include "AudioToolbox/AUParameters.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

// ---- observers -------------------------------------------------------------

AUParameterObserverToken AUParameterNode::add(Entry entry) {
    // Tokens are unique per process, never null, and never dereferenced.
    static std::atomic<std::uintptr_t> next{1};
    entry.token = reinterpret_cast<AUParameterObserverToken>(next.fetch_add(1));
    std::lock_guard lock(mutex);
    observers.push_back(std::move(entry));
    return observers.back().token;
}

AUParameterObserverToken
AUParameterNode::tokenByAddingParameterObserver(AUParameterObserver observer) {
    return add(
        {nullptr, std::make_shared<const AUParameterObserver>(std::move(observer)), nullptr});
}

AUParameterObserverToken
AUParameterNode::tokenByAddingParameterAutomationObserver(AUParameterAutomationObserver observer) {
    return add({nullptr, nullptr,
                std::make_shared<const AUParameterAutomationObserver>(std::move(observer))});
}

void AUParameterNode::removeParameterObserver(AUParameterObserverToken token) {
    std::lock_guard lock(mutex);
    std::erase_if(observers, [token](const Entry& e) { return e.token == token; });
}

void AUParameterNode::notifyObservers(const AUParameterAutomationEvent& event,
                                      AUParameterObserverToken originator) const {
    std::vector<Entry> snapshot;
    {
        std::lock_guard lock(mutex);
        snapshot = observers;
    }
    for (const Entry& e : snapshot) {
        if (originator != nullptr && e.token == originator)
            continue;
        if (e.plain)
            (*e.plain)(event.address, event.value);
        if (e.automation)
            (*e.automation)(event);
    }
}

// ---- parameter -------------------------------------------------------------

AUParameter::AUParameter(Definition definition) : def(std::move(definition)), stored(def.min) {}

AUValue AUParameter::value() {
    if (auto t = tree())
        if (auto provider = t->valueProvider.get(t->callbackMutex))
            return (*provider)(*this);
    return stored.load();
}

void AUParameter::setValue(AUValue value) {
    setValue(value, nullptr, AudioGetCurrentHostTime(), AUParameterAutomationEventType::value);
}

void AUParameter::setValue(AUValue value, AUParameterObserverToken originator,
                           std::uint64_t hostTime, AUParameterAutomationEventType eventType) {
    stored.store(value);
    auto t = tree();
    if (t)
        if (auto observer = t->valueObserver.get(t->callbackMutex))
            (*observer)(*this, value);
    const AUParameterAutomationEvent event{hostTime, def.address, value, eventType};
    notifyObservers(event, originator);
    if (t)
        t->notifyFromChild(event, originator);
}

std::string AUParameter::string(const AUValue* valueOrNull) {
    if (auto t = tree())
        if (auto callback = t->stringFromValue.get(t->callbackMutex))
            return (*callback)(*this, valueOrNull);
    const AUValue v = valueOrNull ? *valueOrNull : value();
    if (def.valueStrings && std::isfinite(v) && v >= 0 &&
        v < static_cast<AUValue>(def.valueStrings->size()))
        return (*def.valueStrings)[static_cast<std::size_t>(v)];
    char text[64];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(v));
    return text;
}

AUValue AUParameter::value(const std::string& text) {
    if (auto t = tree())
        if (auto callback = t->valueFromString.get(t->callbackMutex))
            return (*callback)(*this, text);
    if (def.valueStrings) {
        const auto& strings = *def.valueStrings;
        if (auto it = std::find(strings.begin(), strings.end(), text); it != strings.end())
            return static_cast<AUValue>(it - strings.begin());
    }
    char* end = nullptr;
    const float parsed = std::strtof(text.c_str(), &end);
    return (!text.empty() && end == text.c_str() + text.size()) ? parsed : 0.0f;
}

// ---- tree ------------------------------------------------------------------

std::shared_ptr<AUParameter> AUParameterTree::createParameter(
    std::string identifier, std::string name, AUParameterAddress address, AUValue min, AUValue max,
    AudioUnitParameterUnit unit, std::string unitName, AudioUnitParameterOptions flags,
    std::optional<std::vector<std::string>> valueStrings,
    std::optional<std::vector<AUParameterAddress>> dependentParameters) {
    return std::make_shared<AUParameter>(AUParameter::Definition{
        std::move(identifier), std::move(name), address, min, max, unit, std::move(unitName), flags,
        std::move(valueStrings), std::move(dependentParameters)});
}

std::shared_ptr<AUParameterTree>
AUParameterTree::createTree(std::vector<std::shared_ptr<AUParameter>> children) {
    std::shared_ptr<AUParameterTree> tree(new AUParameterTree());
    tree->kids = std::move(children);
    for (const auto& child : tree->kids)
        child->parent = tree;
    return tree;
}

std::shared_ptr<AUParameter> AUParameterTree::parameter(AUParameterAddress address) const {
    for (const auto& p : kids)
        if (p->address() == address)
            return p;
    return nullptr;
}

std::shared_ptr<AUParameter> AUParameterTree::parameter(const std::string& identifier) const {
    for (const auto& p : kids)
        if (p->identifier() == identifier)
            return p;
    return nullptr;
}

void AUParameterTree::setImplementorValueObserver(AUImplementorValueObserver callback) {
    valueObserver.set(callbackMutex, std::move(callback));
}
void AUParameterTree::setImplementorValueProvider(AUImplementorValueProvider callback) {
    valueProvider.set(callbackMutex, std::move(callback));
}
void AUParameterTree::setImplementorStringFromValueCallback(
    AUImplementorStringFromValueCallback callback) {
    stringFromValue.set(callbackMutex, std::move(callback));
}
void AUParameterTree::setImplementorValueFromStringCallback(
    AUImplementorValueFromStringCallback callback) {
    valueFromString.set(callbackMutex, std::move(callback));
}
bool AUParameterTree::hasImplementorValueObserver() const {
    return valueObserver.get(callbackMutex) != nullptr;
}
bool AUParameterTree::hasImplementorValueProvider() const {
    return valueProvider.get(callbackMutex) != nullptr;
}
bool AUParameterTree::hasImplementorStringFromValueCallback() const {
    return stringFromValue.get(callbackMutex) != nullptr;
}
bool AUParameterTree::hasImplementorValueFromStringCallback() const {
    return valueFromString.get(callbackMutex) != nullptr;
}
