#pragma once
// The open base class of a plug-in editor's view model: the ordered list of the
// plug-in's parameters and a weak reference to its audio unit. Once the unit
// exists it builds the unit's parameter tree from the parameters, pushes every
// value into the unit, and installs the tree's implementor callbacks: the value
// observer (host and editor changes come back here and go on to the kernel) and
// the value<->text callbacks.
//
// Routes of a value:
//  - from a control: AudioParameter::setValue(ui) writes its AUParameter; the
//    tree's value observer calls setValue(_:forAddress:source: parameterObserver),
//    which reaches the unit's setParameter(address:value:);
//  - from the host: the tree's value observer, the same route; the parameter's
//    mirror follows on the main queue unless the user drags it.
//
// Threads: construction, setupParameters and configureAudioUnit run on the main
// thread; the list is only read afterwards. The tree's callbacks and
// setValue(_:forAddress:source:) run on whatever thread the host delivers
// parameter work on. No lock is taken. Always owned by a shared_ptr (the tree's
// observer holds the settings object weakly).

#include "Foundation/Bundle.h"
#include "Parameters/AudioParameter.h"
#include "Parameters/Hasher.h"
#include "Parameters/OrreryAudioUnit.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class ParameterSettings : public std::enable_shared_from_this<ParameterSettings> {
  public:
    ParameterSettings() = default;
    virtual ~ParameterSettings() = default;
    ParameterSettings(const ParameterSettings&) = delete;
    ParameterSettings& operator=(const ParameterSettings&) = delete;

    // All parameters in list order: the order of the tree's children, of the
    // value push and of the hash. Thread: any (after setup).
    const std::vector<std::shared_ptr<AudioParameter>>& parameters() const { return list; }

    // The main bundle's "CFBundleShortVersionString" when it is a string, else
    // "Unknown". Thread: any.
    virtual std::string pluginVersion() const;
    static std::string shortVersion(const Bundle* bundle);

    // The unit being driven; null until configureAudioUnit or once it is gone.
    virtual std::shared_ptr<OrreryAudioUnit> audioUnit() const { return unit.lock(); }
    virtual void setAudioUnit(const std::shared_ptr<OrreryAudioUnit>& audioUnit) {
        unit = audioUnit;
    }

    // Replaces the list (order kept). Thread: main, once, from the subclass's
    // constructor.
    virtual void setupParameters(std::vector<std::shared_ptr<AudioParameter>> parameters);
    // Keeps the unit weakly, gives it a tree of every parameter's AUParameter in
    // list order, then pushes every parameter's value in list order. Thread: main.
    virtual void configureAudioUnit(const std::shared_ptr<OrreryAudioUnit>& audioUnit);
    // A hash of every parameter's value (as a float, so -0.0 equals +0.0) in list
    // order, then hashAdditionalValues. Comparable within one run only.
    // Thread: main.
    virtual std::int64_t paramsHash() const;
    virtual void hashAdditionalValues(Hasher& hasher) const {}
    // Installs the tree's value observer and value<->text callbacks, when the unit
    // is alive and has a tree. Thread: main.
    virtual void setupParameterTreeListeners();
    // Routes one value: to the first parameter with that address (a `change`
    // write), to updateDependentValues when that parameter has dependents (with
    // the value as received), and to the unit whatever the address. A value that
    // is not finite never reaches the unit. Thread: any.
    virtual void setValue(AUValue value, AUParameterAddress address, ParameterEditor source);
    // Hook after a parameter with dependents changed; the base does nothing.
    // Thread: the caller of setValue(_:forAddress:source:).
    virtual void updateDependentValues(AUParameterAddress address, AUValue value) {}

  private:
    std::vector<std::shared_ptr<AudioParameter>> list;
    std::weak_ptr<OrreryAudioUnit> unit;
};
