#include "AppKit/NSBezierPath.h"

#include <numbers>

#include "AppKit/NSGraphicsContext.h"

std::shared_ptr<NSBezierPath> NSBezierPath::make() {
    return ::make<NSBezierPath>();
}

std::shared_ptr<NSBezierPath> NSBezierPath::withCGPath(const CGPath& p) {
    auto path = make();
    path->path = p;
    return path;
}

std::shared_ptr<NSBezierPath> NSBezierPath::rect(const CGRect& r) {
    return withCGPath(CGPath::rect(r));
}

std::shared_ptr<NSBezierPath> NSBezierPath::ovalIn(const CGRect& r) {
    return withCGPath(CGPath::ellipse(r));
}

std::shared_ptr<NSBezierPath> NSBezierPath::roundedRect(const CGRect& r, CGFloat xr, CGFloat yr) {
    return withCGPath(CGPath::roundedRect(r, xr, yr));
}

void NSBezierPath::fillRect(const CGRect& r) {
    rect(r)->fill();
}
void NSBezierPath::strokeRect(const CGRect& r) {
    rect(r)->stroke();
}

void NSBezierPath::strokeLine(CGPoint from, CGPoint to) {
    auto path = make();
    path->move(from);
    path->line(to);
    path->stroke();
}

void NSBezierPath::appendArc(CGPoint center, CGFloat radius, CGFloat start, CGFloat end,
                             bool clockwise) {
    constexpr CGFloat toRadians = std::numbers::pi / 180;
    path.addArc(center, radius, start * toRadians, end * toRadians, clockwise);
}

void NSBezierPath::fill() const {
    auto context = NSGraphicsContext::current();
    if (!context)
        return;
    context->cgContext().fillPath(path, windingRule);
}

void NSBezierPath::stroke() const {
    auto context = NSGraphicsContext::current();
    if (!context)
        return;
    CGContext& c = context->cgContext();
    c.saveGState();
    c.setLineWidth(lineWidth);
    c.setLineCap(lineCapStyle);
    c.setLineJoin(lineJoinStyle);
    if (!dash.empty())
        c.setLineDash(dashPhase, dash);
    c.strokePath(path);
    c.restoreGState();
}

void NSBezierPath::addClip() const {
    if (auto context = NSGraphicsContext::current())
        context->cgContext().clip(path, windingRule);
}
