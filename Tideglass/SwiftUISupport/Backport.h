#pragma once
// View modifiers whose form depends on the running system version (the library runs
// on 14.0 and later; some modifiers change at 26), so that views call one name on
// every supported system:
//
//     backport(content).onEscapePressed([] { ... })
//
// The version is tested each time a modifier's view is built; the result is one of
// two branches, the version-dependent one type-erased.
// Thread: main (views are built there).

#include <functional>

#include "SwiftUI/SwiftUI.h"

// The system version from which the newer branches are taken.
inline constexpr int backportModernMajorVersion = 26;

struct Backport {
    SwiftUI::AnyView content;

    // Escape pressed (down or repeat) while a view inside has the keyboard: runs the
    // action and takes the key; any other key is left to other handlers.
    SwiftUI::AnyView onEscapePressed(std::function<void()> action) const;
    // From 26: the soft scroll edge effect on every edge; before: the content as it is.
    SwiftUI::AnyView removeScrollViewEdgeEffect() const;
    // Before 26: framed to `width` (height free, centred); from 26: unchanged.
    SwiftUI::AnyView setWidthPreTahoe(CGFloat width) const;
    SwiftUI::AnyView alternatingRowBackgrounds(bool enabled) const;
    // A centred background of the colour, scaled by 1.5 about its centre.
    SwiftUI::AnyView popoverBackground(const SwiftUI::Color& color) const;
};

// Every view's `backport`.
inline Backport backport(SwiftUI::AnyView content) {
    return Backport{std::move(content)};
}
