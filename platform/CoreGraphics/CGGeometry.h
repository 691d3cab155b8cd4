#pragma once
// Stands in for the platform's geometry value types: CGFloat, CGPoint, CGSize, CGRect,
// CGAffineTransform and the edge insets (NSEdgeInsets) that AppKit and Foundation share.
// Left out: CGVector, the dictionary representations, and the rarely used divide/slice
// helpers. All members are plain values: any thread, real-time safe.

#include <algorithm>
#include <cmath>
#include <limits>

using CGFloat = double;

struct CGPoint {
    CGFloat x = 0, y = 0;

    static constexpr CGPoint zero() { return {}; }
    friend bool operator==(CGPoint, CGPoint) = default;
};

struct CGSize {
    CGFloat width = 0, height = 0;

    static constexpr CGSize zero() { return {}; }
    friend bool operator==(CGSize, CGSize) = default;
};

struct CGAffineTransform;

// A rectangle: origin and size. Sizes may be negative; the min/max accessors and
// the set operations work on the standardised rectangle, as the platform's do.
struct CGRect {
    CGPoint origin;
    CGSize size;

    constexpr CGRect() = default;
    constexpr CGRect(CGPoint o, CGSize s) : origin(o), size(s) {}
    constexpr CGRect(CGFloat x, CGFloat y, CGFloat w, CGFloat h) : origin{x, y}, size{w, h} {}

    static constexpr CGRect zero() { return {}; }
    // The "no rectangle" value: the result of intersecting disjoint rectangles.
    static constexpr CGRect null() {
        constexpr CGFloat inf = std::numeric_limits<CGFloat>::infinity();
        return {inf, inf, 0, 0};
    }
    bool isNull() const { return std::isinf(origin.x) || std::isinf(origin.y); }
    bool isEmpty() const { return isNull() || size.width == 0 || size.height == 0; }

    CGRect standardized() const {
        CGRect r = *this;
        if (r.size.width < 0) {
            r.origin.x += r.size.width;
            r.size.width = -r.size.width;
        }
        if (r.size.height < 0) {
            r.origin.y += r.size.height;
            r.size.height = -r.size.height;
        }
        return r;
    }

    CGFloat width() const { return std::abs(size.width); }
    CGFloat height() const { return std::abs(size.height); }
    CGFloat minX() const { return standardized().origin.x; }
    CGFloat minY() const { return standardized().origin.y; }
    CGFloat maxX() const { return minX() + width(); }
    CGFloat maxY() const { return minY() + height(); }
    CGFloat midX() const { return minX() + width() / 2; }
    CGFloat midY() const { return minY() + height() / 2; }

    // Half-open containment: a point on the max edges is outside.
    bool contains(CGPoint p) const {
        return !isNull() && p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
    }
    bool contains(const CGRect& r) const {
        return !isNull() && !r.isNull() && r.minX() >= minX() && r.maxX() <= maxX() &&
               r.minY() >= minY() && r.maxY() <= maxY();
    }
    bool intersects(const CGRect& r) const { return !intersection(r).isEmpty(); }

    CGRect intersection(const CGRect& r) const {
        if (isNull() || r.isNull())
            return null();
        CGFloat x0 = std::max(minX(), r.minX()), x1 = std::min(maxX(), r.maxX());
        CGFloat y0 = std::max(minY(), r.minY()), y1 = std::min(maxY(), r.maxY());
        if (x1 < x0 || y1 < y0)
            return null();
        return {x0, y0, x1 - x0, y1 - y0};
    }
    CGRect unionWith(const CGRect& r) const {
        if (isNull())
            return r;
        if (r.isNull())
            return *this;
        CGFloat x0 = std::min(minX(), r.minX()), x1 = std::max(maxX(), r.maxX());
        CGFloat y0 = std::min(minY(), r.minY()), y1 = std::max(maxY(), r.maxY());
        return {x0, y0, x1 - x0, y1 - y0};
    }
    CGRect insetBy(CGFloat dx, CGFloat dy) const {
        CGRect r = standardized();
        r.origin.x += dx;
        r.origin.y += dy;
        r.size.width -= 2 * dx;
        r.size.height -= 2 * dy;
        return r.size.width < 0 || r.size.height < 0 ? null() : r;
    }
    CGRect offsetBy(CGFloat dx, CGFloat dy) const {
        return {origin.x + dx, origin.y + dy, size.width, size.height};
    }
    // The smallest rectangle with integral edges that holds this one.
    CGRect integral() const {
        if (isNull())
            return *this;
        CGFloat x0 = std::floor(minX()), y0 = std::floor(minY());
        CGFloat x1 = std::ceil(maxX()), y1 = std::ceil(maxY());
        return {x0, y0, x1 - x0, y1 - y0};
    }
    inline CGRect applying(const CGAffineTransform& t) const;

