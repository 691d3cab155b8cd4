#pragma once
// Shapes: outlines that fill the space they are offered, drawn filled with the
// foreground colour, or with fill(_:) / stroke(_:lineWidth:). Thread: main.

#include <functional>
#include <optional>

#include "CoreGraphics/CGPath.h"
#include "SwiftUI/View.h"

namespace SwiftUI {

// Any shape: its outline for a rectangle, and which points it covers.
class AnyShape {
  public:
    template <class S>
    requires requires(const S& s, CGRect r) { s.path(r); }
    AnyShape(const S& shape)
        : outline([shape](CGRect r) { return shape.path(r); }),
          covers([shape](CGRect r, CGPoint p) { return shape.contains(r, p); }) {}

    CGPath path(CGRect rect) const { return outline(rect); }
    bool contains(CGRect rect, CGPoint p) const { return covers(rect, p); }

  private:
    std::function<CGPath(CGRect)> outline;
    std::function<bool(CGRect, CGPoint)> covers;
};

enum class RoundedCornerStyle { circular, continuous };

namespace detail {

// A shape drawn as a view.
class ShapeView : public View<ShapeView>, public Primitive {
  public:
    ShapeView(AnyShape shape, std::optional<ColorValue> color, bool stroked, CGFloat lineWidth,
              std::type_index shapeType)
        : shape(std::move(shape)), color(std::move(color)), stroked(stroked), lineWidth(lineWidth),
          shapeType(shapeType) {}
    std::type_index viewType() const override { return shapeType; }
    CGSize sizeThatFits(Node& node, ProposedViewSize proposal) const override;
    void render(const Node& node, CGContext& context) const override;
    bool hitsContent(const Node& node, CGPoint local) const override;

    AnyShape shape;
    std::optional<ColorValue> color; // the foreground colour when none
    bool stroked;
    CGFloat lineWidth;
    std::type_index shapeType;
};

} // namespace detail

// Base of the shapes: the view members, fill and stroke.
template <class Self> class Shape : public View<Self>, public detail::Primitive {
  public:
    AnyView fill(const ColorValue& color) const { return styled(color, false, 1); }
    AnyView stroke(const ColorValue& color, CGFloat lineWidth = 1) const {
        return styled(color, true, lineWidth);
    }
    // Points inside the rectangle of the shape by default.
    bool contains(CGRect rect, CGPoint p) const { return rect.contains(p); }

    void build(Node& node, ViewContext& ctx) const override;
    CGSize sizeThatFits(Node& node, ProposedViewSize proposal) const override {
        return asView(std::nullopt, false, 1).sizeThatFits(node, proposal);
    }
    void render(const Node& node, CGContext& context) const override {
        asView(std::nullopt, false, 1).render(node, context);
    }
    bool hitsContent(const Node& node, CGPoint local) const override {
        return asView(std::nullopt, false, 1).hitsContent(node, local);
    }

  private:
    detail::ShapeView asView(std::optional<ColorValue> color, bool stroked, CGFloat width) const {
        return detail::ShapeView(AnyShape(static_cast<const Self&>(*this)), std::move(color),
                                 stroked, width, typeid(Self));
    }
    AnyView styled(const ColorValue& color, bool stroked, CGFloat width) const {
        return AnyView(std::make_shared<const detail::ShapeView>(asView(color, stroked, width)));
    }
};

template <class Self> void Shape<Self>::build(Node&, ViewContext&) const {}

class Rectangle : public Shape<Rectangle> {
  public:
    CGPath path(CGRect r) const { return CGPath::rect(r); }
};

class RoundedRectangle : public Shape<RoundedRectangle> {
  public:
    explicit RoundedRectangle(CGFloat cornerRadius,
                              RoundedCornerStyle style = RoundedCornerStyle::circular)
        : cornerSize{cornerRadius, cornerRadius}, style(style) {}
    explicit RoundedRectangle(CGSize cornerSize,
                              RoundedCornerStyle style = RoundedCornerStyle::circular)
        : cornerSize(cornerSize), style(style) {}
    CGPath path(CGRect r) const {
        return CGPath::roundedRect(r, cornerSize.width, cornerSize.height);
    }
    CGSize cornerSize;
    RoundedCornerStyle style;
};

// The largest circle centred in the rectangle.
class Circle : public Shape<Circle> {
  public:
    CGPath path(CGRect r) const { return CGPath::ellipse(square(r)); }
    bool contains(CGRect r, CGPoint p) const {
        CGRect s = square(r);
        CGFloat dx = p.x - s.midX(), dy = p.y - s.midY(), radius = s.width() / 2;
        return dx * dx + dy * dy <= radius * radius;
    }

  private:
    static CGRect square(CGRect r) {
        CGFloat d = std::min(r.width(), r.height());
        return {r.midX() - d / 2, r.midY() - d / 2, d, d};
    }
};

// A rounded rectangle whose corner radius is half its shorter side.
class Capsule : public Shape<Capsule> {
  public:
    CGPath path(CGRect r) const {
        CGFloat radius = std::min(r.width(), r.height()) / 2;
        return CGPath::roundedRect(r, radius, radius);
    }
};

// A path given in the view's own space, or made for its bounds.
class Path : public Shape<Path> {
  public:
    Path() = default;
    explicit Path(CGPath p) : fixed(std::move(p)) {}
    explicit Path(std::function<CGPath(CGRect)> make) : maker(std::move(make)) {}
    CGPath path(CGRect r) const { return maker ? maker(r) : fixed; }
    bool contains(CGRect r, CGPoint p) const { return path(r).boundingBox().contains(p); }

  private:
    CGPath fixed;
    std::function<CGPath(CGRect)> maker;
};

} // namespace SwiftUI
