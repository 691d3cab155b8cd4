#include "AppKit/ResourceBundle.h"

#include <filesystem>

#include "Foundation/Bundle.h"

namespace {
void addFolder(std::vector<std::string>& out, const std::string& folder) {
    std::error_code error;
    if (!folder.empty() && std::filesystem::is_directory(folder, error))
        out.push_back(folder);
}
} // namespace

std::vector<std::string> resourceBundleCandidates(const void* codeAddress) {
    std::vector<std::string> folders;
    auto main = Bundle::main();
    if (main)
        addFolder(folders, main->resourceURL().path());
    if (auto code = Bundle::containing(codeAddress))
        addFolder(folders, code->resourceURL().path());
    if (main)
        addFolder(folders, main->bundlePath());
    return folders;
}

std::shared_ptr<Bundle> findResourceBundle(const std::string& name,
                                           const std::vector<std::string>& candidates) {
    for (const std::string& folder : candidates)
        if (auto bundle =
                Bundle::atPath((std::filesystem::path(folder) / (name + ".bundle")).string()))
            return bundle;
    return nullptr;
}

std::shared_ptr<Bundle> findResourceBundle(const std::string& name, const void* codeAddress,
                                           std::string_view reportFile, unsigned reportLine) {
    auto bundle = findResourceBundle(name, resourceBundleCandidates(codeAddress));
    if (!bundle && reportFile.empty())
        fatalError("unable to find bundle named " + name);
    if (!bundle)
        fatalError("unable to find bundle named " + name, reportFile, reportLine);
    return bundle;
}
