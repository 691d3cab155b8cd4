#pragma once
// Views as values. A view is a value record; composing views builds a description
// that the view graph (ViewGraph.h) turns into a retained tree of nodes, lays out,
// draws and feeds with events.
//
// Writing a view: derive from View<Self> (which gives it the modifier members) and
// give it a body, with or without the context that hands out state and environment:
//
//     struct Badge : View<Badge> {
//         std::string title;
//         AnyView body(ViewContext& ctx) const {
//             State<bool> isPressed = ctx.state(false);
//             return Text(title).padding(4).background(Capsule().fill(Color::blue()))
//                 .opacity(*isPressed ? 0.8 : 1);
//         }
//     };
//
// Primitive views (text, images, shapes, stacks, modifiers) are written by this
// layer; AnyView erases the type of any view. Thread: main (views are built there).

#include <any>
#include <concepts>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <typeindex>
#include <utility>
#include <variant>
#include <vector>

#include "SwiftUI/Color.h"
#include "SwiftUI/Layout.h"

class CGContext;

namespace SwiftUI {

class AnyView;
class Node;
class ViewGraph;
class ViewContext;
class Gesture;
class AnyShape;
class Color;
template <class T> class Binding;
template <class T> class FocusState;
struct EnvironmentValues;
struct KeyPress;
enum class KeyPressResult;
enum class GestureMask;
enum class TextFieldStyle;
enum class ScrollEdgeEffectStyle;
enum class AlternatingRowBackgroundsBehavior;
enum class TextAlignment;
enum class TruncationMode;
enum class ColorScheme;

// Identity of a view among its siblings beyond its position: ForEach ids and .id(_:).
using ViewID = std::variant<std::monostate, int64_t, std::string>;
inline ViewID makeViewID(const std::string& s) {
    return s;
}
inline ViewID makeViewID(const char* s) {
    return std::string(s);
}
template <std::integral T> ViewID makeViewID(T v) {
    return int64_t(v);
}
template <class E>
requires std::is_enum_v<E> ViewID makeViewID(E v) {
    return int64_t(v);
}

namespace detail {

struct ViewTag {};
class Primitive;

// A view with the identity it has among its siblings.
struct KeyedView;

} // namespace detail

template <class V>
concept ViewLike = std::is_base_of_v<detail::ViewTag, std::remove_cvref_t<V>>;

namespace detail {
// The views a container is made of, not a copy of the container itself (a container
// passed as a non-const lvalue must be copied, not wrapped into itself for ever).
template <class Container, class... Vs>
concept ChildViews =
    !(sizeof...(Vs) == 1 && (std::is_same_v<std::remove_cvref_t<Vs>, Container> && ...));
} // namespace detail

// The modifier members every view has. Each returns a new view that wraps this one.
template <class Self> class View : public detail::ViewTag {
  public:
    // Layout
    AnyView frame(std::optional<CGFloat> width, std::optional<CGFloat> height,
                  Alignment alignment = Alignment::center()) const;
    AnyView frame(CGSize size, Alignment alignment = Alignment::center()) const;
    struct FrameLimits {
        std::optional<CGFloat> minWidth, idealWidth, maxWidth;
        std::optional<CGFloat> minHeight, idealHeight, maxHeight;
        Alignment alignment = Alignment::center();
    };
    // Flexible frame: .frame({.maxWidth = infinity, .alignment = Alignment::leading()})
    AnyView frame(const FrameLimits& limits) const;
    AnyView padding(CGFloat amount = 16) const;
    AnyView padding(Edge::Set edges, CGFloat amount = 16) const;
    AnyView padding(EdgeInsets insets) const;
    AnyView offset(CGFloat x, CGFloat y) const;
    AnyView offset(CGSize size) const;
    AnyView position(CGFloat x, CGFloat y) const;
    AnyView background(const AnyView& view, Alignment alignment = Alignment::center()) const;
    AnyView overlay(const AnyView& view, Alignment alignment = Alignment::center()) const;
    AnyView ignoresSafeArea() const;

    // Drawing
    AnyView foregroundColor(const ColorValue& color) const;
    AnyView foregroundStyle(const ColorValue& color) const;
    AnyView font(const Font& font) const;
    AnyView opacity(double alpha) const;
    AnyView clipShape(const AnyShape& shape) const;
    AnyView clipped() const;
    AnyView cornerRadius(CGFloat radius) const;
    AnyView scaleEffect(CGFloat scale, UnitPoint anchor = UnitPoint::center()) const;
    AnyView scaleEffect(CGSize scale, UnitPoint anchor = UnitPoint::center()) const;
    // Rotation in degrees, clockwise on screen.
    AnyView rotationEffect(double degrees, UnitPoint anchor = UnitPoint::center()) const;
    // A blurred copy of the content's silhouette in `color` (its alpha times the
    // colour's), offset by x, y points (y down), drawn under it (see Effects.h).
    AnyView shadow(const ColorValue& color, CGFloat radius, CGFloat x = 0, CGFloat y = 0) const;
    // The colour scheme the window showing the content should take.
    AnyView preferredColorScheme(ColorScheme scheme) const;

    // Interaction
    AnyView contentShape(const AnyShape& shape) const;
    AnyView allowsHitTesting(bool enabled) const;
    AnyView disabled(bool disabled) const;
    AnyView help(std::string text) const;
    AnyView gesture(const Gesture& gesture, GestureMask mask = GestureMask(3)) const;
    AnyView simultaneousGesture(const Gesture& gesture, GestureMask mask = GestureMask(3)) const;
    AnyView highPriorityGesture(const Gesture& gesture, GestureMask mask = GestureMask(3)) const;
    AnyView onTapGesture(std::function<void()> action) const;
    AnyView onTapGesture(int count, std::function<void()> action) const;
    AnyView coordinateSpace(std::string name) const;
    template <class ButtonStyleT> AnyView buttonStyle(const ButtonStyleT& style) const;
    AnyView accessibilityIdentifier(std::string identifier) const;
    AnyView accessibilityAddTraits(int traits) const;

    // Life cycle and changes
    AnyView onAppear(std::function<void()> action) const;
    AnyView onDisappear(std::function<void()> action) const;
    // Runs `action(old, new)` after an update in which `value` differs from the value
    // of the previous update (and once after the first, with `initial`).
    template <class T>
    requires std::equality_comparable<T>
        AnyView onChange(const T& value, bool initial,
                         std::type_identity_t<std::function<void(const T&, const T&)>> action)
    const;
    template <class T>
    requires std::equality_comparable<T>
        AnyView onChange(const T& value, std::function<void()> action, bool initial = false)
    const;

    // Environment and identity
    // Places `object` in the environment of the content, found by its type.
    template <class T> AnyView environment(std::shared_ptr<T> object) const;
    template <class T> AnyView environmentObject(std::shared_ptr<T> object) const;
    // Changes any environment value of the content.
    AnyView transformEnvironment(std::function<void(EnvironmentValues&)> change) const;
    template <class ID> AnyView id(const ID& identity) const;
    // Applies a view modifier: a value with `AnyView body(const AnyView& content) const`
    // (or with a ViewContext as second argument).
    template <class M> AnyView modifier(const M& modifier) const;

    // Focus and text input
    AnyView focused(const FocusState<bool>& state) const;
    AnyView onSubmit(std::function<void()> action) const;
    // Key presses of the focused view (and views it is inside) in the phases given
    // (a mask of KeyPress::Phase bits), before the view itself handles them.
    AnyView onKeyPress(int phases, std::function<KeyPressResult(const KeyPress&)> action) const;
    AnyView textFieldStyle(TextFieldStyle style) const;
    // Scroll views and lists inside (environment values, see Environment.h).
    AnyView scrollEdgeEffectStyle(ScrollEdgeEffectStyle style, Edge::Set edges) const;
    AnyView alternatingRowBackgrounds(AlternatingRowBackgroundsBehavior behavior) const;
    AnyView multilineTextAlignment(TextAlignment alignment) const;
    AnyView truncationMode(TruncationMode mode) const;
    AnyView allowsTightening(bool flag) const;
    AnyView lineLimit(std::optional<int> number) const;
    // Spaces the characters of text inside `points` further apart.
    AnyView tracking(CGFloat points) const;

  protected:
    const Self& self() const { return static_cast<const Self&>(*this); }
};

// Any view, its type erased. Copying shares the immutable description.
class AnyView : public View<AnyView> {
  public:
    AnyView();
    template <ViewLike V>
    requires(!std::is_same_v<std::remove_cvref_t<V>, AnyView>) AnyView(V&& view);
    explicit AnyView(std::shared_ptr<const detail::Primitive> primitive)
        : impl(std::move(primitive)) {}

