#include "CoreGraphics/CGColor.h"

#include <algorithm>
#include <cmath>

std::string CGColorSpaceName(CGColorSpace space) {
    switch (space) {
    case CGColorSpace::sRGB:
        return "kCGColorSpaceSRGB";
    case CGColorSpace::extendedSRGB:
        return "kCGColorSpaceExtendedSRGB";
    case CGColorSpace::displayP3:
        return "kCGColorSpaceDisplayP3";
    case CGColorSpace::genericGray:
        return "kCGColorSpaceGenericGrayGamma2_2";
    case CGColorSpace::extendedLinearSRGB:
        return "kCGColorSpaceExtendedLinearSRGB";
    case CGColorSpace::extendedLinearDisplayP3:
        return "kCGColorSpaceExtendedLinearDisplayP3";
    }
    return {};
}

CGColor CGColor::rgb(CGFloat r, CGFloat g, CGFloat b, CGFloat a, CGColorSpace space) {
    CGColor c;
    c.space = space;
    c.comps = {r, g, b, a};
    return c;
}

CGColor CGColor::gray(CGFloat white, CGFloat a) {
    CGColor c;
    c.space = CGColorSpace::genericGray;
    c.comps = {white, a};
    return c;
}

CGColor CGColor::withoutSpace(std::vector<CGFloat> components) {
    CGColor c;
    c.space.reset();
    c.comps = std::move(components);
    return c;
}

namespace {
double decoded(double v) {
    double a = std::abs(v);
    double l = a <= 0.04045 ? a / 12.92 : std::pow((a + 0.055) / 1.055, 2.4);
    return v < 0 ? -l : l;
}
double encoded(double l) {
    double a = std::abs(l);
    double v = a <= 0.0031308 ? a * 12.92 : 1.055 * std::pow(a, 1 / 2.4) - 0.055;
    return l < 0 ? -v : v;
}
} // namespace

CGColor::RGBA CGColor::rgba() const {
    if (space == CGColorSpace::displayP3 && comps.size() >= 4) {
        // Display P3 shares sRGB's transfer curve: decode, change primaries, encode,
        // and keep what sRGB can show.
        double r = decoded(comps[0]), g = decoded(comps[1]), b = decoded(comps[2]);
        double sr = 1.2249401 * r - 0.2249404 * g;
        double sg = -0.0420569 * r + 1.0420571 * g;
        double sb = -0.0196376 * r - 0.0786361 * g + 1.0982735 * b;
        auto shown = [](double l) { return std::clamp(encoded(l), 0.0, 1.0); };
        return {shown(sr), shown(sg), shown(sb), comps[3]};
    }
    if (comps.size() == 2)
        return {comps[0], comps[0], comps[0], comps[1]};
    if (comps.size() >= 4)
        return {comps[0], comps[1], comps[2], comps[3]};
    if (comps.size() == 3)
        return {comps[0], comps[1], comps[2], 1};
    return {0, 0, 0, comps.empty() ? 0 : comps[0]};
}

CGColor CGColor::withAlpha(CGFloat a) const {
    CGColor c = *this;
    if (c.comps.empty())
        c.comps.push_back(a);
    else
        c.comps.back() = a;
    return c;
}

CGColor CGColor::namedAsset(std::string assetName) const {
    CGColor c = *this;
    c.name = std::move(assetName);
    return c;
}
