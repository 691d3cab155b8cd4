#include "AppKitSupport/FoundationExtensions.h"

#include <chrono>
#include <filesystem>
#include <sys/stat.h>

namespace {

std::optional<std::string> infoString(const Bundle& bundle, const std::string& key) {
    const PropertyListValue* value = bundle.object(key);
    if (!value || !value->string())
        return std::nullopt;
    return *value->string();
}

// The components of a standardised path: "." dropped, ".." taking one back.
std::vector<std::string> components(const std::string& path) {
    std::vector<std::string> parts;
    for (const auto& part : std::filesystem::path(path).lexically_normal()) {
        std::string p = part.string();
        if (p.empty() || p == "/" || p == ".")
            continue;
        if (p == ".." && !parts.empty())
            parts.pop_back();
        else
            parts.push_back(p);
    }
    return parts;
}

} // namespace

std::optional<std::string> shortVersion(const Bundle& b) {
    return infoString(b, "CFBundleShortVersionString");
}
std::optional<std::string> version(const Bundle& b) {
    return infoString(b, "CFBundleVersion");
}
std::optional<std::string> name(const Bundle& b) {
    return infoString(b, "CFBundleName");
}
std::optional<std::string> displayName(const Bundle& b) {
    return infoString(b, "CFBundleDisplayName");
}
std::optional<std::string> teamIdentifierPrefix(const Bundle& b) {
    return infoString(b, "TeamIdentifierPrefix");
}

std::optional<std::string> relativePath(const URL& url, const URL& from) {
    if (!url.isFileURL() || !from.isFileURL())
        return std::nullopt;
    auto target = components(url.path()), base = components(from.path());
    size_t common = 0;
    while (common < target.size() && common < base.size() && target[common] == base[common])
        ++common;
    std::string path;
    auto add = [&](const std::string& part) { path += (path.empty() ? "" : "/") + part; };
    for (size_t i = common; i < base.size(); ++i)
        add("..");
    for (size_t i = common; i < target.size(); ++i)
        add(target[i]);
    return path;
}

std::optional<URL> relativeURL(const URL& url, const URL& from) {
    auto path = relativePath(url, from);
    if (!path)
        return std::nullopt;
    return URL::fileURL((std::filesystem::path(from.path()) / *path).lexically_normal().string());
}

std::string fileName(const URL& url) {
    std::string last = url.lastPathComponent(), extension = url.pathExtension();
    if (extension.empty())
        return last;
    std::string suffix = "." + extension, out;
    for (size_t i = 0; i < last.size();) {
        if (last.compare(i, suffix.size(), suffix) == 0) {
            i += suffix.size();
        } else {
            out += last[i];
            ++i;
        }
    }
    return out;
}

std::string displayablePath(const URL& url) {
    const std::string& path = url.path();
    return !path.empty() && path.front() == '/' ? path.substr(1) : path;
}

std::optional<std::chrono::system_clock::time_point> lastModifiedFileDate(const URL& url) {
    struct stat info {};
    if (!url.isFileURL() || ::stat(url.path().c_str(), &info) != 0)
        return std::nullopt;
    using namespace std::chrono;
    return system_clock::time_point(duration_cast<system_clock::duration>(
        seconds(info.st_mtim.tv_sec) + nanoseconds(info.st_mtim.tv_nsec)));
}
