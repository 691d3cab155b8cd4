#include "CoreGraphics/CGPath.h"

#include <numbers>

namespace {
// Cubic approximation of a quarter circle: control points at k·r along the tangents.
constexpr CGFloat kappa = 0.5522847498307936;
} // namespace

void CGPath::move(CGPoint to) {
    elements_.push_back({CGPathElement::Type::moveTo, {to}});
    current = subpathStart = to;
}

void CGPath::addLine(CGPoint to) {
    if (elements_.empty())
        move(current);
    elements_.push_back({CGPathElement::Type::lineTo, {to}});
    current = to;
}

void CGPath::addQuadCurve(CGPoint control, CGPoint to) {
    if (elements_.empty())
        move(current);
    elements_.push_back({CGPathElement::Type::quadCurveTo, {control, to}});
    current = to;
}

void CGPath::addCurve(CGPoint control1, CGPoint control2, CGPoint to) {
    if (elements_.empty())
        move(current);
    elements_.push_back({CGPathElement::Type::curveTo, {control1, control2, to}});
    current = to;
}

void CGPath::closeSubpath() {
    if (elements_.empty())
        return;
    elements_.push_back({CGPathElement::Type::closeSubpath, {}});
    current = subpathStart;
}

void CGPath::addRect(const CGRect& r0) {
    CGRect r = r0.standardized();
    move({r.minX(), r.minY()});
    addLine({r.maxX(), r.minY()});
    addLine({r.maxX(), r.maxY()});
    addLine({r.minX(), r.maxY()});
    closeSubpath();
}

void CGPath::addEllipse(const CGRect& r0) {
    CGRect r = r0.standardized();
    CGFloat cx = r.midX(), cy = r.midY(), rx = r.width() / 2, ry = r.height() / 2;
    CGFloat kx = kappa * rx, ky = kappa * ry;
    move({cx + rx, cy});
    addCurve({cx + rx, cy + ky}, {cx + kx, cy + ry}, {cx, cy + ry});
    addCurve({cx - kx, cy + ry}, {cx - rx, cy + ky}, {cx - rx, cy});
    addCurve({cx - rx, cy - ky}, {cx - kx, cy - ry}, {cx, cy - ry});
    addCurve({cx + kx, cy - ry}, {cx + rx, cy - ky}, {cx + rx, cy});
    closeSubpath();
}

void CGPath::addRoundedRect(const CGRect& r0, CGFloat cw, CGFloat ch) {
    CGRect r = r0.standardized();
    cw = std::clamp(cw, CGFloat(0), r.width() / 2);
    ch = std::clamp(ch, CGFloat(0), r.height() / 2);
    if (cw == 0 || ch == 0) {
        addRect(r);
        return;
    }
    CGFloat kx = kappa * cw, ky = kappa * ch;
    CGFloat x0 = r.minX(), x1 = r.maxX(), y0 = r.minY(), y1 = r.maxY();
    move({x0 + cw, y0});
    addLine({x1 - cw, y0});
    addCurve({x1 - cw + kx, y0}, {x1, y0 + ch - ky}, {x1, y0 + ch});
    addLine({x1, y1 - ch});
    addCurve({x1, y1 - ch + ky}, {x1 - cw + kx, y1}, {x1 - cw, y1});
    addLine({x0 + cw, y1});
    addCurve({x0 + cw - kx, y1}, {x0, y1 - ch + ky}, {x0, y1 - ch});
    addLine({x0, y0 + ch});
    addCurve({x0, y0 + ch - ky}, {x0 + cw - kx, y0}, {x0 + cw, y0});
    closeSubpath();
}

void CGPath::addArc(CGPoint c, CGFloat radius, CGFloat start, CGFloat end, bool clockwise) {
    constexpr CGFloat twoPi = 2 * std::numbers::pi;
    // Sweep: counter-clockwise goes to increasing angles, clockwise to decreasing ones.
    CGFloat sweep = end - start;
    if (clockwise) {
        while (sweep > 0)
            sweep -= twoPi;
        if (sweep < -twoPi)
            sweep = -twoPi;
    } else {
        while (sweep < 0)
            sweep += twoPi;
        if (sweep > twoPi)
            sweep = twoPi;
    }
    CGPoint first{c.x + radius * std::cos(start), c.y + radius * std::sin(start)};
    if (elements_.empty())
        move(first);
    else
        addLine(first);
    // Split into pieces of at most a quarter turn; each piece is one cubic with
    // control points at (4/3)·tan(θ/4)·r along the tangents.
    int pieces = std::max(1, static_cast<int>(std::ceil(std::abs(sweep) / (twoPi / 4) - 1e-9)));
    CGFloat step = sweep / pieces;
    CGFloat k = 4.0 / 3.0 * std::tan(step / 4);
    CGFloat a0 = start;
    for (int i = 0; i < pieces; ++i) {
        CGFloat a1 = a0 + step;
        CGPoint p0{c.x + radius * std::cos(a0), c.y + radius * std::sin(a0)};
        CGPoint p1{c.x + radius * std::cos(a1), c.y + radius * std::sin(a1)};
        CGPoint c1{p0.x - k * radius * std::sin(a0), p0.y + k * radius * std::cos(a0)};
        CGPoint c2{p1.x + k * radius * std::sin(a1), p1.y - k * radius * std::cos(a1)};
        addCurve(c1, c2, p1);
        a0 = a1;
    }
}

void CGPath::addPath(const CGPath& other) {
    for (const CGPathElement& e : other.elements_)
        elements_.push_back(e);
    if (!other.elements_.empty()) {
        current = other.current;
        subpathStart = other.subpathStart;
    }
}

CGRect CGPath::boundingBox() const {
    CGRect box = CGRect::null();
    auto add = [&](CGPoint p) { box = box.unionWith(CGRect{p, {}}); };
    for (const CGPathElement& e : elements_) {
        switch (e.type) {
        case CGPathElement::Type::moveTo:
        case CGPathElement::Type::lineTo:
            add(e.points[0]);
            break;
        case CGPathElement::Type::quadCurveTo:
            add(e.points[0]);
            add(e.points[1]);
            break;
        case CGPathElement::Type::curveTo:
            add(e.points[0]);
            add(e.points[1]);
            add(e.points[2]);
            break;
        case CGPathElement::Type::closeSubpath:
            break;
        }
    }
    return box;
}

CGPath CGPath::applying(const CGAffineTransform& t) const {
    CGPath p = *this;
    for (CGPathElement& e : p.elements_)
        for (CGPoint& q : e.points)
            q = t.apply(q);
    p.current = t.apply(current);
    p.subpathStart = t.apply(subpathStart);
    return p;
}
