#pragma once
// Finding the factory preset a person means from what they type after --preset: its
// id ("Echo-Dotted Line") or its name ("Dotted Line"), in any case; a style's name
// alone ("echo") names that style; anything else gets the closest presets as
// suggestions. And how the host names a preset: by its id, the Default preset just
// "Default". Thread: any; pure.

#include "FactoryPresets.h"

#include <string>
#include <vector>

struct PresetLookup {
    const FactoryPreset* preset = nullptr; // the preset meant, when one is
    const PresetGroup* style = nullptr;    // the style the text names, when it names one
    // When nothing matched: up to three presets whose names or ids are closest to the
    // text (a few letters off, or containing it), closest first.
    std::vector<const FactoryPreset*> suggestions;
};

PresetLookup lookUpPreset(const std::string& text);

// "Echo-Dotted Line"; the Default preset is "Default".
std::string presetLabel(const FactoryPreset& preset);
// The label of the preset with this id, or the id itself when no preset has it.
std::string presetLabel(const std::string& id);
