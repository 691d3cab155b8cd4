#pragma once
// Stands in for NSBezierPath: a path object (over CGPath) with AppKit's builders —
// rectangles, rounded rectangles, ovals, lines, arcs in degrees — and filling,
// stroking and clipping in the current graphics context with its current colours.
// Left out: glyph outlines, flattening, hit testing of the filled area.
// Thread: building on any thread; fill/stroke/addClip on the drawing thread.

#include <memory>
#include <vector>

#include "CoreGraphics/CGContext.h"
#include "CoreGraphics/CGPath.h"
#include "Runtime/Runtime.h"

class NSBezierPath : public NSObject {
  public:
    static std::shared_ptr<NSBezierPath> make();
    static std::shared_ptr<NSBezierPath> withCGPath(const CGPath& path);
    static std::shared_ptr<NSBezierPath> rect(const CGRect& rect);
    static std::shared_ptr<NSBezierPath> ovalIn(const CGRect& rect);
    static std::shared_ptr<NSBezierPath> roundedRect(const CGRect& rect, CGFloat xRadius,
                                                     CGFloat yRadius);

    // Fills / strokes a path in the current context with its current colours.
    static void fillRect(const CGRect& rect);
    static void strokeRect(const CGRect& rect);
    static void strokeLine(CGPoint from, CGPoint to);

    void move(CGPoint to) { path.move(to); }
    void line(CGPoint to) { path.addLine(to); }
    void curve(CGPoint to, CGPoint control1, CGPoint control2) {
        path.addCurve(control1, control2, to);
    }
    void close() { path.closeSubpath(); }
    void appendRect(const CGRect& rect) { path.addRect(rect); }
    void appendOval(const CGRect& rect) { path.addEllipse(rect); }
    void appendRoundedRect(const CGRect& rect, CGFloat xRadius, CGFloat yRadius) {
        path.addRoundedRect(rect, xRadius, yRadius);
    }
    // An arc in degrees, counter-clockwise unless `clockwise` (in a y-up space).
    void appendArc(CGPoint center, CGFloat radius, CGFloat startAngle, CGFloat endAngle,
                   bool clockwise = false);
    void append(const NSBezierPath& other) { path.addPath(other.path); }
    void transform(const CGAffineTransform& t) { path = path.applying(t); }

    bool isEmpty() const { return path.isEmpty(); }
    CGRect bounds() const { return path.boundingBox(); }
    CGPoint currentPoint() const { return path.currentPoint(); }
    const CGPath& cgPath() const { return path; }

    CGFloat lineWidth = 1;
    CGLineCap lineCapStyle = CGLineCap::butt;
    CGLineJoin lineJoinStyle = CGLineJoin::miter;
    CGPathFillRule windingRule = CGPathFillRule::winding;
    void setLineDash(std::vector<CGFloat> pattern, CGFloat phase) {
        dash = std::move(pattern);
        dashPhase = phase;
    }

    void fill() const;
    void stroke() const;
    // Intersects the current context's clip with the path.
    void addClip() const;

  protected:
    NSBezierPath() = default;

  private:
    CGPath path;
    std::vector<CGFloat> dash;
    CGFloat dashPhase = 0;
};
