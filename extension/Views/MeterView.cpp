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
} // namespace

MeterView::SegmentColor MeterView::segmentColor(int r, double value, double holdValue, int n) {
    const int lit = litCount(value, n);
    const int hold = litCount(holdValue, n);
    const bool isHold = hold >= 1 && r == hold - 1 && r >= lit;
    if (r >= lit && !isHold)
        return SegmentColor::unfilled;
    return r >= n - 4 ? SegmentColor::limit : SegmentColor::filled;
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
