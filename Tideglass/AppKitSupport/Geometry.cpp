#include "AppKitSupport/Geometry.h"

#include "AppKit/NSBezierPath.h"
#include "AppKit/NSGraphicsContext.h"

#include <cmath>
#include <numbers>
#include <sstream>

CGRect integral(const CGRect& r, CGFloat s) {
    if (s <= 0)
        return r;
    return multiply(multiply(r, s).integral(), 1 / s);
}

CGRect center(const CGRect& r, const CGRect& container, CGFloat s) {
    CGRect c = r;
    // Offsets within the container: round(s × (W − w) × 0.5) / s.
    c.origin.x = std::round(s * (container.size.width - r.size.width) * 0.5) / s;
    c.origin.y = std::round(s * (container.size.height - r.size.height) * 0.5) / s;
    return integral(c, s);
}

CGRect centerX(const CGRect& r, const CGRect& container, CGFloat s,
               std::optional<std::pair<CGFloat, CGFloat>> xRange) {
    CGRect c = r;
    c.origin.x = std::round(s * (container.midX() - 0.5 * r.size.width)) / s;
    if (xRange)
        c.origin.x = std::clamp(c.origin.x, xRange->first, xRange->second);
    return c.integral();
}

CGRect centerY(const CGRect& r, const CGRect& container, CGFloat s) {
    CGRect c = r;
    c.origin.y = std::round(s * (container.midY() - 0.5 * r.size.height)) / s;
    return c.integral();
}

CGRect inset(const CGRect& r, const NSEdgeInsets& by, bool flipped) {
    return CGRect{r.origin.x + by.left, r.origin.y + (flipped ? by.top : by.bottom),
                  r.size.width - by.left - by.right, r.size.height - by.top - by.bottom}
        .integral();
}

CGRect outset(const CGRect& r, const NSEdgeInsets& by, bool flipped) {
    return inset(r, inverse(by), flipped);
}

CGRect fit(const CGRect& r, const CGRect& in) {
    CGRect f = r;
    f.origin.x = std::max(in.minX(), std::min(in.maxX(), r.maxX()) - r.width());
    f.origin.y = std::max(in.minY(), std::min(in.maxY(), r.maxY()) - r.height());
    return f;
}

std::optional<std::vector<uint8_t>> pngP3Data(const CGImage& image) {
    auto data = image.pngData(CGColorSpace::displayP3, 16);
    if (data.empty())
        return std::nullopt;
    return data;
}

std::string debugDescription(const CGColor& color) {
    std::ostringstream out;
    if (auto space = color.colorSpace())
        out << CGColorSpaceName(*space);
    out << ": [ ";
    const auto& components = color.components();
    for (size_t i = 0; i < components.size(); ++i)
        out << (i ? ", " : "") << components[i];
    out << " ]";
    return out.str();
}

std::shared_ptr<NSBezierPath> roundedRectPath(const CGRect& rect, const CornerRadii& k) {
    constexpr CGFloat pi = std::numbers::pi;
    // Described with y growing downwards ("top" at minY); arcs in that space sweep
    // with increasing angles, which is counter-clockwise in a y-up space's terms.
    CGPath path;
    CGFloat minX = rect.minX(), minY = rect.minY(), maxX = rect.maxX(), maxY = rect.maxY();
    path.move({minX + k.topLeft, minY});
    path.addLine({maxX - k.topRight, minY});
    if (k.topRight > 0)
        path.addArc({maxX - k.topRight, minY + k.topRight}, k.topRight, 3 * pi / 2, 0, false);
    path.addLine({maxX, maxY - k.bottomRight});
    if (k.bottomRight > 0)
        path.addArc({maxX - k.bottomRight, maxY - k.bottomRight}, k.bottomRight, 0, pi / 2, false);
    path.addLine({minX + k.bottomLeft, maxY});
    if (k.bottomLeft > 0)
        path.addArc({minX + k.bottomLeft, maxY - k.bottomLeft}, k.bottomLeft, pi / 2, pi, false);
    path.addLine({minX, minY + k.topLeft});
    if (k.topLeft > 0)
        path.addArc({minX + k.topLeft, minY + k.topLeft}, k.topLeft, pi, 3 * pi / 2, false);
    path.closeSubpath();
    return NSBezierPath::withCGPath(path);
}

void verticallyFlip(const CGRect& frame) {
    auto context = NSGraphicsContext::current();
    if (!context)
        return;
    // (x, y) → (x, h − y): translate by (0, h), then scale by (1, −1).
    context->cgContext().concatenate(
        CGAffineTransform::translation(0, frame.size.height).scaledBy(1, -1));
}

CGAffineTransform ShakeEffect::effectValue(CGSize) const {
    // dx = amount × sin(progress × π × shakes)
    return CGAffineTransform::translation(
        amount * std::sin(animatableData * std::numbers::pi * shakes), 0);
}
