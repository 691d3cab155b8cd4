#include "Foundation/Bundle.h"

#include <dlfcn.h>
#include <filesystem>
#include <mutex>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool isFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

std::string executablePath() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}

} // namespace

Bundle::Bundle(std::string folder)
    : path(std::move(folder)), platformLayout(isFolder(fs::path(path) / "Contents")) {
    fs::path plist = fs::path(path) / "Contents" / "Info.plist";
    std::error_code ec;
    if (fs::is_regular_file(plist, ec)) {
        info = PropertyListSerialization::readFile(plist.string());
        if (info && !info->dictionary())
            info.reset();
    }
}

std::string Bundle::bundlePathForExecutable(const std::string& executable) {
    fs::path folder = fs::path(executable).parent_path();
    if (folder.filename() == "MacOS" && folder.parent_path().filename() == "Contents" &&
        folder.parent_path().has_parent_path())
        return folder.parent_path().parent_path().string();
    return folder.string();
}

namespace {
// The bundle a test stands in for the main one (none outside such tests).
std::mutex standInLock;
std::shared_ptr<Bundle> standIn;
} // namespace

std::shared_ptr<Bundle> Bundle::standInForMain(std::shared_ptr<Bundle> bundle) {
    std::lock_guard guard(standInLock);
    std::swap(standIn, bundle);
    return bundle;
}

std::shared_ptr<Bundle> Bundle::main() {
    {
        std::lock_guard guard(standInLock);
        if (standIn)
            return standIn;
    }
    static const std::shared_ptr<Bundle> bundle = [] {
        std::string exe = executablePath();
        std::string folder =
            exe.empty() ? fs::current_path().string() : bundlePathForExecutable(exe);
        return make<Bundle>(folder);
    }();
    return bundle;
}

std::shared_ptr<Bundle> Bundle::atPath(const std::string& folder) {
    if (folder.empty() || !isFolder(folder))
        return nullptr;
    std::error_code ec;
    fs::path absolute = fs::absolute(folder, ec).lexically_normal();
    std::string normal = absolute.string();
    while (normal.size() > 1 && normal.back() == '/')
        normal.pop_back();
    return make<Bundle>(normal);
}

std::shared_ptr<Bundle> Bundle::atURL(const URL& url) {
    return url.isFileURL() ? atPath(url.path()) : nullptr;
}

std::shared_ptr<Bundle> Bundle::containing(const void* address) {
    Dl_info found{};
    if (!address || dladdr(address, &found) == 0 || !found.dli_fname)
        return nullptr;
    std::error_code ec;
    fs::path module = fs::canonical(found.dli_fname, ec);
    // The main program may be listed by the name it was started with.
    std::string file = ec || found.dli_fname[0] == '\0' ? executablePath() : module.string();
    return atPath(bundlePathForExecutable(file));
}

URL Bundle::resourceURL() const {
    return platformLayout ? URL::fileURL(path + "/Contents/Resources", true)
                          : URL::fileURL(path, true);
}

std::optional<URL> Bundle::executableURL() const {
    auto* name = object("CFBundleExecutable");
    if (!name || !name->string())
        return std::nullopt;
    // A file name, not a path: nothing outside Contents/MacOS is the bundle's code.
    const std::string& file = *name->string();
    if (file.empty() || file == "." || file == ".." ||
        file.find_first_of(std::string("/\0", 2)) != std::string::npos)
        return std::nullopt;
    return URL::fileURL(path + "/Contents/MacOS/" + file);
}

const PropertyListValue* Bundle::object(const std::string& key) const {
    return info ? (*info)[key] : nullptr;
}

std::optional<std::string> Bundle::bundleIdentifier() const {
    auto* value = object("CFBundleIdentifier");
    if (value && value->string())
        return *value->string();
    return std::nullopt;
}

std::optional<URL> Bundle::url(const std::string& name, const std::string& extension,
                               const std::string& subdirectory) const {
    if (name.empty())
        return std::nullopt;
    URL candidate = resourceURL();
    if (!subdirectory.empty())
        candidate = candidate.appendingPathComponent(subdirectory);
    candidate = candidate.appendingPathComponent(extension.empty() ? name : name + "." + extension);
    std::error_code ec;
    if (!fs::exists(candidate.path(), ec))
        return std::nullopt;
    return URL::fileURL(candidate.path(), isFolder(candidate.path()));
}

std::string Bundle::localizedString(const std::string& key, const std::string& value,
                                    const std::string&) const {
    return value.empty() ? key : value;
}
