#pragma once
// The host-visible parameter model of an audio unit: parameters with their
// ranges, units, option flags and value strings, the tree that holds them, the
// implementor callbacks through which the unit answers the host (value observer,
// value provider, value<->text), and the host-side observers that follow every
// write (plain value observers and automation observers that also see the touch
// and release of a gesture).
//
// Threads: parameters are created and trees built on the main thread. Values are
// written and read from any thread (the host's parameter thread, the main
// thread); callbacks and observers run synchronously on the writing or reading
// thread. Installing callbacks and observers is safe against concurrent writes.
// Nothing here is real-time safe: the render thread takes values through render
// events, not through these objects.

#include "AudioToolbox/AudioTypes.h"
#include "AudioToolbox/HostTime.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// Identifies a host-side observer; a write that names it as originator skips it.
using AUParameterObserverToken = void*;

// Unit of a parameter's value (the platform's raw values).
enum class AudioUnitParameterUnit : std::uint32_t {
    generic = 0,
    indexed = 1,
    boolean = 2,
    percent = 3,
    seconds = 4,
    sampleFrames = 5,
    phase = 6,
    rate = 7,
    hertz = 8,
    cents = 9,
    relativeSemiTones = 10,
    midiNoteNumber = 11,
    midiController = 12,
    decibels = 13,
    linearGain = 14,
    degrees = 15,
    equalPowerCrossfade = 16,
    mixerFaderCurve1 = 17,
    pan = 18,
    meters = 19,
    absoluteCents = 20,
    octaves = 21,
    bpm = 22,
    beats = 23,
    milliseconds = 24,
    ratio = 25,
    customUnit = 26,
};

// Option bits of a parameter.
using AudioUnitParameterOptions = std::uint32_t;
namespace AudioUnitParameterFlag {
inline constexpr AudioUnitParameterOptions hasClump = 0x00100000;
inline constexpr AudioUnitParameterOptions valuesHaveStrings = 0x00200000;
inline constexpr AudioUnitParameterOptions canRamp = 0x02000000;
inline constexpr AudioUnitParameterOptions isGlobalMeta = 0x10000000;
inline constexpr AudioUnitParameterOptions isReadable = 0x40000000;
inline constexpr AudioUnitParameterOptions isWritable = 0x80000000;
} // namespace AudioUnitParameterFlag

// The gesture phase of a write, as a host records it.
enum class AUParameterAutomationEventType : std::uint32_t {
    value = 0,
    touch = 1,
    release = 2,
};

// One write as an automation observer sees it.
struct AUParameterAutomationEvent {
    std::uint64_t hostTime = 0;
    AUParameterAddress address = 0;
    AUValue value = 0;
    AUParameterAutomationEventType eventType = AUParameterAutomationEventType::value;
};

class AUParameter;
class AUParameterTree;

using AUParameterObserver = std::function<void(AUParameterAddress, AUValue)>;
using AUParameterAutomationObserver = std::function<void(const AUParameterAutomationEvent&)>;

// The unit's side of the tree.
using AUImplementorValueObserver = std::function<void(AUParameter&, AUValue)>;
using AUImplementorValueProvider = std::function<AUValue(AUParameter&)>;
// The value is absent when the host asks for the text of the current value.
using AUImplementorStringFromValueCallback =
    std::function<std::string(AUParameter&, const AUValue* valueOrNull)>;
using AUImplementorValueFromStringCallback =
    std::function<AUValue(AUParameter&, const std::string&)>;

// Common base of parameters and trees: the host-side observers. An observer added
// to a tree sees the writes of every parameter in it; one added to a parameter
// sees only that parameter's writes.
class AUParameterNode {
  public:
    virtual ~AUParameterNode() = default;
    AUParameterNode(const AUParameterNode&) = delete;
    AUParameterNode& operator=(const AUParameterNode&) = delete;

    // Thread: any.
    AUParameterObserverToken tokenByAddingParameterObserver(AUParameterObserver observer);
    AUParameterObserverToken
    tokenByAddingParameterAutomationObserver(AUParameterAutomationObserver observer);
    void removeParameterObserver(AUParameterObserverToken token);

  protected:
    AUParameterNode() = default;
    // Calls every observer but the originator's, outside the lock.
    void notifyObservers(const AUParameterAutomationEvent& event,
                         AUParameterObserverToken originator) const;

  private:
    struct Entry {
        AUParameterObserverToken token;
        std::shared_ptr<const AUParameterObserver> plain;
        std::shared_ptr<const AUParameterAutomationObserver> automation;
    };
    AUParameterObserverToken add(Entry entry);
    mutable std::mutex mutex;
    std::vector<Entry> observers;
};

class AUParameter final : public AUParameterNode {
  public:
    // Creation fields (what the tree's factory takes).
    struct Definition {
        std::string identifier;
        std::string name;
        AUParameterAddress address = 0;
        AUValue min = 0;
        AUValue max = 1;
        AudioUnitParameterUnit unit = AudioUnitParameterUnit::generic;
        std::string unitName;
        AudioUnitParameterOptions flags = 0;
        std::optional<std::vector<std::string>> valueStrings;
        std::optional<std::vector<AUParameterAddress>> dependentParameters;
    };

