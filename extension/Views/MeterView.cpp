#include "Views/MeterView.h"

#include "Views/EmberfallAssets.h"

#include <algorithm>
#include <cmath>

using namespace SwiftUI;

namespace {
// The integer part of level/100 · n, within 0...n.
int litCount(double level, int n) {
    if (!std::isfinite(level))
        return 0;
    return static_cast<int>(std::clamp(std::trunc(level / 100.0 * n), 0.0, double(n)));
}

// The segment the hold mark lights (hold - 1, when at or above the lit bar), or -1.
int holdSegment(double holdValue, int lit, int n) {
    const int hold = litCount(holdValue, n);
    return hold >= 1 && hold - 1 >= lit ? hold - 1 : -1;
}
} // namespace

MeterView::SegmentColor MeterView::segmentColor(int r, double value, double holdValue, int n) {
    const int lit = litCount(value, n);
    if (r >= lit && r != holdSegment(holdValue, lit, n))
        return SegmentColor::unfilled;
    return r >= n - 4 ? SegmentColor::limit : SegmentColor::filled;
}

namespace {
// What a meter lights: the segments below `top`, and the hold mark above them (or -1).
// A mark just on top of the bar looks like one more lit segment.
struct Lit {
    int top;
    int mark;
    bool operator==(const Lit&) const = default;
};
Lit lit(const MeterView& m) {
    Lit l{litCount(m.value, m.segments), -1};
    l.mark = holdSegment(m.holdValue, l.top, m.segments);
    if (l.mark == l.top)
        l = {l.top + 1, -1};
    return l;
}
} // namespace

bool operator==(const MeterView& a, const MeterView& b) {
    return a.segments == b.segments && a.isMono == b.isMono && a.segmentHeight == b.segmentHeight &&
           a.segmentSpacing == b.segmentSpacing && lit(a) == lit(b);
}

AnyView MeterView::body() const {
    std::vector<AnyView> column;
    column.reserve(std::max(segments, 0));
    for (int i = 0; i < segments; ++i) {
        const int r = segments - 1 - i; // top to bottom
        const ColorResource* colour = &EmberfallAssets::meterUnfilled();
        switch (segmentColor(r, value, holdValue, segments)) {
        case SegmentColor::filled:
            colour = &EmberfallAssets::meterFilled();
            break;
        case SegmentColor::limit:
            colour = &EmberfallAssets::meterLimit();
            break;
        case SegmentColor::unfilled:
            break;
        }
        column.push_back(Rectangle().fill(Color(*colour)).frame(segmentWidth(), segmentHeight));
    }
    return VStack(HorizontalAlignment::center(), segmentSpacing, std::move(column));
}
