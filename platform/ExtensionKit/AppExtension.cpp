#include "ExtensionKit/AppExtension.h"

#include "ExtensionKit/ExtensionEntryPoint.h"

#include <algorithm>
#include <dlfcn.h>
#include <exception>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

ExtensionError error(ExtensionError::Code code, std::string message) {
    return ExtensionError{code, std::move(message)};
}

bool isFourCharCode(const std::string& text) {
    return text.size() == 4 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

// Reads one audio-component entry; `where` names it in messages.
std::variant<AudioComponentInfo, ExtensionError> readComponent(const PropertyListValue& entry,
                                                               const std::string& where) {
    if (!entry.dictionary())
        return error(ExtensionError::Code::invalidValue, where + " is not a dictionary");
    AudioComponentInfo info;
    std::pair<const char*, std::string*> codes[] = {
        {"type", &info.type}, {"subtype", &info.subtype}, {"manufacturer", &info.manufacturer}};
    for (auto& [key, slot] : codes) {
        const PropertyListValue* value = entry[key];
        if (!value)
            return error(ExtensionError::Code::missingKey, where + " has no " + key);
        if (!value->string() || !isFourCharCode(*value->string()))
            return error(ExtensionError::Code::invalidValue,
                         where + "." + key + " is not a four-letter code");
        *slot = *value->string();
    }
    info.description.componentType = fourCharCode(info.type);
    info.description.componentSubType = fourCharCode(info.subtype);
    info.description.componentManufacturer = fourCharCode(info.manufacturer);
    if (const PropertyListValue* name = entry["name"]) {
        if (!name->string())
            return error(ExtensionError::Code::invalidValue, where + ".name is not a string");
        info.name = *name->string();
    }
    if (const PropertyListValue* version = entry["version"]) {
        auto number = version->integer();
        if (!number || *number < 0 || *number > 0xFFFFFFFFLL)
            return error(ExtensionError::Code::invalidValue,
                         where + ".version is not a 32-bit unsigned integer");
        info.version = static_cast<std::uint32_t>(*number);
    }
    return info;
}

} // namespace

ExtensionResult<AppExtension> AppExtension::open(const std::string& path) {
    auto bundle = Bundle::atPath(path);
    if (!bundle)
        return error(ExtensionError::Code::bundleNotFound, "no extension bundle at " + path);
    std::string where = bundle->bundlePath();
    if (!bundle->infoDictionary())
        return error(ExtensionError::Code::infoUnreadable,
                     "missing or malformed Contents/Info.plist in " + where);

    AppExtension extension;
    extension.bundle_ = bundle;

    const PropertyListValue* attributes = bundle->object("NSExtension");
    if (!attributes)
        return error(ExtensionError::Code::missingKey, "no NSExtension in " + where);
    if (!attributes->dictionary())
        return error(ExtensionError::Code::invalidValue,
                     "NSExtension is not a dictionary in " + where);
    const PropertyListValue* principal = (*attributes)["NSExtensionPrincipalClass"];
    if (!principal)
        return error(ExtensionError::Code::missingKey,
                     "no NSExtension.NSExtensionPrincipalClass in " + where);
    if (!principal->string() || principal->string()->empty())
        return error(ExtensionError::Code::invalidValue,
                     "NSExtensionPrincipalClass is not a class name in " + where);
    extension.principalClass = *principal->string();

    const PropertyListValue* executable = bundle->object("CFBundleExecutable");
    if (!executable)
        return error(ExtensionError::Code::missingKey, "no CFBundleExecutable in " + where);
    if (!bundle->executableURL())
        return error(ExtensionError::Code::invalidValue,
                     "CFBundleExecutable is not a file name in " + where);
    extension.executable = bundle->executableURL()->path();

    const PropertyListValue* extra = (*attributes)["NSExtensionAttributes"];
    const PropertyListValue* list = extra ? (*extra)["AudioComponents"] : nullptr;
    if (list) {
        if (!list->array())
            return error(ExtensionError::Code::invalidValue,
                         "AudioComponents is not an array in " + where);
        for (std::size_t i = 0; i < list->array()->size(); ++i) {
            auto read = readComponent(list->array()->at(i),
                                      "AudioComponents[" + std::to_string(i) + "] of " + where);
            if (auto* failure = std::get_if<ExtensionError>(&read))
                return *failure;
            extension.components.push_back(std::get<AudioComponentInfo>(read));
        }
    }
    return extension;
}

std::vector<std::string> AppExtension::extensionPaths(const std::string& appBundlePath) {
    std::vector<std::string> found;
    std::error_code ec;
    fs::path plugIns = fs::path(appBundlePath) / "Contents" / "PlugIns";
    for (const auto& entry : fs::directory_iterator(plugIns, ec))
        if (entry.path().extension() == ".appex" && entry.is_directory(ec))
            found.push_back(entry.path().string());
    std::sort(found.begin(), found.end());
    return found;
}

ExtensionResult<std::shared_ptr<NSObject>> AppExtension::makePrincipalObject() const {
    Runtime::assertMainThread("AppExtension::makePrincipalObject");
    dlerror();
    // Never closed: objects the extension made may outlive any handle here.
    void* module = dlopen(executable.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* reason = dlerror();
        return error(ExtensionError::Code::loadFailed,
                     "cannot load " + executable + ": " + (reason ? reason : "unknown reason"));
    }
    auto entry =
        reinterpret_cast<ExtensionKitEntryPoint>(dlsym(module, EXTENSIONKIT_ENTRY_POINT_NAME));
    if (!entry)
        return error(ExtensionError::Code::entryPointMissing,
                     executable + " does not export " EXTENSIONKIT_ENTRY_POINT_NAME);
    std::shared_ptr<NSObject> object;
    int status = 0;
    try {
        status = entry(principalClass.c_str(), &object);
    } catch (const std::exception& e) {
        return error(ExtensionError::Code::principalClassUnavailable,
                     "creating " + principalClass + " failed: " + e.what());
    } catch (...) {
        return error(ExtensionError::Code::principalClassUnavailable,
                     "creating " + principalClass + " failed");
    }
    if (status != 0 || !object)
        return error(ExtensionError::Code::principalClassUnavailable,
                     executable + " cannot make the principal class " + principalClass);
    return object;
}
