#pragma once
// Colours and fonts of the declarative views. A Color is a value: a literal RGBA
// colour, a named colour asset of a bundle (resolved when drawn, so the catalogue is
// read on the main thread), or one of the few system colours; each with an opacity.
// A Color is also a view that fills the space it is offered.
// Thread: values on any thread; resolve() on the main thread.

#include <memory>
#include <string>

#include "CoreGraphics/CGColor.h"
#include "CoreGraphics/CGFont.h"

class Bundle;

namespace SwiftUI {

class ColorValue {
  public:
    // sRGB components, 0…1.
    ColorValue(CGFloat r, CGFloat g, CGFloat b, CGFloat a = 1)
        : literal(CGColor::rgb(r, g, b, a)) {}
    explicit ColorValue(CGColor c) : literal(std::move(c)) {}
    // The colour asset `name` of `bundle` (the main bundle when none).
    explicit ColorValue(std::string name, std::shared_ptr<Bundle> bundle = nullptr)
        : assetName(std::move(name)), assetBundle(std::move(bundle)) {}

    // The same colour with its alpha multiplied by `alpha`.
    ColorValue withOpacity(double alpha) const {
        ColorValue c = *this;
        c.opacityFactor *= alpha;
        return c;
    }
    bool isAsset() const { return !assetName.empty(); }
    const std::string& name() const { return assetName; }
    double opacityFactor_() const { return opacityFactor; }

    // The colour to draw with. A missing asset draws as transparent black, as the
    // platform does. Thread: main.
    CGColor resolve() const;

    friend bool operator==(const ColorValue& a, const ColorValue& b) {
        return a.assetName == b.assetName && a.assetBundle == b.assetBundle &&
               a.literal == b.literal && a.opacityFactor == b.opacityFactor;
    }

  private:
    CGColor literal;
    std::string assetName;
    std::shared_ptr<Bundle> assetBundle;
    double opacityFactor = 1;
};

// A font request: a custom face by name, or the system font at a size, weight and
// design. Resolved to an installed face when text is measured or drawn.
class Font {
  public:
    enum class Weight { ultraLight, thin, light, regular, medium, semibold, bold, heavy, black };
    enum class Design { standard, rounded, serif, monospaced };

    static Font custom(std::string name, CGFloat size) {
        Font f;
        f.faceName = std::move(name);
        f.pointSize = size;
        return f;
    }
    static Font system(CGFloat size, Weight weight = Weight::regular,
                       Design design = Design::standard) {
        Font f;
        f.pointSize = size;
        f.fontWeight = weight;
        f.fontDesign = design;
        return f;
    }
    // The default text font of the platform's controls (13 points).
    static Font body() { return system(13); }

    bool isCustom() const { return !faceName.empty(); }
    const std::string& name() const { return faceName; }
    CGFloat size() const { return pointSize; }
    Weight weight() const { return fontWeight; }
    Design design() const { return fontDesign; }

    // The face to draw with: the named face, or a substitute of the same size when it
    // is not installed. Thread: main.
    CGFont resolve() const;

    friend bool operator==(const Font&, const Font&) = default;

  private:
    std::string faceName;
    CGFloat pointSize = 13;
    Weight fontWeight = Weight::regular;
    Design fontDesign = Design::standard;
};

} // namespace SwiftUI
