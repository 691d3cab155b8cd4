#pragma once
// One automatable plug-in parameter as the editor sees it: fixed creation fields,
// the host-visible AUParameter it owns, and an observable mirror of its value
// that the views bind to. Every write goes through setValue(_:source:state:),
// which clamps, forwards user-interface writes to the host-visible parameter
// with the gesture's event type, and updates the mirror on the main queue.
//
// Threads: the creation fields are immutable and readable anywhere. `value` and
// `isBeingInteractivelyEdited` are main-thread state. setValue(_:source:state:)
// may be called from any thread (controls on the main thread, the tree's
// observer on the host's parameter thread); its host write happens on the calling
// thread, the mirror update always later on the main queue. Not real-time safe.

#include "AudioToolbox/AUParameters.h"
#include "Observation/Observation.h"
#include "Parameters/ParameterTypes.h"

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class AudioParameter : public std::enable_shared_from_this<AudioParameter> {
  public:
    // Stores the fields, starts `value` at `defaultValue`, creates the
    // host-visible parameter and sets it to `defaultValue`. Always owned by a
    // shared_ptr (the queued mirror updates keep the parameter alive).
    static std::shared_ptr<AudioParameter> create(
        AUParameterAddress address, std::string identifier, std::string name,
        AudioUnitParameterUnit units, ValueRange valueRange, float defaultValue,
        ValueIncrement valueIncrement = ValueIncrement::linear(),
        std::optional<std::vector<std::string>> valueStrings = std::nullopt,
        std::optional<std::vector<AUParameterAddress>> dependentParameterAddresses = std::nullopt);
    // A placeholder: address 0, empty identifier and name, custom unit, range 0 to
    // 0, default 0, linear; it owns a real AUParameter.
    static std::shared_ptr<AudioParameter> dummyParam();

    virtual ~AudioParameter() = default;
    AudioParameter(const AudioParameter&) = delete;
    AudioParameter& operator=(const AudioParameter&) = delete;

    // Fixed at creation. Thread: any.
    const AUParameterAddress address;
    const std::string identifier;
    const std::string name;
    const AudioUnitParameterUnit units;
    const ValueRange valueRange;
    const float defaultValue;
    const ValueIncrement valueIncrement;
    const std::optional<std::vector<std::string>> valueStrings;
    const std::optional<std::vector<AUParameterAddress>> dependentParameterAddresses;
    const std::shared_ptr<AUParameter> auParameter;
    const std::string& id() const { return identifier; }

    // The mirror of the value and the drag mark; observers are told only of
    // changes. Thread: main.
    Observed<float> value;
    Observed<bool> isBeingInteractivelyEdited{false};

    // The one way to change the parameter. Thread: any.
    //  1. v = newValue clamped to the range (NaN and -inf give the lower bound).
    //  2. A `change` equal to the last value this parameter passed on returns at
    //     once: no host write, nothing queued. Begin and end always pass.
    //  3. From `ui`: v is written to `auParameter` with no originator, the current
    //     host time and the event type of `state`.
    //  4. Always: a main-queue task sets `value` to v, unless the user is dragging
    //     this parameter and the write does not come from `ui`.
    // The equality test of step 2 compares with the last value passed on (kept
    // atomically at call time), not with the mirror, whose update may still be
    // queued: a write that follows a still-queued one is never dropped.
    virtual void setValue(float newValue, ParameterEditor source, ParameterEditorState state);

    // `value` / 100 for absolute cents, else `value`. Thread: main.
    virtual float displayableValue() const;
    virtual std::string displayableSuffix() const;
    // 0.01 and 100 for absolute cents, else 1. Thread: any.
    virtual float saveScaleFactor() const;
    virtual float displayScaleFactor() const;
    // Controls round to whole values. Thread: any.
    virtual bool isIndexed() const;

    // The option flags the host-visible parameter gets for these fields.
    static AudioUnitParameterOptions
    flagsFor(AudioUnitParameterUnit units,
             const std::optional<std::vector<std::string>>& valueStrings,
             const std::optional<std::vector<AUParameterAddress>>& dependents);

  protected:
    AudioParameter(AUParameterAddress address, std::string identifier, std::string name,
                   AudioUnitParameterUnit units, ValueRange valueRange, float defaultValue,
                   ValueIncrement valueIncrement,
                   std::optional<std::vector<std::string>> valueStrings,
                   std::optional<std::vector<AUParameterAddress>> dependentParameterAddresses);

  private:
    std::atomic<float> lastPassedValue;
};
