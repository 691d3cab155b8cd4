#include "FactoryPresets.h"

#include "ParameterDefinitions.h"

namespace {

using T = DelayTimeType;
using N = DelayNoteDivision;
using L = ModulationLFOType;
using M = DelayModel;

// A note-synced preset carries the division's time at 120 BPM as its delay in ms.
constexpr float atTempo120(DelayNoteDivision division) {
    return milliseconds(division, 120.0f);
}

std::vector<FactoryPreset> buildAll() {
    // name, style, mix, feedback, delay type, note, delay ms, depth, rate, shape, width,
    // spread, low cut, high cut, model (dirt is 0 in every factory preset)
    std::vector<FactoryPreset> presets{
        defaultFactoryPreset(),
        {"Quarter Master", "Echo", 35, 45, T::note, N::quarter, atTempo120(N::quarter), 1.5, 0.3,
         L::smoothRandom, 120, 6, 150, 5000, M::bbd1},
        {"Eighth Wonder", "Echo", 32, 40, T::note, N::eighth, atTempo120(N::eighth), 1, 0.35,
         L::smoothRandom, 115, 4, 180, 6000, M::bbd1},
        {"Dotted Line", "Echo", 38, 52, T::note, N::dottedEighth, atTempo120(N::dottedEighth), 1.5,
         0.25, L::smoothRandom, 130, 8, 200, 4500, M::bbd2},
        {"Triplet Trouble", "Echo", 30, 38, T::note, N::eighthTriplet, atTempo120(N::eighthTriplet),
         1, 0.4, L::smoothRandom, 110, 3, 160, 6500, M::pt1},
        {"Sixteenth Chapel", "Echo", 28, 32, T::note, N::sixteenth, atTempo120(N::sixteenth), 0,
         0.5, L::sine, 105, 2, 200, 7000, M::pt1},
        {"Cathedral Quarter", "Echo", 42, 58, T::note, N::dottedQuarter,
         atTempo120(N::dottedQuarter), 2, 0.2, L::sine, 145, 14, 220, 3600, M::bbd2},
        {"Magnetic Drum", "Echo", 34, 44, T::note, N::dottedSixteenth,
         atTempo120(N::dottedSixteenth), 2.5, 0.45, L::smoothRandom, 120, 5, 180, 5200, M::pt2},
        {"Oil Can Rain", "Echo", 36, 60, T::note, N::quarterTriplet, atTempo120(N::quarterTriplet),
         4, 0.35, L::smoothRandom, 125, 7, 300, 2200, M::bbd2},
        {"Cosmic Chamber", "Echo", 45, 65, T::note, N::dottedQuarter, atTempo120(N::dottedQuarter),
         2.5, 0.22, L::sine, 160, 15, 200, 3200, M::bbd1},
        {"Bounce Alley", "Echo", 40, 50, T::note, N::eighth, atTempo120(N::eighth), 0, 0.5, L::sine,
         180, 20, 200, 5000, M::pt1},
        {"Sun Room", "Slapback", 35, 8, T::ms, N::quarter, 120, 0, 0.5, L::sine, 100, 0, 150, 6500,
         M::bbd1},
        {"Rockabilly Snap", "Slapback", 40, 5, T::ms, N::quarter, 95, 0, 0.5, L::sine, 100, 0, 120,
         7000, M::bbd1},
        {"Memphis Bounce", "Slapback", 38, 12, T::ms, N::quarter, 135, 0, 0.5, L::sine, 100, 0, 180,
         5500, M::bbd2},
        {"Doubled Down", "Slapback", 45, 0, T::ms, N::quarter, 75, 0, 0.5, L::sine, 100, 0, 20,
         8000, M::pt1},
        {"Quiff Slap", "Slapback", 42, 6, T::ms, N::quarter, 110, 0, 0.5, L::sine, 100, 0, 140,
         6000, M::bbd1},
        {"Tight Tuck", "Slapback", 35, 0, T::ms, N::quarter, 62, 0, 0.5, L::sine, 100, 0, 20, 9000,
         M::pt2},
        {"Nashville Tuck", "Slapback", 30, 4, T::ms, N::quarter, 85, 0, 0.5, L::sine, 100, 0, 120,
         7500, M::pt1},
        {"Hard Snap", "Slapback", 48, 10, T::ms, N::quarter, 100, 0, 0.5, L::sine, 100, 0, 200,
         5000, M::pt2},
        {"Warm Bounce", "Slapback", 36, 15, T::ms, N::quarter, 145, 0, 0.5, L::sine, 100, 0, 200,
         4200, M::bbd2},
        {"Cardboard Clap", "Slapback", 50, 3, T::ms, N::quarter, 70, 0, 0.5, L::sine, 100, 0, 400,
         3500, M::bbd2},
        {"Seaside Wide", "Chorus", 40, 5, T::ms, N::quarter, 16, 6, 0.55, L::sine, 150, 4, 20,
         20000, M::bbd1},
        {"Sea Two Classic", "Chorus", 35, 0, T::ms, N::quarter, 14, 4, 0.8, L::sine, 130, 3, 20,
         20000, M::bbd1},
        {"Tiny Duplicate", "Chorus", 45, 8, T::ms, N::quarter, 12, 8, 0.65, L::triangle, 160, 5, 20,
         20000, M::bbd2},
        {"Lush Eight", "Chorus", 42, 6, T::ms, N::quarter, 20, 10, 0.4, L::sine, 175, 6, 20, 20000,
         M::pt1},
        {"Glass Shimmer", "Chorus", 38, 0, T::ms, N::quarter, 8, 3, 1.2, L::sine, 140, 2, 20, 12000,
         M::pt2},
        {"Warm Ensemble", "Chorus", 44, 10, T::ms, N::quarter, 24, 9, 0.35, L::triangle, 165, 8,
         120, 6500, M::bbd2},
        {"String Machine", "Chorus", 48, 4, T::ms, N::quarter, 28, 12, 0.28, L::sine, 185, 10, 20,
         5500, M::bbd2},
        {"Analogue Drift", "Chorus", 36, 6, T::ms, N::quarter, 18, 5, 0.22, L::smoothRandom, 145, 5,
         20, 20000, M::pt1},
        {"Wide Awake", "Chorus", 40, 0, T::ms, N::quarter, 15, 7, 0.7, L::sine, 200, 12, 20, 20000,
         M::pt2},
        {"Velvet Swirl", "Chorus", 46, 12, T::ms, N::quarter, 22, 6, 0.5, L::triangle, 155, 7, 20,
         7000, M::bbd1},
        {"Jet Wash", "Flanger", 50, 75, T::ms, N::quarter, 1.5, 4, 0.15, L::triangle, 100, 0, 20,
         20000, M::bbd1},
        {"Electric Paramour", "Flanger", 45, 60, T::ms, N::quarter, 2.5, 3, 0.2, L::triangle, 120,
         1, 20, 20000, M::bbd1},
        {"Electric Mistrust", "Flanger", 48, 70, T::ms, N::quarter, 3, 5, 0.08, L::triangle, 130, 2,
         20, 20000, M::pt1},
        {"Sweep Thing", "Flanger", 50, 65, T::ms, N::quarter, 2, 6, 0.3, L::sine, 100, 0, 20, 20000,
         M::bbd2},
        {"Metal Sweep", "Flanger", 50, 85, T::ms, N::quarter, 1.2, 3.5, 0.45, L::triangle, 100, 0,
         20, 20000, M::pt2},
        {"Turbine", "Flanger", 47, 72, T::ms, N::quarter, 4, 8, 0.12, L::sine, 140, 3, 20, 20000,
         M::bbd2},
        {"Hollow Body", "Flanger", 42, 50, T::ms, N::quarter, 5, 2, 0.6, L::sine, 115, 2, 20, 6000,
         M::bbd1},
        {"Chrome Sweep", "Flanger", 50, 80, T::ms, N::quarter, 1.8, 4.5, 0.25, L::triangle, 110, 1,
         20, 11000, M::pt1},
        {"Comb Over", "Flanger", 45, 55, T::ms, N::quarter, 6, 3, 0.9, L::square, 120, 2, 20, 20000,
         M::pt2},
        {"Through Zero", "Flanger", 50, 68, T::ms, N::quarter, 1, 2.5, 0.18, L::triangle, 160, 1,
         20, 20000, M::bbd2},
        {"Seasick", "Vibrato", 100, 0, T::ms, N::quarter, 6, 7, 4.5, L::sine, 100, 0, 20, 20000,
         M::bbd1},
        {"Gentle Waver", "Vibrato", 100, 0, T::ms, N::quarter, 8, 2.5, 4, L::sine, 100, 0, 20,
         20000, M::bbd1},
        {"Wobble Box", "Vibrato", 100, 0, T::ms, N::quarter, 7, 5, 5, L::sine, 100, 0, 20, 20000,
         M::bbd2},
        {"Rotary Lite", "Vibrato", 100, 0, T::ms, N::quarter, 10, 4, 3.2, L::sine, 140, 3, 20,
         20000, M::pt1},
        {"Warble Warble", "Vibrato", 100, 0, T::ms, N::quarter, 5, 6, 2.4, L::triangle, 100, 0, 20,
         20000, M::bbd2},
        {"Pitch Drift", "Vibrato", 100, 0, T::ms, N::quarter, 12, 3, 0.6, L::smoothRandom, 100, 0,
         20, 20000, M::pt1},
        {"Slow Sway", "Vibrato", 100, 0, T::ms, N::quarter, 15, 8, 0.9, L::sine, 130, 4, 20, 20000,
         M::pt2},
        {"Panic Vibrato", "Vibrato", 100, 0, T::ms, N::quarter, 4, 9, 5, L::triangle, 100, 0, 20,
         20000, M::bbd2},
        {"Tape Flutter", "Vibrato", 100, 0, T::ms, N::quarter, 9, 2, 1.8, L::smoothRandom, 100, 0,
         20, 6000, M::bbd2},
        {"Stepped Waver", "Vibrato", 100, 0, T::ms, N::quarter, 8, 5, 1.5, L::square, 100, 0, 20,
         20000, M::pt2},
        {"Infinite Regress", "Runaway", 45, 95, T::note, N::quarter, atTempo120(N::quarter), 0, 0.5,
         L::sine, 140, 10, 200, 4000, M::bbd1},
        {"Runaway Train", "Runaway", 50, 120, T::note, N::eighth, atTempo120(N::eighth), 0, 0.5,
         L::sine, 100, 8, 250, 3500, M::bbd2},
        {"Feedback Loop", "Runaway", 48, 105, T::note, N::dottedQuarter,
         atTempo120(N::dottedQuarter), 0, 0.5, L::sine, 150, 15, 180, 3000, M::pt1},
        {"Event Horizon", "Runaway", 55, 110, T::ms, N::quarter, 1200, 0, 0.5, L::sine, 170, 20,
         150, 2500, M::bbd2},
        {"Screaming Kettle", "Runaway", 60, 140, T::ms, N::quarter, 12, 0, 0.5, L::sine, 100, 0,
         300, 8000, M::pt2},
        {"Drone Chamber", "Runaway", 50, 100, T::ms, N::quarter, 750, 2, 0.2, L::sine, 160, 18, 220,
         2800, M::bbd1},
        {"Self Portrait", "Runaway", 46, 98, T::note, N::quarterTriplet,
         atTempo120(N::quarterTriplet), 0, 0.5, L::sine, 130, 6, 200, 3600, M::pt1},
        {"Oscillator Down", "Runaway", 52, 115, T::ms, N::quarter, 2000, 0, 0.5, L::sine, 155, 22,
         120, 2200, M::bbd2},
        {"Wall of Noise", "Runaway", 65, 135, T::ms, N::quarter, 60, 0, 0.5, L::sine, 100, 0, 300,
         5000, M::pt2},
        {"Singing Emberfall", "Runaway", 55, 125, T::ms, N::quarter, 180, 1, 0.3, L::smoothRandom,
         100, 5, 250, 4500, M::bbd1},
    };
    return presets;
}

std::vector<PresetGroup> buildGroups() {
    std::vector<PresetGroup> groups;
    for (const char* style : {"Echo", "Slapback", "Chorus", "Flanger", "Vibrato", "Runaway"}) {
        PresetGroup group{style, {}};
        for (const FactoryPreset& preset : allFactoryPresets())
            if (preset.style == group.style)
                group.presets.push_back(preset);
        groups.push_back(std::move(group));
    }
    return groups;
}

} // namespace

