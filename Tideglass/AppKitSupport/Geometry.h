#pragma once
// Value-level helpers on the geometry types that the library's controls, cells and
// windows use: pixel-snapped centring, insetting by edge insets with a flipped flag,
// fitting a rectangle inside another, scaling through Multiplicable, point
// arithmetic, per-corner rounded rectangles, a shake effect's offset, vertical
// flipping of a graphics context and a readable description of colours.
// Rectangles are (x, y, width, height); min/max are the minimum and maximum edges.
// Pure functions of their arguments, any thread, except verticallyFlip (main thread,
// the current graphics context).

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CoreGraphics/CGColor.h"
#include "CoreGraphics/CGGeometry.h"
#include "CoreGraphics/CGImage.h"

class NSBezierPath;

// Values that scale by a factor (CGRect, CGSize, CGPoint): every component multiplied.
inline CGRect multiply(const CGRect& r, CGFloat f) {
    return {r.origin.x * f, r.origin.y * f, r.size.width * f, r.size.height * f};
}
inline CGSize multiply(CGSize s, CGFloat f) {
    return {s.width * f, s.height * f};
}
inline CGPoint multiply(CGPoint p, CGFloat f) {
    return {p.x * f, p.y * f};
}

template <class T>
concept Multiplicable = requires(const T& value, CGFloat f) {
    { multiply(value, f) } -> std::same_as<T>;
};

template <Multiplicable T> T operator*(const T& value, CGFloat factor) {
    return multiply(value, factor);
}
template <Multiplicable T> T operator/(const T& value, CGFloat divisor) {
    return multiply(value, 1 / divisor);
}

inline CGPoint operator+(CGPoint a, CGPoint b) {
    return {a.x + b.x, a.y + b.y};
}
inline CGPoint operator-(CGPoint a, CGPoint b) {
    return {a.x - b.x, a.y - b.y};
}
inline CGPoint& operator+=(CGPoint& a, CGPoint b) {
    return a = a + b;
}
inline CGPoint& operator-=(CGPoint& a, CGPoint b) {
    return a = a - b;
}

// Rectangles.
inline CGPoint midPoint(const CGRect& r) {
    return {r.midX(), r.midY()};
}
inline CGPoint maxPoint(const CGRect& r) {
    return {r.maxX(), r.maxY()};
}
// The size of `r` centred in `container`, as offsets from the container's origin
// (its own x and y are not added): x = round(s (W - w) / 2) / s, rounding half away
// from zero; for s > 0 the rectangle is then snapped to the pixel grid of scale s.
CGRect center(const CGRect& r, const CGRect& container, CGFloat integralWithScaleFactor);
// x = round(s (container.midX - w / 2)) / s, clamped into `xRange` when given; then
// snapped to whole points.
CGRect centerX(const CGRect& r, const CGRect& container, CGFloat integralWithScaleFactor,
               std::optional<std::pair<CGFloat, CGFloat>> xRange = std::nullopt);
// y = round(s (container.midY - h / 2)) / s; then snapped to whole points.
CGRect centerY(const CGRect& r, const CGRect& container, CGFloat integralWithScaleFactor);
// For s > 0, the smallest rectangle on the pixel grid of scale s that holds `r`.
CGRect integral(const CGRect& r, CGFloat withScaleFactor);
// Snapped to whole points; the bottom inset moves y unless `flipped` (then the top).
CGRect inset(const CGRect& r, const NSEdgeInsets& by, bool flipped);
CGRect outset(const CGRect& r, const NSEdgeInsets& by, bool flipped);
// Moved just inside the container, keeping its size; its min edges win when larger.
CGRect fit(const CGRect& r, const CGRect& in);
inline bool hasNonZeroDimensions(const CGRect& r) {
    return r.size.width != 0 && r.size.height != 0;
}

// Sizes.
inline CGSize componentwiseMin(CGSize a, CGSize b) {
    return {std::min(a.width, b.width), std::min(a.height, b.height)};
}
inline CGSize componentwiseMax(CGSize a, CGSize b) {
    return {std::max(a.width, b.width), std::max(a.height, b.height)};
}
inline bool hasNonZeroDimensions(CGSize s) {
    return s.width != 0 && s.height != 0;
}
inline CGSize inset(CGSize s, const NSEdgeInsets& by) {
    return {s.width - by.left - by.right, s.height - by.top - by.bottom};
}

// Edge insets.
inline CGFloat width(const NSEdgeInsets& i) {
    return i.left + i.right;
}
inline CGFloat height(const NSEdgeInsets& i) {
    return i.top + i.bottom;
}
inline CGSize size(const NSEdgeInsets& i) {
    return {width(i), height(i)};
}
inline NSEdgeInsets inverse(const NSEdgeInsets& i) {
    return {-i.top, -i.left, -i.bottom, -i.right};
}

// Images and colours.
inline CGSize size(const CGImage& image) {
    return image.size();
}
// The image as a PNG of 16 bits per channel in Display P3; none when it cannot be
// made (an image without pixels).
std::optional<std::vector<uint8_t>> pngP3Data(const CGImage& image);
// The colour space's name ("" without one), ": [ ", the components joined by ", ", " ]".
std::string debugDescription(const CGColor& color);

// The radii of a rectangle's corners.
struct CornerRadii {
    CGFloat topLeft = 0, topRight = 0, bottomRight = 0, bottomLeft = 0;
};
// A rounded rectangle with a radius per corner (0 gives a square corner); "top" is
// at minY, as in a flipped view.
std::shared_ptr<NSBezierPath> roundedRectPath(const CGRect& rect, const CornerRadii& corners);

// Mirrors drawing in `frame` top to bottom: the current graphics context is
// translated by the frame's height and scaled by (1, -1).
void verticallyFlip(const CGRect& frame);

// A horizontal shake: its offset follows amount × sin(progress × π × shakes).
struct ShakeEffect {
    CGFloat amount = 10;
    CGFloat shakes = 3;
    CGFloat animatableData = 0; // the animated progress, 0 to 1
    // The drawing offset (layout is not affected).
    CGAffineTransform effectValue(CGSize size) const;
};
