#include "AppKit/NSLayoutConstraint.h"

#include <algorithm>
#include <optional>

#include "AppKit/NSView.h"

std::shared_ptr<NSLayoutConstraint> NSLayoutConstraint::make(const std::shared_ptr<NSView>& first,
                                                             NSLayoutAttribute a,
                                                             const std::shared_ptr<NSView>& second,
                                                             NSLayoutAttribute b,
                                                             CGFloat multiplier, CGFloat constant) {
    return ::make<NSLayoutConstraint>(first, a, second, b, multiplier, constant);
}

void NSLayoutConstraint::activate(
    const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints) {
    for (const auto& c : constraints)
        c->setActive(true);
}

void NSLayoutConstraint::deactivate(
    const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints) {
    for (const auto& c : constraints)
        c->setActive(false);
}

void NSLayoutConstraint::setActive(bool activate) {
    Runtime::assertMainThread("NSLayoutConstraint.isActive");
    auto view = first.lock();
    if (activate == active || !view)
        return;
    active = activate;
    auto self = sharedAs<NSLayoutConstraint>();
    auto& list = view->layoutConstraints;
    if (activate)
        list.push_back(self);
    else
        list.erase(std::remove(list.begin(), list.end(), self), list.end());
    // The superview places the first item; a constraint between a view and its
    // subview is solved by that view.
    for (auto v : {view, view->superview(), second.lock()})
        if (v)
            v->setNeedsLayout(true);
}

std::shared_ptr<NSLayoutConstraint> NSLayoutAnchor::constraint(const NSLayoutAnchor& other,
                                                               CGFloat constant) const {
    return ::make<NSLayoutConstraint>(view, attribute, other.view, other.attribute, 1.0, constant);
}

std::shared_ptr<NSLayoutConstraint> NSLayoutAnchor::constraint(CGFloat equalToConstant) const {
    return ::make<NSLayoutConstraint>(view, attribute, std::weak_ptr<NSView>(), attribute, 0.0,
                                      equalToConstant);
}

std::shared_ptr<NSLayoutConstraint> NSLayoutAnchor::constraint(const NSLayoutAnchor& other,
                                                               CGFloat multiplier,
                                                               CGFloat constant) const {
    return ::make<NSLayoutConstraint>(view, attribute, other.view, other.attribute, multiplier,
                                      constant);
}

namespace {

bool horizontal(NSLayoutAttribute a) {
    using A = NSLayoutAttribute;
    return a == A::left || a == A::right || a == A::leading || a == A::trailing || a == A::width ||
           a == A::centerX;
}

// What an attribute pins along its axis.
enum class Part { minEdge, maxEdge, center, size };

// In layout space y grows downwards, whatever the view's flipping: a top constant
// of +10 is 10 points lower on screen.
Part partOf(NSLayoutAttribute a) {
    using A = NSLayoutAttribute;
    switch (a) {
    case A::left:
    case A::leading:
    case A::top:
        return Part::minEdge;
    case A::right:
    case A::trailing:
    case A::bottom:
        return Part::maxEdge;
    case A::width:
    case A::height:
        return Part::size;
    case A::centerX:
    case A::centerY:
        return Part::center;
    }
    return Part::size;
}

// A rectangle of a view's coordinates in layout space, and back.
CGRect toLayout(const CGRect& r, bool flipped) {
    return flipped ? r : CGRect{r.minX(), -r.maxY(), r.width(), r.height()};
}
CGRect fromLayout(const CGRect& r, bool flipped) {
    return toLayout(r, flipped);
}

// The value of an attribute of a rectangle in layout space.
CGFloat valueOf(const CGRect& r, NSLayoutAttribute a) {
    bool h = horizontal(a);
    CGFloat lo = h ? r.minX() : r.minY(), size = h ? r.width() : r.height();
    switch (partOf(a)) {
    case Part::minEdge:
        return lo;
    case Part::maxEdge:
        return lo + size;
    case Part::center:
        return lo + size / 2;
    case Part::size:
        return size;
    }
    return 0;
}

struct Axis {
    std::optional<CGFloat> parts[4];
    // Origin and size from what is pinned; the intrinsic size (when there is one)
    // and then the current values fill the gaps.
    std::pair<CGFloat, CGFloat> solve(CGFloat origin, CGFloat size, CGFloat intrinsic) const {
        auto& [lo, hi, mid, len] = parts;
        if (!len && !(lo && hi) && !(lo && mid) && !(hi && mid) &&
            intrinsic != NSView::noIntrinsicMetric)
            size = intrinsic;
        else if (len)
            size = *len;
        else if (lo && hi)
            size = *hi - *lo;
        else if (lo && mid)
            size = 2 * (*mid - *lo);
        else if (hi && mid)
            size = 2 * (*hi - *mid);
        if (lo)
            origin = *lo;
        else if (hi)
            origin = *hi - size;
        else if (mid)
            origin = *mid - size / 2;
        return {origin, size};
    }
};

} // namespace

void NSView::layout() {
    // Every active constraint that involves one of the subviews, once.
    std::vector<std::shared_ptr<NSLayoutConstraint>> all = layoutConstraints;
    for (const auto& sub : subviews_)
        for (const auto& c : sub->layoutConstraints)
            all.push_back(c);
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());

    bool flipped = isFlipped();
    auto rectOf = [&](const std::shared_ptr<NSView>& v) {
        return toLayout(v.get() == this ? bounds_ : v->frame(), flipped);
    };
    for (const auto& sub : subviews_) {
        if (sub->translatesAutoresizingMaskIntoConstraints)
            continue;
        Axis x, y;
        for (const auto& c : all) {
            auto first = c->firstItem(), second = c->secondItem();
            // Normalise to sub.attribute = reference × m + constant.
            NSLayoutAttribute attribute, referenceAttribute;
            std::shared_ptr<NSView> reference;
            CGFloat m = c->multiplier(), k = c->constant;
            if (first == sub) {
                attribute = c->firstAttribute();
                reference = second;
                referenceAttribute = c->secondAttribute();
            } else if (second == sub && first && m != 0) {
                // first.a = sub.b × m + k  ⇒  sub.b = first.a / m − k / m
                attribute = c->secondAttribute();
                reference = first;
                referenceAttribute = c->firstAttribute();
                k = -k / m;
                m = 1 / m;
            } else {
                continue;
            }
            if (reference && reference.get() != this && reference->superview().get() != this)
                continue; // only the superview and siblings are placed here
            CGFloat value =
                k + (reference ? m * valueOf(rectOf(reference), referenceAttribute) : 0);
            Axis& axis = horizontal(attribute) ? x : y;
            axis.parts[int(partOf(attribute))] = value;
        }
        CGRect f = rectOf(sub);
        CGSize intrinsic = sub->intrinsicContentSize();
        auto [fx, fw] = x.solve(f.minX(), f.width(), intrinsic.width);
        auto [fy, fh] = y.solve(f.minY(), f.height(), intrinsic.height);
        CGRect placed = fromLayout({fx, fy, fw, fh}, flipped);
        if (!(placed == sub->frame()))
            sub->setFrame(placed);
    }
}
