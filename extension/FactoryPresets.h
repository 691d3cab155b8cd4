#pragma once
// The effect's factory presets: the Default preset and sixty presets in six styles.
// They are constant data of the extension: the editor's view model applies one by
// writing the parameters, and the host keeps only the chosen preset's id in the
// unit's saved state. The three lists are built once on first use (thread-safely)
// and are read-only afterwards: callable on any thread.

#include "DelayEnums.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// A named, styled set of the fourteen parameter values, in the parameters' own
// units (percent, ms, Hz, enum cases), not the kernel's internal forms.
struct FactoryPreset {
    std::string name;
    std::string style;
    float mix = 0;      // percent 0...100
    float feedback = 0; // percent 0...150
    DelayTimeType delayType = DelayTimeType::ms;
    DelayNoteDivision delayNote = DelayNoteDivision::quarter;
    float delayMs = 0;         // ms; for a note preset the division's time at 120 BPM
    float modulationDepth = 0; // ms
    float modulationRate = 0;  // Hz
    ModulationLFOType lfoType = ModulationLFOType::triangle;
    float width = 0;   // percent -200...200
    float spread = 0;  // ms -25...25
    float lowCut = 0;  // Hz
    float highCut = 0; // Hz
    DelayModel model = DelayModel::bbd1;
    float dirt = 0; // percent -100...100

    // style + "-" + name, e.g. "Echo-Quarter Master".
    std::string id() const { return style + "-" + name; }
};

// One parameter write of a preset: the parameter's address and its value.
struct PresetParameterWrite {
    std::uint64_t address;
    float value;
};

// What applying a preset writes, in order: mix, feedback, delay type, then the delay
// in ms or the note division (whichever the preset's delay type uses), depth, rate,
// shape, width, spread, low cut, high cut, model and dirt. The delay type comes
// before the delay it selects, so a conversion it causes is overwritten by the
// preset's own delay. Any thread; pure.
std::array<PresetParameterWrite, 13> presetParameterWrites(const FactoryPreset& preset);

// A style with its presets, in list order.
struct PresetGroup {
    std::string style;
    std::vector<FactoryPreset> presets;

    const std::string& id() const { return style; }
};

// The key under which the unit's saved state keeps the chosen preset's id.
inline constexpr const char* presetIdStateKey = "currentPresetId";

const FactoryPreset& defaultFactoryPreset();
// The Default preset, then the ten presets of each style in the order Echo, Slapback,
// Chorus, Flanger, Vibrato, Runaway.
const std::vector<FactoryPreset>& allFactoryPresets();
// One group per style in that order; the Default preset belongs to none.
const std::vector<PresetGroup>& factoryPresetGroups();
