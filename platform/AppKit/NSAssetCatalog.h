#pragma once
// Stands in for a bundle's compiled asset catalogue: the folder
// <resources>/Assets/ holding colors.json (asset name → colour) and one file per
// image asset, <name>.svg (preferred) or <name>.png, where a "/" in a name is a
// sub-folder ("knobs/chaos-dial-grey_01" is Assets/knobs/chaos-dial-grey_01.svg).
//
// colors.json is one object; each value is [r, g, b] or [r, g, b, a] with
// components 0…1, or a "#rrggbb" / "#rrggbbaa" text:
//   { "Background/Darker": [0.11, 0.11, 0.13, 1], "values": "#e8e2d0" }
//
// A bitmap may come at double density instead: <name>@2x.png is shown at half its
// pixel size (and is preferred over <name>.png).
//
// A catalogue is read once per folder and kept for the process; parsed artwork is
// kept too, so named images are cheap to make again. NSColor::named and
// NSImage::named go through it.
// Left out: appearance and scale variants, data and symbol assets, slicing.
// Thread: any (the cache is locked).

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <variant>

#include "CoreGraphics/CGColor.h"
#include "CoreGraphics/CGImage.h"

class Bundle;

class NSAssetCatalog {
  public:
    // The catalogue of a bundle's resources (the main bundle's for null).
    static std::shared_ptr<const NSAssetCatalog> of(const std::shared_ptr<Bundle>& bundle);
    // The catalogue in the folder <resourcesPath>/Assets (empty when missing).
    static std::shared_ptr<const NSAssetCatalog> atResources(const std::string& resourcesPath);

    const std::string& folder() const { return assets; }
    // The colour asset, labelled with its name; none when absent.
    std::optional<CGColor> color(const std::string& name) const;
    // Artwork of an image asset: SVG document, or bitmap (labelled with its name)
    // with its pixels per point.
    struct Bitmap {
        CGImage image;
        CGFloat scale = 1;
    };
    using Artwork = std::variant<CGSVGDocument, Bitmap>;
    std::optional<Artwork> image(const std::string& name) const;
    // The names of the colour assets, sorted.
    std::vector<std::string> colorNames() const;

    explicit NSAssetCatalog(std::string assetsFolder);

  private:
    std::string assets;
    std::map<std::string, CGColor> colors;
    mutable std::mutex lock;
    mutable std::map<std::string, std::optional<Artwork>> images;
};
