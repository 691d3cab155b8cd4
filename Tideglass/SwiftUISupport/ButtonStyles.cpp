#include "SwiftUISupport/ButtonStyles.h"

#include "Styles/TideglassResources.h"

using namespace SwiftUI;

namespace {

// Steps 3 to 5 that both styles share: 24 points high, the artwork behind, and the
// layout 4 points narrower than the artwork (−2 on each horizontal edge).
AnyView onButtonArtwork(const AnyView& styledLabel, bool isPressed) {
    const Image& art = isPressed ? TGImages::tguiButtonDown() : TGImages::tguiButton();
    return styledLabel.frame(std::nullopt, 24, Alignment::center())
        .background(art.resizable(), Alignment::center())
        .padding(Edge::horizontal, -2);
}

// The control text colour ("Grey 85%"), "Grey 50%" while pressed.
ColorValue textColor(bool isPressed) {
    return isPressed ? TGColors::grey50() : TGColors::grey85();
}

} // namespace

AnyView DefaultQuarroButtonStyle::makeBody(const ButtonStyleConfiguration& configuration,
                                           ViewContext& ctx) const {
    bool isEnabled = ctx.environmentValues().isEnabled;
    ColorValue color = textColor(configuration.isPressed);
    if (!isEnabled)
        color = color.withOpacity(0.5);
    return onButtonArtwork(
        configuration.label.font(Font::system(11, Font::Weight::regular)).foregroundColor(color),
        configuration.isPressed);
}

AnyView KorvaneButtonStyle::makeBody(const ButtonStyleConfiguration& configuration) const {
    return onButtonArtwork(
        configuration.label.font(Font::system(12, Font::Weight::bold, Font::Design::rounded))
            .foregroundColor(textColor(configuration.isPressed)),
        configuration.isPressed);
}
