// Checks the committed asset folders that the modules' resource bundles are built from,
// read through the asset catalogue the bundles are read with: every image the framework
// and the editor draw is there as SVG with the size the views lay it out at; every named
// colour is in its folder's colors.json; and each dial strip lights more of its arc from
// frame 01 (minimum) to frame 51 (maximum).

#include "AppKit/NSAssetCatalog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path sourceRoot = EMBERFALL_SOURCE_DIR;

struct Asset {
    std::string folder;           // module folder holding Assets/
    std::string name;             // asset name ("/" is a sub-folder)
    std::optional<CGSize> layout; // the size the views frame it at, when they fix one
};

struct Strip {
    std::string folder, prefix;
    CGSize size;
};

const std::vector<Strip> strips = {
    {"OrreryLargeDialRed", "knobs/chaos-dial-large-red_", {72, 82}},
    {"OrreryLargeDialYellow", "knobs/chaos-dial-large-yellow_", {72, 82}},
    {"OrreryLargeDialOrange", "knobs/chaos-dial-large-orange_", {72, 82}},
    {"OrreryLargeDialBlue", "knobs/chaos-dial-large-blue_", {72, 82}},
    {"OrreryChaosDial", "knobs/chaos-dial-grey_", {56, 64}},
};

std::string frameName(const Strip& strip, int frame) {
    return strip.prefix + (frame < 10 ? "0" : "") + std::to_string(frame);
}

std::vector<Asset> namedAssets() {
    const CGSize chaos{48, 56}, narrow{24, 62}, arrow{28, 34}, wide{88, 27};
    std::vector<Asset> assets = {
        {"OrreryCore", "korvane-logo", {}},
        {"OrreryCore", "settings-button", {}},
        {"OrreryCore", "settings-button-down", {}},
        {"extension", "background", CGSize{472, 672}},
        {"extension", "korvane-logo", {}},
        {"extension", "header-preset", CGSize{154, 22}},
        {"extension", "header-preset-previous", {}},
        {"extension", "header-preset-next", {}},
        {"extension", "header-preset-revert", {}},
        {"extension", "grid-dot", {}},
        {"extension", "grid-dot-down", {}},
        // The pad's 370 × 194 glass with its time scale in a 14-point band below it
        // (and an empty one above, so that it centres on the pad's frame).
        {"extension", "morph-note", CGSize{370, 222}},
        {"extension", "morph-ms", CGSize{370, 222}},
    };
    // Every face with its pressed face.
    std::vector<std::pair<std::string, CGSize>> faces = {
        {"chaos-button-yellow", chaos},
        {"chaos-button-grey-off", chaos},
        {"chaos-button-grey-on-yellow", chaos},
        {"chaos-button-grey-on-blue", chaos},
        {"chaos-button-grey-on-red", chaos},
        {"chaos-button-grey-on-white", chaos},
        {"chaos-button-narrow-grey-off", narrow},
        {"chaos-button-narrow-grey-on-yellow", narrow},
        {"chaos-button-small-yellow-left", arrow},
        {"chaos-button-small-yellow-right", arrow},
        {"modern-button", wide},
        {"modern-button-on", wide},
        {"retro-button", wide},
    };
    for (const auto& [name, size] : faces) {
        assets.push_back({"OrreryCore", name, size});
        assets.push_back({"OrreryCore", name + "-down", size});
    }
    for (const auto& strip : strips)
        for (int frame = 1; frame <= 51; ++frame)
            assets.push_back({strip.folder, frameName(strip, frame), strip.size});
    return assets;
}

std::shared_ptr<const NSAssetCatalog> catalogue(const std::string& folder) {
    return NSAssetCatalog::atResources((sourceRoot / folder).string());
}

std::optional<CGSVGDocument> artwork(const std::string& folder, const std::string& name) {
    auto found = catalogue(folder)->image(name);
    if (!found || !std::holds_alternative<CGSVGDocument>(*found))
        return std::nullopt;
    return std::get<CGSVGDocument>(*found);
}

TEST(Artwork, EveryNamedImageIsVectorArtAtItsLayoutSize) {
    for (const auto& asset : namedAssets()) {
        SCOPED_TRACE(asset.folder + ": " + asset.name);
        auto doc = artwork(asset.folder, asset.name);
        ASSERT_TRUE(doc.has_value()) << "missing, unreadable or not SVG";
        EXPECT_GT(doc->size().width, 0);
        EXPECT_GT(doc->size().height, 0);
        if (asset.layout) {
            EXPECT_EQ(doc->size().width, asset.layout->width);
            EXPECT_EQ(doc->size().height, asset.layout->height);
        }
    }
}

TEST(Artwork, EveryNamedColourIsInItsCatalogue) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> catalogues = {
        {"OrreryCore",
         {"ChaosYellowText", "background", "buttonText", "chaosToggleText",
          "chaosToggleTextPressed", "tabSelected", "tabUnselected", "updateBackground",
          "versionInfo", "pluginGrey", "pluginBlue", "pluginYellow", "pluginRed", "pluginPurple",
          "tinyDialLabel"}},
        {"extension", {"meterFilled", "meterLimit", "meterUnfilled", "values"}},
    };
    for (const auto& [folder, names] : catalogues) {
        auto table = catalogue(folder);
        for (const auto& name : names) {
            SCOPED_TRACE(folder + ": " + name);
            auto colour = table->color(name);
            ASSERT_TRUE(colour.has_value());
            EXPECT_EQ(colour->components().size(), 4u) << "red, green, blue and alpha";
            EXPECT_EQ(colour->alpha(), 1.0) << "the editor's colours are opaque";
        }
    }
}

// Brightness of a frame: the lit arc is the only thing that grows with the value.
double litAmount(const CGImage& image) {
    double sum = 0;
    for (size_t y = 0; y < image.height(); ++y)
        for (size_t x = 0; x < image.width(); ++x) {
            auto p = image.pixel(x, y);
            sum += p.a / 255.0 * (0.2126 * p.r + 0.7152 * p.g + 0.0722 * p.b);
        }
    return sum;
}

TEST(Artwork, DialStripsLightMoreOfTheirArcFromMinimumToMaximum) {
    for (const auto& strip : strips) {
        SCOPED_TRACE(strip.folder);
        double previous = -1;
        for (int frame : {1, 13, 26, 38, 51}) {
            auto doc = artwork(strip.folder, frameName(strip, frame));
            ASSERT_TRUE(doc.has_value());
            auto image = doc->rasterize(2);
            EXPECT_EQ(image.width(), size_t(strip.size.width * 2));
            double lit = litAmount(image);
            EXPECT_GT(lit, previous) << "frame " << frame;
            previous = lit;
        }
    }
}

} // namespace
