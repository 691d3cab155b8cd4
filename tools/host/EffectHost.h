#pragma once
// What a host does with the effect once its unit exists: set the formats, the block
// size and the tempo, allocate, render a clip through the render block with a
// pull-input block, write parameters through the parameter tree as automation
// does, apply factory presets, and save and restore the unit's state.
// Main thread (the host renders on the thread that calls render()).

#include "AudioFile.h"

#include "AudioToolbox/AUAudioUnit.h"
#include "FactoryPresets.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

struct RenderSettings {
    AUAudioFrameCount blockSize = 512;
    double tempo = 120;
    double tailSeconds = 2;
};

class EffectHost {
  public:
    explicit EffectHost(std::shared_ptr<AUAudioUnit> unit) : unit(std::move(unit)) {}

    AUAudioUnit& audioUnit() { return *unit; }

    // Writes one parameter by identifier through the tree; false when the tree
    // has no such parameter.
    bool setParameter(const std::string& identifier, AUValue value);
    // The value the tree reports (the kernel's last raw value), nullopt if unknown.
    std::optional<AUValue> parameterValue(const std::string& identifier) const;
    // Writes a preset's values in the editor's order and records its id in the
    // unit's state.
    void applyPreset(const FactoryPreset& preset);

    // Renders the clip followed by the tail of silence, at the clip's rate and
    // channel count. `progress` (optional) is told the fraction done after each
    // block. On failure returns nullopt with a reason in `error`.
    std::optional<AudioClip> render(const AudioClip& input, const RenderSettings& settings,
                                    std::string& error,
                                    const std::function<void(double)>& progress = {});

  private:
    std::shared_ptr<AUAudioUnit> unit;
};
