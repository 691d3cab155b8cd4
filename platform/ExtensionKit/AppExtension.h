#pragma once
// The host side of the extension service: finds an extension bundle (.appex),
// reads its Info.plist (principal class, audio-component descriptions), loads its
// shared object (Contents/MacOS/<CFBundleExecutable>) and creates its principal
// class through the entry point of ExtensionKit/ExtensionEntryPoint.h.
// Failures come back as values (ExtensionError), never as aborts.
//
// Thread: opening and listing from any thread; makePrincipalObject() on the main
// thread.

#include "AudioToolbox/AudioComponent.h"
#include "Foundation/Bundle.h"
#include "Runtime/Runtime.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

struct ExtensionError {
    enum class Code {
        bundleNotFound, // no folder at the path
        infoUnreadable, // Contents/Info.plist missing or malformed
        missingKey,     // a required key is absent (the message names it)
        invalidValue,   // a key holds the wrong type or a malformed value
        loadFailed,     // the shared object would not load (the loader's reason)
        entryPointMissing,
        principalClassUnavailable, // the entry point refused the name or threw
    };
    Code code;
    std::string message;
};

// A value or the error that prevented it.
template <class T> class ExtensionResult {
  public:
    ExtensionResult(T value) : content(std::move(value)) {}
    ExtensionResult(ExtensionError error) : content(std::move(error)) {}
    bool ok() const { return content.index() == 0; }
    explicit operator bool() const { return ok(); }
    T& value() { return std::get<0>(content); }
    const T& value() const { return std::get<0>(content); }
    const ExtensionError& error() const { return std::get<1>(content); }

  private:
    std::variant<T, ExtensionError> content;
};

// One entry of NSExtension / NSExtensionAttributes / AudioComponents.
struct AudioComponentInfo {
    AudioComponentDescription description;   // from the three four-letter codes
    std::string type, subtype, manufacturer; // as written
    std::string name;                        // "" when absent
    std::uint32_t version = 0;               // 0 when absent
};

class AppExtension {
  public:
    // Reads the extension bundle at `path`: its principal class and its audio
    // components (none when the attributes list none).
    static ExtensionResult<AppExtension> open(const std::string& path);
    // The .appex folders in <app>/Contents/PlugIns/, sorted by path.
    static std::vector<std::string> extensionPaths(const std::string& appBundlePath);

    const std::shared_ptr<Bundle>& bundle() const { return bundle_; }
    const std::string& principalClassName() const { return principalClass; }
    const std::vector<AudioComponentInfo>& audioComponents() const { return components; }

    // Loads the shared object (it stays loaded for the rest of the process) and
    // creates a new principal object. Thread: main.
    ExtensionResult<std::shared_ptr<NSObject>> makePrincipalObject() const;

  private:
    AppExtension() = default;
    std::shared_ptr<Bundle> bundle_;
    std::string principalClass;
    std::string executable;
    std::vector<AudioComponentInfo> components;
};