    friend bool operator==(const CGRect& a, const CGRect& b) {
        return a.origin == b.origin && a.size == b.size;
    }
};

// x' = a·x + c·y + tx, y' = b·x + d·y + ty (the platform's row-vector layout).
struct CGAffineTransform {
    CGFloat a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    static constexpr CGAffineTransform identity() { return {}; }
    static constexpr CGAffineTransform translation(CGFloat x, CGFloat y) {
        return {1, 0, 0, 1, x, y};
    }
    static constexpr CGAffineTransform scale(CGFloat sx, CGFloat sy) {
        return {sx, 0, 0, sy, 0, 0};
    }
    static CGAffineTransform rotation(CGFloat radians) {
        CGFloat s = std::sin(radians), co = std::cos(radians);
        return {co, s, -s, co, 0, 0};
    }

    bool isIdentity() const { return *this == identity(); }
    // this then t: p · this · t.
    CGAffineTransform concatenating(const CGAffineTransform& t) const {
        return {a * t.a + b * t.c, a * t.b + b * t.d,          c * t.a + d * t.c,
                c * t.b + d * t.d, tx * t.a + ty * t.c + t.tx, tx * t.b + ty * t.d + t.ty};
    }
    // Prepends: the new transform acts first, as CGAffineTransformTranslate does.
    CGAffineTransform translatedBy(CGFloat x, CGFloat y) const {
        return translation(x, y).concatenating(*this);
    }
    CGAffineTransform scaledBy(CGFloat sx, CGFloat sy) const {
        return scale(sx, sy).concatenating(*this);
    }
    CGAffineTransform rotatedBy(CGFloat radians) const {
        return rotation(radians).concatenating(*this);
    }
    CGFloat determinant() const { return a * d - b * c; }
    // A singular transform is returned unchanged, as the platform does.
    CGAffineTransform inverted() const {
        CGFloat det = determinant();
        if (det == 0)
            return *this;
        return {
            d / det, -b / det, -c / det, a / det, (c * ty - d * tx) / det, (b * tx - a * ty) / det};
    }

    CGPoint apply(CGPoint p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
    CGSize apply(CGSize s) const {
        return {a * s.width + c * s.height, b * s.width + d * s.height};
    }

    friend bool operator==(const CGAffineTransform&, const CGAffineTransform&) = default;
};

// The bounding box of the transformed corners.
inline CGRect CGRect::applying(const CGAffineTransform& t) const {
    if (isNull())
        return *this;
    CGPoint p[4] = {t.apply(CGPoint{minX(), minY()}), t.apply(CGPoint{maxX(), minY()}),
                    t.apply(CGPoint{minX(), maxY()}), t.apply(CGPoint{maxX(), maxY()})};
    CGFloat x0 = p[0].x, x1 = p[0].x, y0 = p[0].y, y1 = p[0].y;
    for (const CGPoint& q : p) {
        x0 = std::min(x0, q.x);
        x1 = std::max(x1, q.x);
        y0 = std::min(y0, q.y);
        y1 = std::max(y1, q.y);
    }
    return {x0, y0, x1 - x0, y1 - y0};
}

// Insets of a rectangle's four edges, in points: top, left, bottom, right.
struct NSEdgeInsets {
    CGFloat top = 0, left = 0, bottom = 0, right = 0;

    static constexpr NSEdgeInsets zero() { return {}; }
    friend bool operator==(const NSEdgeInsets&, const NSEdgeInsets&) = default;
};
