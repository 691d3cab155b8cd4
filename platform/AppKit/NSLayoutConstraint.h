#pragma once
// Stands in for the small part of Auto Layout that code-built views use: anchors of
// a view's edges, centre and size, and equality constraints between them
// (first = second × multiplier + constant). Active constraints of a view whose
// translatesAutoresizingMaskIntoConstraints is false place it when its superview
// lays out (NSView::layout's default), against its superview or a sibling placed
// before it. Leading and trailing are left and right (left-to-right text). An axis
// that its constraints do not size takes the view's intrinsic size when it has one.
// Left out: inequalities, priorities below required, content hugging and resistance,
// baselines, layout guides, a real solver for chains through unplaced views.
// Thread: main thread.

#include <memory>
#include <vector>

#include "CoreGraphics/CGGeometry.h"
#include "Runtime/Runtime.h"

class NSView;

enum class NSLayoutAttribute {
    left,
    right,
    top,
    bottom,
    leading,
    trailing,
    width,
    height,
    centerX,
    centerY
};

class NSLayoutConstraint : public NSObject {
  public:
    static std::shared_ptr<NSLayoutConstraint> make(const std::shared_ptr<NSView>& first,
                                                    NSLayoutAttribute a,
                                                    const std::shared_ptr<NSView>& second,
                                                    NSLayoutAttribute b, CGFloat multiplier = 1,
                                                    CGFloat constant = 0);
    // Activates all at once (the platform's activate(_:)).
    static void activate(const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints);
    static void deactivate(const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints);

    std::shared_ptr<NSView> firstItem() const { return first.lock(); }
    std::shared_ptr<NSView> secondItem() const { return second.lock(); }
    NSLayoutAttribute firstAttribute() const { return firstAttr; }
    NSLayoutAttribute secondAttribute() const { return secondAttr; }
    CGFloat multiplier() const { return factor; }
    CGFloat constant = 0;

    bool isActive() const { return active; }
    void setActive(bool active);

  protected:
    NSLayoutConstraint(std::weak_ptr<NSView> first, NSLayoutAttribute a,
                       std::weak_ptr<NSView> second, NSLayoutAttribute b, CGFloat multiplier,
                       CGFloat constant)
        : constant(constant), first(std::move(first)), second(std::move(second)), firstAttr(a),
          secondAttr(b), factor(multiplier) {}

  private:
    std::weak_ptr<NSView> first, second;
    NSLayoutAttribute firstAttr, secondAttr;
    CGFloat factor;
    bool active = false;
};

// One attribute of one view, from which constraints are made.
struct NSLayoutAnchor {
    std::weak_ptr<NSView> view;
    NSLayoutAttribute attribute;

    std::shared_ptr<NSLayoutConstraint> constraint(const NSLayoutAnchor& equalTo,
                                                   CGFloat constant = 0) const;
    // For size anchors: a fixed size.
    std::shared_ptr<NSLayoutConstraint> constraint(CGFloat equalToConstant) const;
    // For size anchors: a multiple of another size.
    std::shared_ptr<NSLayoutConstraint> constraint(const NSLayoutAnchor& equalTo,
                                                   CGFloat multiplier, CGFloat constant) const;
};
