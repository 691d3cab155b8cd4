// The button and the text field, and the tracking of observable reads in bodies.

#include <cmath>

#include "CoreGraphics/CGContext.h"
#include "Dispatch/Dispatch.h"
#include "Observation/Observation.h"
#include "SwiftUI/Menu.h"
#include "SwiftUI/Modifiers.h"
#include "SwiftUI/Views.h"

namespace SwiftUI {

namespace detail {

Gesture makeButtonGesture(std::function<void()> action, State<bool> isPressed);
CGColor foreground(const Node& node);
CGFont fontOf(const Node& node);
CGTextOptions textOptions(const Node& node);

void trackBody(Node& node, const std::function<void()>& body) {
    std::weak_ptr<Node> weak = node.weak_from_this();
    node.trackings.push_back(withObservationTracking(body, [weak] {
        // Changes may be written on any thread; the tree is marked on the main one,
        // and rebuilt on a later turn of its run loop.
        auto mark = [weak] {
            if (auto n = weak.lock())
                n->graph.invalidate(*n);
        };
        if (Runtime::isMainThread())
            mark();
        else
            DispatchQueue::main().async(mark);
    }));
}

} // namespace detail

// ---- Button

Button::Button(const std::string& title, std::function<void()> action)
    : action(std::move(action)), label(Text(title)) {}

// A label drawn by the environment's button style that acts on a click.
static void buildPressable(Node& node, ViewContext& ctx, const AnyView& label,
                           std::function<void()> action) {
    State<bool> isPressed = ctx.state(false);
    static const auto plain =
        std::make_shared<const detail::ButtonStyleBox<PlainButtonStyle>>(PlainButtonStyle{});
    auto style = node.environment.buttonStyle ? node.environment.buttonStyle : plain;
    AnyView body;
    detail::trackBody(node, [&] { body = style->makeBody({label, *isPressed}, ctx); });
    if (node.isEnabled())
        node.gestures.push_back({detail::makeButtonGesture(std::move(action), isPressed),
                                 Node::GestureAttachment::Kind::exclusive});
    ctx.setChildren({body});
}

void Button::build(Node& node, ViewContext& ctx) const {
    buildPressable(node, ctx, label, action);
}

// ---- TextField

static constexpr CGFloat fieldInsetX = 4, fieldInsetY = 3;

void TextField::build(Node& node, ViewContext& ctx) const {
    // Focus follows the bound focus state once the update is done.
    if (auto binding = node.environment.focusBinding) {
        std::weak_ptr<Node> weak = node.weak_from_this();
        node.graph.enqueueAfterUpdate([weak, binding] {
            auto n = weak.lock();
            if (!n || !n->attached)
                return;
            bool isFocused = n->graph.focusedNode() == n;
            if (binding->get() && !isFocused)
                n->graph.focus(*n);
            else if (!binding->get() && isFocused)
                n->graph.unfocus();
        });
    }
}

CGSize TextField::sizeThatFits(Node& node, ProposedViewSize proposal) const {
    CGFont font = detail::fontOf(node);
    CGSize measured = CGTextMeasure(text.get().empty() ? placeholder : text.get(), font);
    CGFloat natural = std::max<CGFloat>(measured.width, 40) + 2 * fieldInsetX;
    CGFloat width = proposal.width.value_or(natural);
    if (std::isinf(width))
        width = natural;
    return {width, font.lineHeight() + 2 * fieldInsetY};
}

void TextField::render(const Node& node, CGContext& context) const {
    CGRect bounds = node.bounds();
    bool focused = node.graph.focusedNode().get() == &node;
    if (node.environment.textFieldStyle == TextFieldStyle::roundedBorder) {
        context.setFillColor(CGColor::rgb(0.12, 0.12, 0.12));
        context.fillPath(CGPath::roundedRect(bounds, 4, 4));
        context.setStrokeColor(focused ? CGColor::rgb(0.25, 0.5, 1) : CGColor::gray(0.4));
        context.setLineWidth(1);
        context.strokePath(CGPath::roundedRect(bounds.insetBy(0.5, 0.5), 4, 4));
    }
    CGFont font = detail::fontOf(node);
    const std::string& value = text.get();
    CGTextOptions options = detail::textOptions(node);
    options.width = std::max<CGFloat>(0, bounds.width() - 2 * fieldInsetX);
    options.maximumLines = 1;
    CGRect inner{fieldInsetX, (bounds.height() - font.lineHeight()) / 2, *options.width,
                 font.lineHeight()};
    if (value.empty())
        context.drawText(placeholder, font, CGColor::gray(0.5), inner, options);
    else
        context.drawText(value, font, detail::foreground(node), inner, options);
}

// Removes the last UTF-8 character.
static void dropLast(std::string& s) {
    while (!s.empty()) {
        unsigned char c = s.back();
        s.pop_back();
        if ((c & 0xC0) != 0x80)
            break;
    }
}

bool TextField::handleKey(Node& node, const KeyPress& press, bool& selectAll) const {
    if (press.phase == KeyPress::up)
        return false;
    if (press.key == KeyEquivalent::returnKey) {
        for (const auto& action : node.environment.submitActions)
            action();
        return true;
    }
    if (press.key == KeyEquivalent::escape || press.key == KeyEquivalent::tab)
        return false;
    std::string value = text.get();
    if (press.key == KeyEquivalent::deleteKey) {
        if (selectAll)
            value.clear();
        else
            dropLast(value);
    } else {
        if (press.modifiers & (EventModifiers::command | EventModifiers::control))
            return false;
        bool printable = !press.characters.empty() &&
                         static_cast<unsigned char>(press.characters[0]) >= 0x20 &&
                         press.characters[0] != 0x7f;
        if (!printable)
            return false;
        value = selectAll ? press.characters : value + press.characters;
    }
    selectAll = false;
    text.set(value);
    return true;
}

} // namespace SwiftUI

// ---- Menu

namespace SwiftUI {

void Menu::build(Node& node, ViewContext& ctx) const {
    std::weak_ptr<Node> weak = node.weak_from_this();
    auto content = items;
    buildPressable(node, ctx, label, [weak, content] {
        if (auto n = weak.lock())
            n->graph.presentMenu(content, n->frameInRoot());
    });
}

Image::Image(const ImageResource& resource) : Image(resource.name, resource.bundle) {}
Color::Color(const ColorResource& resource) : Color(ColorValue(resource.name, resource.bundle)) {}

void ViewGraph::presentMenu(std::vector<MenuItem> items, CGRect anchor) {
    menu = std::make_shared<std::vector<MenuItem>>(std::move(items));
    if (menuPresenter)
        menuPresenter(*menu, anchor);
}

const std::vector<MenuItem>* ViewGraph::presentedMenu() const {
    return menu.get();
}

void ViewGraph::dismissMenu() {
    menu.reset();
}

bool ViewGraph::chooseMenuItem(const std::vector<std::string>& path) {
    Runtime::assertMainThread("ViewGraph::chooseMenuItem");
    if (!menu || path.empty())
        return false;
    auto shown = menu; // keeps the items alive while the action runs
    const std::vector<MenuItem>* level = shown.get();
    for (size_t i = 0; i < path.size(); ++i) {
        const MenuItem* found = nullptr;
        for (const auto& item : *level)
            if (item.kind != MenuItem::Kind::divider && item.title == path[i])
                found = &item;
        if (!found)
            return false;
        if (i + 1 < path.size()) {
            level = &found->items;
            continue;
        }
        if (found->kind != MenuItem::Kind::button)
            return false;
        menu.reset();
        if (found->action)
            found->action();
        return true;
    }
    return false;
}

} // namespace SwiftUI