    const detail::Primitive& primitive() const { return *impl; }
    std::type_index viewType() const;

  private:
    std::shared_ptr<const detail::Primitive> impl;
};

namespace detail {

struct KeyedView {
    ViewID id;
    AnyView view;
};

// The behaviour of a primitive view on its node: what children it has, how it
// sizes and places them, how it draws, which points hit it.
class Primitive {
  public:
    virtual ~Primitive() = default;
    virtual std::type_index viewType() const { return typeid(*this); }
    // Makes the node's children (ViewContext::setChildren) and sets up the node.
    virtual void build(Node& node, ViewContext& ctx) const {}
    // The views this one stands for in a list of siblings (ForEach gives many).
    virtual void expand(const AnyView& self, std::vector<KeyedView>& out) const {
        out.push_back({{}, self});
    }
    virtual CGSize sizeThatFits(Node& node, ProposedViewSize proposal) const;
    // Places the children inside the node's bounds (its size is set).
    virtual void placeChildren(Node& node, ProposedViewSize proposal) const;
    // Draws the node and its children; the context is in the node's local space.
    virtual void render(const Node& node, CGContext& context) const;
    // Whether the node's own content (not its children) covers a local point.
    virtual bool hitsContent(const Node& node, CGPoint local) const { return false; }
    // A spacer's minimum length along its stack's axis; none for other views.
    virtual std::optional<CGFloat> spacerMinLength() const { return std::nullopt; }
    // Whether this view, put where `previous` stood, would build what `previous` built,
    // so that its node keeps its subtree (see Composite).
    virtual bool rebuildsAs(const Primitive& previous) const { return false; }
    // Whether the node draws nothing of its own and hands its children's drawing
    // through as it is (a layout container): built again around children that stay
    // where they were, it changes no pixel. A view that overrides render() must not
    // answer true.
    virtual bool drawsOnlyItsChildren() const { return false; }
};

// A user view with a body: one child, the body's result. A view type that is equality
// comparable opts in to being skipped (as an equatable view): when its parent rebuilds
// it with a value equal to the one it was built from, in the same environment, and
// nothing it read has changed, its body is not run again and its subtree stays as it
// was. Its == may compare what the view shows rather than every member.
template <class V> class Composite final : public Primitive {
  public:
    explicit Composite(V v) : value(std::move(v)) {}
    std::type_index viewType() const override { return typeid(V); }
    void build(Node& node, ViewContext& ctx) const override;
    bool drawsOnlyItsChildren() const override { return true; }
    bool rebuildsAs(const Primitive& previous) const override {
        if constexpr (std::equality_comparable<V>) {
            const auto* before = dynamic_cast<const Composite*>(&previous);
            return before && before->value == value;
        } else {
            return false;
        }
    }
    const V value;
};

template <class V> AnyView makeBody(const V& value, ViewContext& ctx) {
    if constexpr (requires { value.body(ctx); })
        return AnyView(value.body(ctx));
    else
        return AnyView(value.body());
}

} // namespace detail

template <ViewLike V>
requires(!std::is_same_v<std::remove_cvref_t<V>, AnyView>) AnyView::AnyView(V&& view) {
    using T = std::remove_cvref_t<V>;
    if constexpr (std::is_base_of_v<detail::Primitive, T>)
        impl = std::make_shared<const T>(std::forward<V>(view));
    else
        impl = std::make_shared<const detail::Composite<T>>(std::forward<V>(view));
}

// Nothing: takes no space, draws nothing.
class EmptyView : public View<EmptyView>, public detail::Primitive {
  public:
    void expand(const AnyView&, std::vector<detail::KeyedView>&) const override {}
    CGSize sizeThatFits(Node&, ProposedViewSize) const override { return {}; }
};

} // namespace SwiftUI
