#pragma once
// Controls: the button with its styles, and the single-line text field.
// Thread: main.

#include <functional>
#include <memory>
#include <string>

#include "SwiftUI/Environment.h"
#include "SwiftUI/State.h"
#include "SwiftUI/View.h"

namespace SwiftUI {

// What a button style draws from: the button's label and whether it is held down.
struct ButtonStyleConfiguration {
    AnyView label;
    bool isPressed = false;
};

namespace detail {
class AnyButtonStyle {
  public:
    virtual ~AnyButtonStyle() = default;
    virtual AnyView makeBody(const ButtonStyleConfiguration& configuration,
                             ViewContext& ctx) const = 0;
};

// A style is any value with makeBody(configuration) (or makeBody(configuration, ctx)
// when it reads the environment).
template <class S> class ButtonStyleBox final : public AnyButtonStyle {
  public:
    explicit ButtonStyleBox(S s) : style(std::move(s)) {}
    AnyView makeBody(const ButtonStyleConfiguration& configuration,
                     ViewContext& ctx) const override {
        if constexpr (requires { style.makeBody(configuration, ctx); })
            return AnyView(style.makeBody(configuration, ctx));
        else
            return AnyView(style.makeBody(configuration));
    }
    S style;
};
} // namespace detail

// The label as it is.
struct PlainButtonStyle {
    AnyView makeBody(const ButtonStyleConfiguration& configuration) const {
        return configuration.label;
    }
};

// A press on the label that counts when released over the button. Pressed while the
// pointer is down over it; drawn by the environment's button style (plain when none).
class Button : public View<Button>, public detail::Primitive {
  public:
    template <ViewLike L>
    Button(std::function<void()> action, L&& label)
        : action(std::move(action)), label(AnyView(std::forward<L>(label))) {}
    Button(const std::string& title, std::function<void()> action);

    void build(Node& node, ViewContext& ctx) const override;

  private:
    std::function<void()> action;
    AnyView label;
};

// A single-line text field editing a string binding. It takes the width it is offered.
// A click focuses it (its text is then selected, so typing replaces it); Return runs
// the submit actions around it; keys first go to the key handlers around it; a click
// elsewhere, or the hosting view losing the keyboard, ends the focus.
class TextField : public View<TextField>, public detail::Primitive {
  public:
    TextField(std::string placeholder, Binding<std::string> text)
        : placeholder(std::move(placeholder)), text(std::move(text)) {}

    void build(Node& node, ViewContext& ctx) const override;
    CGSize sizeThatFits(Node& node, ProposedViewSize proposal) const override;
    void render(const Node& node, CGContext& context) const override;
    bool hitsContent(const Node& node, CGPoint local) const override { return true; }

    // The text field's edit operations (the graph calls them for the focused field).
    bool handleKey(Node& node, const struct KeyPress& press, bool& selectAll) const;
    const Binding<std::string>& binding() const { return text; }

  private:
    std::string placeholder;
    Binding<std::string> text;
};

} // namespace SwiftUI
