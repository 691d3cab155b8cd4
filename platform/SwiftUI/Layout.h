#pragma once
// The layout vocabulary of the declarative views: alignments, unit points, edges and
// insets, axes and the size a parent proposes to a child. Plain values: any thread.

#include <cstdint>
#include <limits>
#include <optional>

#include "CoreGraphics/CGGeometry.h"

namespace SwiftUI {

constexpr CGFloat infinity = std::numeric_limits<CGFloat>::infinity();

enum class Axis { horizontal, vertical };

// Where a child sits along one axis of the space its parent gives it, as a fraction
// (0 leading/top, 0.5 centre, 1 trailing/bottom).
struct HorizontalAlignment {
    CGFloat fraction = 0.5;
    static constexpr HorizontalAlignment leading() { return {0}; }
    static constexpr HorizontalAlignment center() { return {0.5}; }
    static constexpr HorizontalAlignment trailing() { return {1}; }
    friend bool operator==(HorizontalAlignment, HorizontalAlignment) = default;
};

struct VerticalAlignment {
    CGFloat fraction = 0.5;
    static constexpr VerticalAlignment top() { return {0}; }
    static constexpr VerticalAlignment center() { return {0.5}; }
    static constexpr VerticalAlignment bottom() { return {1}; }
    friend bool operator==(VerticalAlignment, VerticalAlignment) = default;
};

struct Alignment {
    HorizontalAlignment horizontal;
    VerticalAlignment vertical;

    static constexpr Alignment center() { return {}; }
    static constexpr Alignment top() { return {{0.5}, {0}}; }
    static constexpr Alignment bottom() { return {{0.5}, {1}}; }
    static constexpr Alignment leading() { return {{0}, {0.5}}; }
    static constexpr Alignment trailing() { return {{1}, {0.5}}; }
    static constexpr Alignment topLeading() { return {{0}, {0}}; }
    static constexpr Alignment topTrailing() { return {{1}, {0}}; }
    static constexpr Alignment bottomLeading() { return {{0}, {1}}; }
    static constexpr Alignment bottomTrailing() { return {{1}, {1}}; }
    friend bool operator==(Alignment, Alignment) = default;
};

// A point in a view's bounds as fractions of its size (anchors of scale and rotation).
struct UnitPoint {
    CGFloat x = 0.5, y = 0.5;
    static constexpr UnitPoint center() { return {}; }
    static constexpr UnitPoint topLeading() { return {0, 0}; }
    static constexpr UnitPoint top() { return {0.5, 0}; }
    static constexpr UnitPoint leading() { return {0, 0.5}; }
    static constexpr UnitPoint bottomTrailing() { return {1, 1}; }
    friend bool operator==(UnitPoint, UnitPoint) = default;
};

// Edges of a rectangle, combinable as a set.
struct Edge {
    enum Set : uint8_t {
        top = 1,
        leading = 2,
        bottom = 4,
        trailing = 8,
        horizontal = leading | trailing,
        vertical = top | bottom,
        all = 15
    };
};

struct EdgeInsets {
    CGFloat top = 0, leading = 0, bottom = 0, trailing = 0;

    static EdgeInsets uniform(CGFloat v) { return {v, v, v, v}; }
    static EdgeInsets edges(Edge::Set set, CGFloat v) {
        return {set & Edge::top ? v : 0, set & Edge::leading ? v : 0, set & Edge::bottom ? v : 0,
                set & Edge::trailing ? v : 0};
    }
    CGFloat horizontal() const { return leading + trailing; }
    CGFloat vertical() const { return top + bottom; }
    friend bool operator==(const EdgeInsets&, const EdgeInsets&) = default;
};

// The size a parent offers a child: per dimension a length, infinity (take as much as
// you like) or none (your ideal size).
struct ProposedViewSize {
    std::optional<CGFloat> width, height;

    static ProposedViewSize unspecified() { return {}; }
    static ProposedViewSize zero() { return {0.0, 0.0}; }
    static ProposedViewSize infinite() { return {infinity, infinity}; }
    ProposedViewSize(std::optional<CGFloat> w = {}, std::optional<CGFloat> h = {})
        : width(w), height(h) {}
    ProposedViewSize(CGSize s) : width(s.width), height(s.height) {}

    std::optional<CGFloat>& along(Axis a) { return a == Axis::horizontal ? width : height; }
    std::optional<CGFloat> along(Axis a) const { return a == Axis::horizontal ? width : height; }
    // Missing dimensions replaced by `fallback`'s.
    CGSize replacingUnspecified(CGSize fallback) const {
        return {width.value_or(fallback.width), height.value_or(fallback.height)};
    }
    friend bool operator==(const ProposedViewSize&, const ProposedViewSize&) = default;
};

inline CGFloat along(const CGSize& s, Axis a) {
    return a == Axis::horizontal ? s.width : s.height;
}
inline CGFloat& along(CGSize& s, Axis a) {
    return a == Axis::horizontal ? s.width : s.height;
}
inline Axis other(Axis a) {
    return a == Axis::horizontal ? Axis::vertical : Axis::horizontal;
}

} // namespace SwiftUI
