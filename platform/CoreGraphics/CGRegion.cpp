#include "CoreGraphics/CGRegion.h"

#include <cmath>

namespace {
// Overlapping or sharing an edge: merging such rectangles costs no extra area.
bool meets(const CGRect& a, const CGRect& b) {
    return a.minX() <= b.maxX() && b.minX() <= a.maxX() && a.minY() <= b.maxY() &&
           b.minY() <= a.maxY();
}
} // namespace

void CGRegion::add(const CGRect& rect) {
    if (rect.isEmpty())
        return;
    CGRect merged = rect.standardized();
    // Absorb every rectangle the growing one meets, until it meets none.
    for (bool grew = true; grew;) {
        grew = false;
        for (size_t i = 0; i < rects_.size(); ++i) {
            if (meets(rects_[i], merged)) {
                merged = merged.unionWith(rects_[i]);
                rects_.erase(rects_.begin() + std::ptrdiff_t(i));
                grew = true;
                break;
            }
        }
    }
    rects_.push_back(merged);
    if (rects_.size() > maxRects) {
        CGRect all = bounds();
        rects_.assign(1, all);
    }
}

CGRect CGRegion::bounds() const {
    CGRect all = CGRect::null();
    for (const CGRect& r : rects_)
        all = all.unionWith(r);
    return all;
}

bool CGRegion::intersects(const CGRect& rect) const {
    for (const CGRect& r : rects_)
        if (r.intersects(rect))
            return true;
    return false;
}

bool CGRegion::contains(const CGRect& rect) const {
    for (const CGRect& r : rects_)
        if (r.contains(rect))
            return true;
    return false;
}

CGRegion CGRegion::alignedToPixels(CGFloat scale) const {
    CGRegion aligned;
    // A hair of tolerance keeps exact edges from growing by a whole pixel.
    constexpr CGFloat slack = 1e-6;
    for (const CGRect& r : rects_) {
        CGFloat x0 = std::floor(r.minX() * scale + slack),
                y0 = std::floor(r.minY() * scale + slack);
        CGFloat x1 = std::ceil(r.maxX() * scale - slack), y1 = std::ceil(r.maxY() * scale - slack);
        aligned.add(CGRect{x0 / scale, y0 / scale, (x1 - x0) / scale, (y1 - y0) / scale});
    }
    return aligned;
}
