#pragma once
// The editor's root view. It draws the whole editor on a fixed 472 × 672 canvas,
// scaled by min(width / 472, height / 672) about its top-left corner to the space it
// is given, so the editor keeps its proportions and never lays out at another size.
// Back to front: the background, the header (logo, preset box with its menu,
// previous/next, update notice or version), the meters around the delay/feedback
// pad, the two rows of dials and the row of mode buttons. It finds Settings in the
// environment and keeps no state of its own: every part reads what it shows while it
// is built, so a change rebuilds only the part that read it.
// Thread: main.

#include "SwiftUI/SwiftUI.h"

#include <vector>

class Settings;

struct MainView : SwiftUI::View<MainView> {
    static constexpr CGSize canvasSize{472, 672};
    // The scale of the canvas for a proposed size.
    static CGFloat scale(CGSize proposed);
    // The preset menu's items: Default, a divider, one submenu per style, a divider
    // and the link to the maker's other plug-ins; the current preset and its style
    // carry the check mark.
    static std::vector<SwiftUI::MenuItem> presetMenu(const std::shared_ptr<Settings>& settings);

    SwiftUI::AnyView body(SwiftUI::ViewContext& ctx) const;
};
