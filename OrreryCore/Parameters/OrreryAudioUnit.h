#pragma once
// The audio unit as the parameter framework sees it. The conformer is the
// plug-in's audio unit (an AUAudioUnit subclass); it forwards values to its
// kernel and exposes the host-visible parameter tree that the settings object
// builds for it. Hold it weakly: the unit and the settings object never keep
// each other alive.

#include "AudioToolbox/AUParameters.h"

#include <memory>

class OrreryAudioUnit {
  public:
    virtual ~OrreryAudioUnit() = default;

    // Sets the kernel's parameter of that address; the kernel applies its own
    // range. Thread: main or the host's parameter thread.
    virtual void setParameter(AUParameterAddress address, AUValue value) = 0;

    // The unit's host-visible tree (an AUAudioUnit's `parameterTree`). A conformer
    // that derives from AUAudioUnit forwards these to it. Thread: main.
    virtual std::shared_ptr<AUParameterTree> parameterTree() const = 0;
    virtual void setParameterTree(std::shared_ptr<AUParameterTree> tree) = 0;
};