    explicit AUParameter(Definition definition);

    // Fixed at creation. Thread: any.
    const std::string& identifier() const { return def.identifier; }
    const std::string& displayName() const { return def.name; }
    AUParameterAddress address() const { return def.address; }
    AUValue minValue() const { return def.min; }
    AUValue maxValue() const { return def.max; }
    AudioUnitParameterUnit unit() const { return def.unit; }
    const std::string& unitName() const { return def.unitName; }
    AudioUnitParameterOptions flags() const { return def.flags; }
    const std::optional<std::vector<std::string>>& valueStrings() const { return def.valueStrings; }
    const std::optional<std::vector<AUParameterAddress>>& dependentParameters() const {
        return def.dependentParameters;
    }

    // The current value: the tree's value provider's answer when one is
    // installed, else the last value written. Thread: any.
    AUValue value();
    // A write with no originator, the current host time and a value event.
    void setValue(AUValue value);
    // Stores the value, hands it to the tree's implementor value observer, then
    // to every host-side observer of this parameter and of its tree except the
    // one whose token is `originator`. Every event type passes the value on
    // (a touch or release carries the value of the gesture's edge). Thread: any.
    void setValue(AUValue value, AUParameterObserverToken originator, std::uint64_t hostTime,
                  AUParameterAutomationEventType eventType);

    // Text of a value (the current one when `valueOrNull` is null) and value of a
    // text, through the tree's implementor callbacks when installed; without
    // them, a value string by whole index or "%g", and the index of a value
    // string or the number. Thread: any.
    std::string string(const AUValue* valueOrNull);
    AUValue value(const std::string& text);

    // The tree that holds this parameter, if it still exists.
    std::shared_ptr<AUParameterTree> tree() const { return parent.lock(); }

  private:
    friend class AUParameterTree;
    const Definition def;
    std::atomic<AUValue> stored;
    std::weak_ptr<AUParameterTree> parent;
};

class AUParameterTree final : public AUParameterNode {
  public:
    // The factory of host-visible parameters. Thread: main.
    static std::shared_ptr<AUParameter>
    createParameter(std::string identifier, std::string name, AUParameterAddress address,
                    AUValue min, AUValue max, AudioUnitParameterUnit unit, std::string unitName,
                    AudioUnitParameterOptions flags,
                    std::optional<std::vector<std::string>> valueStrings,
                    std::optional<std::vector<AUParameterAddress>> dependentParameters);
    // A tree over the parameters, in this order; each parameter now belongs to
    // it (a parameter moved into a second tree leaves the first). Thread: main.
    static std::shared_ptr<AUParameterTree>
    createTree(std::vector<std::shared_ptr<AUParameter>> children);

    const std::vector<std::shared_ptr<AUParameter>>& children() const { return kids; }
    const std::vector<std::shared_ptr<AUParameter>>& allParameters() const { return kids; }
    // Lookup; null when absent. Thread: any.
    std::shared_ptr<AUParameter> parameter(AUParameterAddress address) const;
    std::shared_ptr<AUParameter> parameter(const std::string& identifier) const;

    // The implementor callbacks (empty when not installed). Thread: any.
    void setImplementorValueObserver(AUImplementorValueObserver callback);
    void setImplementorValueProvider(AUImplementorValueProvider callback);
    void setImplementorStringFromValueCallback(AUImplementorStringFromValueCallback callback);
    void setImplementorValueFromStringCallback(AUImplementorValueFromStringCallback callback);
    bool hasImplementorValueObserver() const;
    bool hasImplementorValueProvider() const;
    bool hasImplementorStringFromValueCallback() const;
    bool hasImplementorValueFromStringCallback() const;

  private:
    friend class AUParameter;
    AUParameterTree() = default;
    template <class F> struct Slot {
        std::shared_ptr<const F> get(std::mutex& m) const {
            std::lock_guard lock(m);
            return fn;
        }
        void set(std::mutex& m, F f) {
            auto next = f ? std::make_shared<const F>(std::move(f)) : nullptr;
            std::lock_guard lock(m);
            fn = std::move(next);
        }
        std::shared_ptr<const F> fn;
    };
    std::vector<std::shared_ptr<AUParameter>> kids;
    mutable std::mutex callbackMutex;
    Slot<AUImplementorValueObserver> valueObserver;
    Slot<AUImplementorValueProvider> valueProvider;
    Slot<AUImplementorStringFromValueCallback> stringFromValue;
    Slot<AUImplementorValueFromStringCallback> valueFromString;
    // Lets a parameter's write reach the tree's observers.
    void notifyFromChild(const AUParameterAutomationEvent& event,
                         AUParameterObserverToken originator) const {
        notifyObservers(event, originator);
    }
};
