#pragma once
// One vertical segmented level meter with a peak-hold segment, fed with a level and
// a held peak on a 0...100 scale (0 = -60 dB or below, 100 = 0 dB). Segment r counts
// from the bottom (r = 0); the lit bar covers the integer part of value/100 · n
// segments, the hold mark lights segment hold - 1 when it lies at or above the bar;
// lit segments among the top four take the limit colour. Stateless: it is rebuilt
// when what it shows changes. Two meters compare equal when they show the same
// segments (levels that differ within a segment look alike), so the editor's 60 Hz
// tick rebuilds a meter only when its bar or hold mark moves. Thread: main.

#include "SwiftUI/SwiftUI.h"

struct MeterView : SwiftUI::View<MeterView> {
    enum class SegmentColor { filled, limit, unfilled };

    MeterView(double value, double holdValue, int segments, bool isMono, CGFloat segmentHeight,
              CGFloat segmentSpacing)
        : value(value), holdValue(holdValue), segments(segments), isMono(isMono),
          segmentHeight(segmentHeight), segmentSpacing(segmentSpacing) {}

    // The colour of segment r (0 = bottom) of an n-segment meter. Levels that are
    // not finite show as 0.
    static SegmentColor segmentColor(int r, double value, double holdValue, int n);
    // 11 points for a single meter, 5 for each of a stereo pair.
    CGFloat segmentWidth() const { return isMono ? 11 : 5; }

    SwiftUI::AnyView body() const;

    // Same geometry, lit bar and hold mark.
    friend bool operator==(const MeterView& a, const MeterView& b);

    double value;
    double holdValue;
    int segments;
    bool isMono;
    CGFloat segmentHeight;
    CGFloat segmentSpacing;
};
