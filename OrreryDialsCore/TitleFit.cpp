#include "TitleFit.h"

#include "CoreGraphics/CGFont.h"
#include "SwiftUI/SwiftUI.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Widths and heights are measured once at this size and scaled.
constexpr CGFloat referenceSize = 100;

CGFloat quarterPointsBelow(CGFloat size) {
    return std::floor(size * 4) / 4;
}

} // namespace

TitleFit fitTitle(const std::string& title, const std::string& fontName, CGFloat largestSize,
                  CGFloat radius) {
    const CGFont font = SwiftUI::Font::custom(fontName, referenceSize).resolve();
    const CGFloat cap = font.capHeight() / referenceSize;
    auto width = [&](const std::string& text) {
        return CGTextMeasure(text, font).width / referenceSize;
    };
    // s = r / √((w/2)² + (h/2)²), with w and h per point of size.
    auto largestFor = [&](CGFloat w, CGFloat h) {
        return radius / std::max<CGFloat>(std::hypot(w / 2, h / 2), 1e-6);
    };

    TitleFit one{{title}, quarterPointsBelow(largestFor(width(title), cap)), 0};
    std::optional<TitleFit> two;
    for (std::size_t space = title.find(' '); space != std::string::npos;
         space = title.find(' ', space + 1)) {
        const std::string first = title.substr(0, space), second = title.substr(space + 1);
        if (first.empty() || second.empty())
            continue;
        const CGFloat size = quarterPointsBelow(
            largestFor(std::max(width(first), width(second)), cap * (1 + titleLineGap)));
        if (!two || size > two->size)
            two = TitleFit{{first, second}, size, 0};
    }
    // Words take a line each wherever they reach the label's size so: at a cap's sizes
    // a word space is hardly wider than the gap between two capitals, and on one line
    // the words would read as one. Otherwise the larger of the two.
    TitleFit best = one;
    if (two && (two->size >= largestSize || (two->size > one.size && one.size < largestSize)))
        best = *two;
    best.size = std::clamp(best.size, std::min(smallestTitleSize, largestSize), largestSize);
    if (best.lines.size() == 2)
        best.lineGap = cap * titleLineGap * best.size;
    return best;
}
