#pragma once
// Loads the effect the way a host does: the extension service finds the .appex,
// creates its principal class, and that object, as the audio-unit factory, creates
// the unit for the component the extension's Info.plist describes. The extension is
// never linked. Main thread.

#include "AudioToolbox/AUAudioUnit.h"
#include "Runtime/Runtime.h"

#include <memory>
#include <optional>
#include <string>

struct LoadedEffect {
    std::shared_ptr<NSObject> principal; // keeps the editor alive with the unit
    std::shared_ptr<AUAudioUnit> unit;
    AudioComponentDescription description;
    std::string version; // the extension's CFBundleShortVersionString
};

std::optional<LoadedEffect> loadEffect(const std::string& appexPath, std::string& error);

// The extension next to the program (build/bin/EmberfallExtension.appex).
std::string defaultAppexPath(const std::string& programPath);
