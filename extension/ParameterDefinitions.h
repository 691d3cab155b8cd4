#pragma once
// The effect's fourteen automatable parameters as data: address, identifier, name,
// unit, range, default (from the Default preset), value increment, value strings and
// dependents. The editor's view model creates its parameters from this list. Built
// once on first use and read-only afterwards: callable on any thread.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Address of each parameter in the unit's tree and in the kernel.
namespace ParameterAddress {
enum : std::uint64_t {
    mix = 0,
    feedback = 1,
    delayMs = 2,
    modDepth = 3,
    modRate = 4,
    lfoType = 5,
    width = 6,
    model = 7,
    spread = 8,
    lowCut = 9,
    highCut = 10,
    delayType = 11,
    delayNote = 12,
    dirt = 13,
};
inline constexpr std::uint64_t count = 14;
} // namespace ParameterAddress

// Raw values of the platform's parameter units that the effect uses.
namespace ParameterUnit {
inline constexpr std::uint32_t indexed = 1;
inline constexpr std::uint32_t percent = 3;
inline constexpr std::uint32_t hertz = 8;
inline constexpr std::uint32_t milliseconds = 24;
} // namespace ParameterUnit

struct ParameterDefinition {
    std::uint64_t address;
    std::string identifier;
    std::string name;
    std::uint32_t unit;
    float minimum;
    float maximum;
    float defaultValue;
    bool logarithmic;              // else linear travel
    std::optional<float> midpoint; // of a logarithmic travel
    std::vector<std::string> valueStrings;
    std::vector<std::uint64_t> dependents;
};

// The fourteen parameters in creation order: mix, delayMs, delayNote, delayType,
// feedback, modDepth, modRate, lfoType, width, spread, lowCut, highCut, model, dirt.
const std::vector<ParameterDefinition>& parameterDefinitions();

// The order of the tree's children and of the first push into the kernel: the delay
// type comes first, so the kernel knows it before the two delay times.
const std::array<std::string_view, 14>& parameterConfigurationOrder();

// Digits after the point with which the editor's dials show a parameter's value; -1
// for the indexed parameters, which show their value strings.
int editorDecimalPlaces(const ParameterDefinition& definition);

// The definition with this address or identifier; nullptr when there is none.
const ParameterDefinition* parameterDefinition(std::uint64_t address);
const ParameterDefinition* parameterDefinition(std::string_view identifier);
