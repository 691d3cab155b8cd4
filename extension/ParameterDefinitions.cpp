#include "ParameterDefinitions.h"

#include "FactoryPresets.h"

namespace {

std::vector<ParameterDefinition> build() {
    namespace A = ParameterAddress;
    namespace U = ParameterUnit;
    const FactoryPreset& d = defaultFactoryPreset();
    const std::vector<std::string> none;
    return {
        {A::mix, "mix", "Mix", U::percent, 0, 100, d.mix, false, {}, none, {}},
        {A::delayMs,
         "delayMs",
         "Delay MS",
         U::milliseconds,
         1,
         5000,
         d.delayMs,
         true,
         100.0f,
         none,
         {}},
        {A::delayNote,
         "delayNote",
         "Delay Note",
         U::indexed,
         0,
         14,
         rawValue(d.delayNote),
         false,
         {},
         {"1/32", "1/16", "1/8", "1/4", "1/2", "1/32.", "1/16.", "1/8.", "1/4.", "1/2.", "1/32T",
          "1/16T", "1/8T", "1/4T", "1/2T"},
         {}},
        {A::delayType,
         "delayType",
         "Delay Type",
         U::indexed,
         0,
         1,
         d.delayType == DelayTimeType::ms ? 1.0f : 0.0f,
         false,
         {},
         {"NOTE", "MS"},
         {A::delayMs, A::delayNote}},
        {A::feedback, "feedback", "Feedback", U::percent, 0, 150, d.feedback, false, {}, none, {}},
        {A::modDepth,
         "modDepth",
         "Depth",
         U::milliseconds,
         0,
         100,
         d.modulationDepth,
         false,
         {},
         none,
         {}},
        {A::modRate, "modRate", "Rate", U::hertz, 0.01f, 5, d.modulationRate, true, 1.0f, none, {}},
        {A::lfoType,
         "lfoType",
         "Shape",
         U::indexed,
         0,
         3,
         rawValue(d.lfoType),
         false,
         {},
         {"TRI", "SIN", "SQR", "RND"},
         {}},
        {A::width, "width", "Width", U::percent, -200, 200, d.width, false, {}, none, {}},
        {A::spread, "spread", "Spread", U::milliseconds, -25, 25, d.spread, false, {}, none, {}},
        {A::lowCut, "lowCut", "Low Cut", U::hertz, 20, 20000, d.lowCut, true, {}, none, {}},
        {A::highCut, "highCut", "High Cut", U::hertz, 20, 20000, d.highCut, true, {}, none, {}},
        {A::model,
         "model",
         "Model",
         U::indexed,
         0,
         3,
         rawValue(d.model),
         false,
         {},
         {"BBD 1", "BBD 2", "PT 1", "PT 2"},
         {}},
        {A::dirt, "dirt", "Dirt", U::percent, -100, 100, d.dirt, false, {}, none, {}},
    };
}

} // namespace

const std::vector<ParameterDefinition>& parameterDefinitions() {
    static const std::vector<ParameterDefinition> definitions = build();
    return definitions;
}

const std::array<std::string_view, 14>& parameterConfigurationOrder() {
    static constexpr std::array<std::string_view, 14> order{
        "delayType", "mix",   "delayMs", "delayNote", "feedback", "modDepth", "modRate",
        "lfoType",   "width", "spread",  "lowCut",    "highCut",  "model",    "dirt"};
    return order;
}

namespace {
template <class Matches> const ParameterDefinition* findDefinition(Matches matches) {
    for (const ParameterDefinition& definition : parameterDefinitions())
        if (matches(definition))
            return &definition;
    return nullptr;
}
} // namespace

const ParameterDefinition* parameterDefinition(std::uint64_t address) {
    return findDefinition([&](const ParameterDefinition& d) { return d.address == address; });
}

const ParameterDefinition* parameterDefinition(std::string_view identifier) {
    return findDefinition([&](const ParameterDefinition& d) { return d.identifier == identifier; });
}

int editorDecimalPlaces(const ParameterDefinition& definition) {
    namespace A = ParameterAddress;
    if (!definition.valueStrings.empty())
        return -1;
    switch (definition.address) {
    case A::modRate: // 0.30 Hz
    case A::spread:  // -4.50 MS
        return 2;
    case A::delayMs: // 375.0 MS
    case A::modDepth:
    case A::width:
        return 1;
    default: // mix, feedback, dirt, low and high cut
        return 0;
    }
}
