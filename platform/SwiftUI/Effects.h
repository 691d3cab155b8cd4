#pragma once
// Drawing effects of the declarative views: shadows and the preferred colour scheme.
// - shadow(color, radius, x, y): the content is drawn once more, off screen, to take its
//   silhouette, which is blurred (three box passes approximating a Gaussian of standard
//   deviation radius / 2), filled with the colour and drawn at the offset before the
//   content. The blurred image is kept until the content is rebuilt or the size or
//   scale changes, so a still shadow costs one image per frame.
// - preferredColorScheme(scheme): the content and what is inside it see the scheme; the
//   scene that shows it gives its window the matching appearance.
// Thread: main.

#include <memory>

#include "SwiftUI/Modifiers.h"

namespace SwiftUI {
namespace detail {

class ShadowModifier final : public Modifier {
  public:
    ShadowModifier(AnyView c, ColorValue color, CGFloat radius, CGFloat x, CGFloat y)
        : Modifier(std::move(c)), color(std::move(color)), radius(radius), x(x), y(y) {}
    void build(Node& node, ViewContext& ctx) const override;
    void render(const Node& node, CGContext& context) const override;
    ColorValue color;
    CGFloat radius, x, y;
};

class PreferredColorSchemeModifier final : public Modifier {
  public:
    PreferredColorSchemeModifier(AnyView c, ColorScheme s) : Modifier(std::move(c)), scheme(s) {}
    void build(Node& node, ViewContext& ctx) const override;
    ColorScheme scheme;
};

// The scheme preferred by the first such modifier in the tree (depth first).
std::optional<ColorScheme> preferredColorScheme(const Node& root);

} // namespace detail

template <class S>
AnyView View<S>::shadow(const ColorValue& color, CGFloat radius, CGFloat x, CGFloat y) const {
    return detail::wrap<detail::ShadowModifier>(AnyView(self()), color, radius, x, y);
}
template <class S> AnyView View<S>::preferredColorScheme(ColorScheme scheme) const {
    return detail::wrap<detail::PreferredColorSchemeModifier>(AnyView(self()), scheme);
}

} // namespace SwiftUI
