// The effect's saved state, as a host restores it: any bytes read as a property list
// and, when they hold a dictionary, restored into the audio unit made by its view
// controller. Afterwards every parameter holds a finite value in its range, and the
// state saved then restores into a second unit that saves it again unchanged.
#include "AudioUnitViewController.h"
#include "EmberfallAudioUnit.h"

#include "Foundation/PropertyList.h"
#include "Foundation/RunLoop.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

const AudioComponentDescription description{kAudioUnitType_Effect, fourCharCode("embf"),
                                            fourCharCode("Embf"), 0, 0};

[[noreturn]] void fault(const char* what, const std::string& detail) {
    std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
    std::abort();
}

struct Effect {
    std::shared_ptr<AudioUnitViewController> controller = make<AudioUnitViewController>();
    std::shared_ptr<AUAudioUnit> unit;
    PropertyListDictionary initial;

    Effect() {
        AUError error;
        unit = controller->createAudioUnit(description, &error);
        if (!unit)
            fault("the unit cannot be made", error.message);
        RunLoop::main().runUntilIdle();
        initial = *unit->fullState();
    }
    void restore(const PropertyListDictionary& state) {
        unit->setFullState(state);
        RunLoop::main().runUntilIdle();
    }
    std::string saved() const {
        return PropertyListSerialization::write(*unit->fullState()).value_or("(not written)");
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Effect first, second;
    std::optional<PropertyListValue> value = PropertyListSerialization::read(
        std::string_view(reinterpret_cast<const char*>(data), size));
    if (!value || !value->dictionary())
        return 0;
    first.restore(first.initial);
    first.restore(*value->dictionary());

    for (const auto& parameter : first.unit->parameterTree()->children()) {
        const AUValue v = parameter->value();
        if (!std::isfinite(v) || v < parameter->minValue() || v > parameter->maxValue())
            fault("a restored parameter is out of its range",
                  parameter->identifier() + " = " + std::to_string(v));
    }
    const std::optional<PropertyListDictionary> state = first.unit->fullState();
    if (!state)
        fault("the unit saves no state", "");
    second.restore(*state);
    if (second.saved() != first.saved())
        fault("a saved state restores to another state",
              first.saved() + "\n--- became ---\n" + second.saved());
    return 0;
}
