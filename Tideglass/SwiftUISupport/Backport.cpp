#include "SwiftUISupport/Backport.h"

#include "Foundation/ProcessInfo.h"

using namespace SwiftUI;

namespace {

// Chooses its branch for the running system each time it is built.
struct VersionDependent : View<VersionDependent> {
    AnyView content;
    std::function<AnyView(const AnyView&)> modern, older;
    AnyView body() const {
        bool isModern =
            ProcessInfo::processInfo().isOperatingSystemAtLeast({backportModernMajorVersion, 0, 0});
        return isModern ? modern(content) : older(content);
    }
};

AnyView unchanged(const AnyView& content) {
    return content;
}

} // namespace

AnyView Backport::onEscapePressed(std::function<void()> action) const {
    return content.onKeyPress(KeyPress::down | KeyPress::repeat, [action](const KeyPress& press) {
        if (press.key != KeyEquivalent::escape)
            return KeyPressResult::ignored;
        action();
        return KeyPressResult::handled;
    });
}

AnyView Backport::removeScrollViewEdgeEffect() const {
    return VersionDependent{{},
                            content,
                            [](const AnyView& c) {
                                return c.scrollEdgeEffectStyle(ScrollEdgeEffectStyle::soft,
                                                               Edge::all);
                            },
                            unchanged};
}

AnyView Backport::setWidthPreTahoe(CGFloat width) const {
    return VersionDependent{{}, content, unchanged, [width](const AnyView& c) {
                                return c.frame(width, std::nullopt, Alignment::center());
                            }};
}

AnyView Backport::alternatingRowBackgrounds(bool enabled) const {
    return content.alternatingRowBackgrounds(enabled ? AlternatingRowBackgroundsBehavior::enabled
                                                     : AlternatingRowBackgroundsBehavior::disabled);
}

AnyView Backport::popoverBackground(const Color& color) const {
    return content.background(color.scaleEffect(1.5), Alignment::center());
}
