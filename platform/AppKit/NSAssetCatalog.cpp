#include "AppKit/NSAssetCatalog.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

#include "AppKit/NSColor.h"
#include "AppKit/NSImage.h"
#include "Foundation/Bundle.h"

namespace fs = std::filesystem;

namespace {

std::optional<CGColor> parseColor(const nlohmann::json& value) {
    if (value.is_array() && (value.size() == 3 || value.size() == 4)) {
        double c[4] = {0, 0, 0, 1};
        for (size_t i = 0; i < value.size(); ++i) {
            if (!value[i].is_number())
                return std::nullopt;
            c[i] = value[i].get<double>();
        }
        return CGColor::rgb(c[0], c[1], c[2], c[3]);
    }
    if (value.is_string()) {
        std::string hex = value.get<std::string>();
        if (hex.size() != 7 && hex.size() != 9)
            return std::nullopt;
        if (hex[0] != '#' ||
            hex.find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos)
            return std::nullopt;
        auto channel = [&](size_t i) {
            return std::stoi(hex.substr(1 + 2 * i, 2), nullptr, 16) / 255.0;
        };
        return CGColor::rgb(channel(0), channel(1), channel(2), hex.size() == 9 ? channel(3) : 1);
    }
    return std::nullopt;
}

// Asset names are relative paths below the catalogue: no empty, "." or ".." parts.
bool isSafeName(const std::string& name) {
    if (name.empty() || name.front() == '/')
        return false;
    for (const auto& part : fs::path(name))
        if (part == ".." || part == "." || part.empty())
            return false;
    return true;
}

} // namespace

NSAssetCatalog::NSAssetCatalog(std::string folder) : assets(std::move(folder)) {
    std::ifstream file(fs::path(assets) / "colors.json");
    if (!file)
        return;
    nlohmann::json document = nlohmann::json::parse(file, nullptr, false);
    if (document.is_discarded() || !document.is_object()) {
        std::fprintf(stderr, "NSAssetCatalog: %s/colors.json is not a JSON object\n",
                     assets.c_str());
        return;
    }
    for (const auto& [name, value] : document.items()) {
        if (auto color = parseColor(value))
            colors.emplace(name, color->namedAsset(name));
        else
            std::fprintf(
                stderr,
                "NSAssetCatalog: colour \"%s\" in %s is not [r, g, b(, a)] or #rrggbb(aa)\n",
                name.c_str(), assets.c_str());
    }
}

std::shared_ptr<const NSAssetCatalog>
NSAssetCatalog::atResources(const std::string& resourcesPath) {
    static std::mutex cacheLock;
    static std::map<std::string, std::shared_ptr<const NSAssetCatalog>> cache;
    std::string folder = (fs::path(resourcesPath) / "Assets").lexically_normal().string();
    std::lock_guard guard(cacheLock);
    auto& entry = cache[folder];
    if (!entry)
        entry = std::make_shared<NSAssetCatalog>(folder);
    return entry;
}

std::shared_ptr<const NSAssetCatalog> NSAssetCatalog::of(const std::shared_ptr<Bundle>& bundle) {
    const auto& b = bundle ? bundle : Bundle::main();
    // Every colour and image drawn asks for its bundle's catalogue: remember the
    // catalogue of each bundle object rather than work out its folder's name each time.
    static std::mutex knownLock;
    static std::vector<std::pair<std::weak_ptr<Bundle>, std::shared_ptr<const NSAssetCatalog>>>
        known;
    auto sameBundle = [&b](const std::weak_ptr<Bundle>& w) {
        return !w.owner_before(b) && !b.owner_before(w);
    };
    {
        std::lock_guard guard(knownLock);
        for (const auto& [w, catalog] : known)
            if (sameBundle(w))
                return catalog;
    }
    auto catalog = atResources(b->resourceURL().path());
    std::lock_guard guard(knownLock);
    std::erase_if(known, [](const auto& entry) { return entry.first.expired(); });
    known.emplace_back(b, catalog);
    return catalog;
}

std::optional<CGColor> NSAssetCatalog::color(const std::string& name) const {
    auto it = colors.find(name);
    return it == colors.end() ? std::nullopt : std::optional<CGColor>(it->second);
}

std::vector<std::string> NSAssetCatalog::colorNames() const {
    std::vector<std::string> names;
    for (const auto& entry : colors)
        names.push_back(entry.first);
    return names;
}

std::optional<NSAssetCatalog::Artwork> NSAssetCatalog::image(const std::string& name) const {
    if (!isSafeName(name))
        return std::nullopt;
    std::lock_guard guard(lock);
    auto found = images.find(name);
    if (found != images.end())
        return found->second;
    std::optional<Artwork> artwork;
    fs::path base = fs::path(assets) / name;
    if (auto svg = CGSVGDocument::fromFile(base.string() + ".svg"))
        artwork = *svg;
    else if (auto dense = CGImage::fromPNGFile(base.string() + "@2x.png"))
        artwork = Bitmap{dense->named(name), 2};
    else if (auto png = CGImage::fromPNGFile(base.string() + ".png"))
        artwork = Bitmap{png->named(name), 1};
    images.emplace(name, artwork);
    return artwork;
}

std::shared_ptr<NSColor> NSColor::named(const std::string& name,
                                        const std::shared_ptr<Bundle>& bundle) {
    auto color = NSAssetCatalog::of(bundle)->color(name);
    return color ? withCGColor(*color) : nullptr;
}

std::shared_ptr<NSImage> NSImage::named(const std::string& name,
                                        const std::shared_ptr<Bundle>& bundle) {
    auto artwork = NSAssetCatalog::of(bundle)->image(name);
    if (!artwork)
        return nullptr;
    if (auto* svg = std::get_if<CGSVGDocument>(&*artwork))
        return withSVG(*svg, name);
    const auto& bitmap = std::get<NSAssetCatalog::Bitmap>(*artwork);
    return withCGImage(bitmap.image,
                       {bitmap.image.width() / bitmap.scale, bitmap.image.height() / bitmap.scale});
}
