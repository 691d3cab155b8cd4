#include "EffectLoader.h"

#include "CoreAudioKit/AUViewController.h"
#include "ExtensionKit/AppExtension.h"

#include <filesystem>

std::string defaultAppexPath(const std::string& programPath) {
    return (std::filesystem::path(programPath).parent_path() / "EmberfallExtension.appex").string();
}

std::optional<LoadedEffect> loadEffect(const std::string& appexPath, std::string& error) {
    ExtensionResult<AppExtension> extension = AppExtension::open(appexPath);
    if (!extension) {
        error = "cannot open the extension '" + appexPath + "': " + extension.error().message;
        return std::nullopt;
    }
    const AppExtension& appex = extension.value();
    if (appex.audioComponents().empty()) {
        error = "the extension '" + appexPath + "' describes no audio component";
        return std::nullopt;
    }
    ExtensionResult<std::shared_ptr<NSObject>> principal = appex.makePrincipalObject();
    if (!principal) {
        error = "cannot start the extension: " + principal.error().message;
        return std::nullopt;
    }
    auto factory = std::dynamic_pointer_cast<AUAudioUnitFactory>(principal.value());
    if (!factory) {
        error = "the extension's principal class is no audio-unit factory";
        return std::nullopt;
    }
    LoadedEffect effect;
    effect.principal = principal.value();
    effect.description = appex.audioComponents().front().description;
    AUError failure;
    effect.unit = factory->createAudioUnit(effect.description, &failure);
    if (!effect.unit) {
        error = "the extension cannot create its audio unit: " + failure.message;
        return std::nullopt;
    }
    const PropertyListValue* version = appex.bundle()->object("CFBundleShortVersionString");
    effect.version = version && version->string() ? *version->string() : "Unknown";
    return effect;
}
