#pragma once
// What a view graph draws, for the tests of the library's declarative components.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CoreGraphics/CGContext.h"
#include "SwiftUI/SwiftUI.h"

namespace TestDrawing {

inline std::vector<CGDisplayItem> draw(SwiftUI::ViewGraph& graph) {
    auto context = CGContext::makeBitmap(
        graph.size(), {.origin = CGContext::Origin::topLeft, .recordsDisplayList = true});
    graph.render(*context);
    return context->displayList();
}

// The first text run with this content.
inline std::optional<CGDisplayItem> text(const std::vector<CGDisplayItem>& items,
                                         const std::string& content) {
    for (const auto& item : items)
        if (item.kind == CGDisplayItem::Kind::text && item.text == content)
            return item;
    return std::nullopt;
}

// The images drawn, by name, in drawing order.
inline std::vector<CGDisplayItem> images(const std::vector<CGDisplayItem>& items) {
    std::vector<CGDisplayItem> out;
    for (const auto& item : items)
        if (item.kind == CGDisplayItem::Kind::image)
            out.push_back(item);
    return out;
}

// A click (down and up) at a point of the hosting view.
inline void click(SwiftUI::ViewGraph& graph, CGPoint at) {
    graph.pointer({SwiftUI::PointerEvent::Phase::down, at});
    graph.pointer({SwiftUI::PointerEvent::Phase::up, at});
}

} // namespace TestDrawing
