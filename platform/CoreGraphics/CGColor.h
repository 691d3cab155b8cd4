#pragma once
// Stands in for CGColor and the few colour spaces the system names: an immutable
// colour value of a colour space (sRGB, extended sRGB, Display P3, grey) or of no
// space at all, with its components in the space's order followed by alpha.
// An optional asset name travels with a colour that came from an asset catalogue,
// so that recorded drawing can say which named colour was used.
// Display P3 colours are drawn converted to sRGB (what sRGB cannot show is clamped).
// Left out: ICC profiles, pattern colours and other conversions between spaces
// (extended values are drawn as if they were sRGB).
// Plain value: any thread.

#include <optional>
#include <string>
#include <vector>

#include "CoreGraphics/CGGeometry.h"

enum class CGColorSpace {
    sRGB,
    extendedSRGB,
    displayP3,
    genericGray,
    // Linear light with values beyond 0...1 (what half-float render targets hold).
    extendedLinearSRGB,
    extendedLinearDisplayP3
};

// The platform's name of a colour space, e.g. "kCGColorSpaceSRGB".
std::string CGColorSpaceName(CGColorSpace space);

class CGColor {
  public:
    // Transparent black in sRGB.
    CGColor() = default;
    static CGColor rgb(CGFloat r, CGFloat g, CGFloat b, CGFloat a = 1,
                       CGColorSpace space = CGColorSpace::sRGB);
    static CGColor gray(CGFloat white, CGFloat a = 1);
    // A colour without a colour space: only its components.
    static CGColor withoutSpace(std::vector<CGFloat> components);

    std::optional<CGColorSpace> colorSpace() const { return space; }
    // The components in the space's order, alpha last.
    const std::vector<CGFloat>& components() const { return comps; }
    size_t numberOfComponents() const { return comps.size(); }
    CGFloat alpha() const { return comps.empty() ? 1 : comps.back(); }

    // Red, green, blue and alpha in sRGB, as drawn (grey spreads to all three).
    struct RGBA {
        CGFloat r, g, b, a;
        friend bool operator==(const RGBA&, const RGBA&) = default;
    };
    RGBA rgba() const;

    CGColor withAlpha(CGFloat a) const;

    // The asset name of a catalogue colour ("Background/Darker"); empty otherwise.
    const std::string& assetName() const { return name; }
    CGColor namedAsset(std::string assetName) const;

    // Equal when space and components are equal; the asset name is a label only.
    friend bool operator==(const CGColor& x, const CGColor& y) {
        return x.space == y.space && x.comps == y.comps;
    }

  private:
    std::optional<CGColorSpace> space = CGColorSpace::sRGB;
    std::vector<CGFloat> comps{0, 0, 0, 0};
    std::string name;
};
