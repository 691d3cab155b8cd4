#include "Metal/MTLLibrary.h"

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>

#include "Foundation/Bundle.h"

std::shared_ptr<MTLFunction> MTLLibrary::makeFunction(const std::string& name) const {
    if (std::find(names.begin(), names.end(), name) == names.end())
        return nullptr;
    const MTLShaderFunctionEntry* entry = MTLShaderFunctionTable::find(name);
    if (!entry)
        return nullptr;
    return make<MTLFunction>(name, *entry);
}

std::shared_ptr<MTLLibrary> MTLLibrary::fromBundle(const Bundle& bundle) {
    auto manifest = bundle.url("default", "metallib");
    if (!manifest)
        throw MTLError(MTLError::Domain::library, 6,
                       "no default library was found in " + bundle.bundlePath());
    std::ifstream file(manifest->path());
    nlohmann::json document = nlohmann::json::parse(file, nullptr, false);
    if (document.is_discarded() || !document.is_object() || !document.contains("functions") ||
        !document["functions"].is_array())
        throw MTLError(MTLError::Domain::library, 3,
                       "the default library of " + bundle.bundlePath() + " is not readable");
    std::vector<std::string> names;
    for (const auto& name : document["functions"])
        if (name.is_string())
            names.push_back(name.get<std::string>());
    return make<MTLLibrary>(std::move(names));
}
