#pragma once
// How a dial's title fits inside its knob's cap, and where a dial puts the parts of
// its label.
//
// fitTitle finds the largest size, at most the label's title size, at which the
// title stays inside a circle around the centre of its capitals: broken at a space
// into two lines whenever these reach the label's size (words on one line would run
// together at such sizes), else on one line when that is larger. Titles are upper
// case, so a line's ink is its width by the height of capitals. Unhinted text grows in
// proportion to its size, so the size is solved, not searched: a line w·s wide whose
// capitals reach h·s/2 above or below the centre fits while
//     (w·s / 2)² + (h·s / 2)² ≤ r²,
// h being the capital height c for one line and c + g for two, g the baseline gap.
// Thread: main (text is measured).

#include "CoreGraphics/CGGeometry.h"

#include <string>
#include <vector>

// The circle of a dial's cap that its title must keep within, and the bands of its
// label: the title's row (kept when the title is hidden, so the value stays put) and
// the gap above the value row. A dial centres the title row on the knob and hangs the
// value row below the ring.
struct DialLabelFit {
    CGFloat titleRadius;
    CGFloat titleBand;
    CGFloat spacing;
};

struct TitleFit {
    std::vector<std::string> lines; // one or two
    CGFloat size = 0;               // points
    CGFloat lineGap = 0;            // baseline to baseline, points (two lines)
};

// Baseline gap of a two-line title, in capital heights.
inline constexpr CGFloat titleLineGap = 1.4;
// No title is drawn smaller than this; a title that does not fit even so is drawn at it.
inline constexpr CGFloat smallestTitleSize = 6;

TitleFit fitTitle(const std::string& title, const std::string& fontName, CGFloat largestSize,
                  CGFloat radius);