const FactoryPreset& defaultFactoryPreset() {
    static const FactoryPreset preset{"Default",
                                      "Default",
                                      30,
                                      45,
                                      T::note,
                                      N::dottedEighth,
                                      atTempo120(N::dottedEighth),
                                      0,
                                      0.01f,
                                      L::triangle,
                                      100,
                                      0,
                                      20,
                                      20000,
                                      M::bbd1,
                                      0};
    return preset;
}

const std::vector<FactoryPreset>& allFactoryPresets() {
    static const std::vector<FactoryPreset> presets = buildAll();
    return presets;
}

const std::vector<PresetGroup>& factoryPresetGroups() {
    static const std::vector<PresetGroup> groups = buildGroups();
    return groups;
}

std::array<PresetParameterWrite, 13> presetParameterWrites(const FactoryPreset& preset) {
    namespace A = ParameterAddress;
    const bool ms = preset.delayType == DelayTimeType::ms;
    return {{
        {A::mix, preset.mix},
        {A::feedback, preset.feedback},
        {A::delayType, rawValue(preset.delayType)},
        ms ? PresetParameterWrite{A::delayMs, preset.delayMs}
           : PresetParameterWrite{A::delayNote, rawValue(preset.delayNote)},
        {A::modDepth, preset.modulationDepth},
        {A::modRate, preset.modulationRate},
        {A::lfoType, rawValue(preset.lfoType)},
        {A::width, preset.width},
        {A::spread, preset.spread},
        {A::lowCut, preset.lowCut},
        {A::highCut, preset.highCut},
        {A::model, rawValue(preset.model)},
        {A::dirt, preset.dirt},
    }};
}
