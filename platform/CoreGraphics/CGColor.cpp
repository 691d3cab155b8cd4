#include "CoreGraphics/CGColor.h"

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

CGColor::RGBA CGColor::rgba() const {
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
