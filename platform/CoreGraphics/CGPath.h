#pragma once
// Stands in for CGPath / CGMutablePath: a value list of path elements (move, line,
// quadratic and cubic curves, close) with the usual shape builders (rectangles,
// rounded rectangles, ellipses, arcs) and its bounding box. Arcs are stored as the
// cubic curves that approximate them, so every consumer replays only four kinds.
// Left out: hit testing of the filled area, stroked copies, dashes as path data.
// Plain value: any thread.

#include <vector>

#include "CoreGraphics/CGGeometry.h"

struct CGPathElement {
    enum class Type { moveTo, lineTo, quadCurveTo, curveTo, closeSubpath };
    Type type;
    // moveTo/lineTo: points[0]; quadCurveTo: control, end; curveTo: control1, control2, end.
    CGPoint points[3];
};

class CGPath {
  public:
    bool isEmpty() const { return elements_.empty(); }
    const std::vector<CGPathElement>& elements() const { return elements_; }
    // The point the next element starts from (zero for an empty path).
    CGPoint currentPoint() const { return current; }

    void move(CGPoint to);
    void addLine(CGPoint to);
    void addQuadCurve(CGPoint control, CGPoint to);
    void addCurve(CGPoint control1, CGPoint control2, CGPoint to);
    void closeSubpath();

    void addRect(const CGRect& rect);
    void addEllipse(const CGRect& rect);
    // Corner radii are limited to half the rectangle's width and height.
    void addRoundedRect(const CGRect& rect, CGFloat cornerWidth, CGFloat cornerHeight);
    // An arc around `center`, angles in radians from the positive x axis, going in the
    // direction of decreasing angles when `clockwise` (in a y-up space). Starts with a
    // line from the current point when the path is not empty, as the platform does.
    void addArc(CGPoint center, CGFloat radius, CGFloat startAngle, CGFloat endAngle,
                bool clockwise);
    void addPath(const CGPath& other);

    // The bounding box of every point, control points included (CGPathGetBoundingBox
    // without the curve tightening); null for an empty path.
    CGRect boundingBox() const;

    CGPath applying(const CGAffineTransform& t) const;

    static CGPath rect(const CGRect& r) {
        CGPath p;
        p.addRect(r);
        return p;
    }
    static CGPath ellipse(const CGRect& r) {
        CGPath p;
        p.addEllipse(r);
        return p;
    }
    static CGPath roundedRect(const CGRect& r, CGFloat cw, CGFloat ch) {
        CGPath p;
        p.addRoundedRect(r, cw, ch);
        return p;
    }

  private:
    std::vector<CGPathElement> elements_;
    CGPoint current;
    CGPoint subpathStart;
};
