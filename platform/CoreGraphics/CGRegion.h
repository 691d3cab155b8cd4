#pragma once
// A region of a drawing surface as a short list of rectangles whose union it is: what a
// window has to redraw. Adding a rectangle that overlaps or touches one already held
// merges the two into their bounding box (again, until none overlap), so the list stays
// short and its rectangles disjoint; past `maxRects` rectangles the region becomes its
// bounding box. Coordinates are the caller's (a window's points).
// Thread: a value; any thread, one at a time.

#include <vector>

#include "CoreGraphics/CGGeometry.h"

class CGRegion {
  public:
    static constexpr size_t maxRects = 8;

    CGRegion() = default;
    explicit CGRegion(const CGRect& rect) { add(rect); }

    // Adds a rectangle (empty and null ones add nothing).
    void add(const CGRect& rect);
    void add(const CGRegion& region) {
        for (const CGRect& r : region.rects_)
            add(r);
    }
    void clear() { rects_.clear(); }

    bool isEmpty() const { return rects_.empty(); }
    // Disjoint rectangles, in no particular order.
    const std::vector<CGRect>& rects() const { return rects_; }
    // The bounding box; null when empty.
    CGRect bounds() const;
    // Whether some part of `rect` lies in the region.
    bool intersects(const CGRect& rect) const;
    // Whether `rect` lies wholly inside one of the region's rectangles.
    bool contains(const CGRect& rect) const;
    // Each rectangle grown outwards to whole multiples of `1 / scale` (device pixels of a
    // surface whose pixel grid starts at the origin), merged again where they now meet.
    CGRegion alignedToPixels(CGFloat scale) const;

    friend bool operator==(const CGRegion&, const CGRegion&) = default;

  private:
    std::vector<CGRect> rects_;
};
