#pragma once
// The modifier views (each wraps its content in one node) and the View members that
// make them. Thread: main.

#include <functional>
#include <memory>
#include <optional>

#include "SwiftUI/Controls.h"
#include "SwiftUI/Shapes.h"
#include "SwiftUI/ViewGraph.h"

namespace SwiftUI {

struct AccessibilityTraits {
    enum : int { isButton = 1, isHeader = 2, isImage = 4, isSelected = 8 };
};

namespace detail {

// One content child that fills the modifier's bounds.
class Modifier : public Primitive {
  public:
    explicit Modifier(AnyView content) : content(std::move(content)) {}
    void build(Node& node, ViewContext& ctx) const override { ctx.setChildren({content}); }
    AnyView content;
};

class FrameModifier final : public Modifier {
  public:
    FrameModifier(AnyView c, std::optional<CGFloat> w, std::optional<CGFloat> h, Alignment a)
        : Modifier(std::move(c)), width(w), height(h), alignment(a) {}
    CGSize sizeThatFits(Node& node, ProposedViewSize proposal) const override;
    void placeChildren(Node& node, ProposedViewSize proposal) const override;
    bool drawsOnlyItsChildren() const override { return true; }
    std::optional<CGFloat> width, height;
    Alignment alignment;
};

struct FrameLimits {
    std::optional<CGFloat> minWidth, idealWidth, maxWidth;
    std::optional<CGFloat> minHeight, idealHeight, maxHeight;
    Alignment alignment;
};

class FlexibleFrameModifier final : public Modifier {
  public:
    FlexibleFrameModifier(AnyView c, FrameLimits l) : Modifier(std::move(c)), limits(l) {}
    CGSize sizeThatFits(Node& node, ProposedViewSize proposal) const override;
    void placeChildren(Node& node, ProposedViewSize proposal) const override;
    FrameLimits limits;

  private:
    ProposedViewSize childProposal(ProposedViewSize proposal) const;
};

class PaddingModifier final : public Modifier {
  public:
    PaddingModifier(AnyView c, EdgeInsets i) : Modifier(std::move(c)), insets(i) {}
    CGSize sizeThatFits(Node& node, ProposedViewSize proposal) const override;
    void placeChildren(Node& node, ProposedViewSize proposal) const override;
    bool drawsOnlyItsChildren() const override { return true; }
    EdgeInsets insets;
};

class OffsetModifier final : public Modifier {
  public:
    OffsetModifier(AnyView c, CGSize o) : Modifier(std::move(c)), offset(o) {}
    void placeChildren(Node& node, ProposedViewSize proposal) const override;
    bool drawsOnlyItsChildren() const override { return true; }
    CGSize offset;
};

class PositionModifier final : public Modifier {
  public:
    PositionModifier(AnyView c, CGPoint p) : Modifier(std::move(c)), point(p) {}
    CGSize sizeThatFits(Node& node, ProposedViewSize proposal) const override;
    void placeChildren(Node& node, ProposedViewSize proposal) const override;
    CGPoint point;
};

// A background or overlay: sized by the content, the other view offered that size.
class SecondaryModifier final : public Primitive {
  public:
    SecondaryModifier(AnyView c, AnyView s, Alignment a, bool overlay)
        : content(std::move(c)), secondary(std::move(s)), alignment(a), overlay(overlay) {}
    void build(Node& node, ViewContext& ctx) const override;
    CGSize sizeThatFits(Node& node, ProposedViewSize proposal) const override;
    void placeChildren(Node& node, ProposedViewSize proposal) const override;
    AnyView content, secondary;
    Alignment alignment;
    bool overlay;

  private:
    size_t primaryIndex() const { return overlay ? 0 : 1; }
};

// Changes the environment of its content. Tag keeps the kinds apart in identity.
// On content that stands for several views (a Group, a ForEach) it applies to each
// of them, which keep their identities: in a stack each is still a child of its own.
template <class Tag> class EnvironmentModifier final : public Modifier {
  public:
    EnvironmentModifier(AnyView c, std::function<void(EnvironmentValues&)> f)
        : Modifier(std::move(c)), change(std::move(f)) {}
    void expand(const AnyView& self, std::vector<KeyedView>& out) const override {
        std::vector<KeyedView> inner;
        content.primitive().expand(content, inner);
        if (inner.size() == 1 && std::holds_alternative<std::monostate>(inner[0].id)) {
            out.push_back({{}, self});
            return;
        }
        for (auto& item : inner)
            out.push_back({item.id, AnyView(std::make_shared<const EnvironmentModifier>(
                                        std::move(item.view), change))});
    }
    void build(Node& node, ViewContext& ctx) const override {
        EnvironmentValues env = node.environment;
        change(env);
        ctx.setChildren({content}, env);
    }
    std::function<void(EnvironmentValues&)> change;
};

// Sets something on its own node (gestures, handlers, names, hit testing).
template <class Tag> class NodeModifier final : public Modifier {
  public:
    NodeModifier(AnyView c, std::function<void(Node&)> f)
        : Modifier(std::move(c)), apply(std::move(f)) {}
    void build(Node& node, ViewContext& ctx) const override {
        apply(node);
        ctx.setChildren({content});
    }
    bool drawsOnlyItsChildren() const override { return true; }
    std::function<void(Node&)> apply;
};

class OpacityModifier final : public Modifier {
  public:
    OpacityModifier(AnyView c, double a) : Modifier(std::move(c)), alpha(a) {}
    void render(const Node& node, CGContext& context) const override;
    double alpha;
};

class ClipModifier final : public Modifier {
  public:
    ClipModifier(AnyView c, AnyShape s) : Modifier(std::move(c)), shape(std::move(s)) {}
    void render(const Node& node, CGContext& context) const override;
    AnyShape shape;
};

// Scales or rotates the content about an anchor, without changing its layout.
class TransformModifier final : public Modifier {
  public:
    TransformModifier(AnyView c, CGSize s, double r, UnitPoint a)
        : Modifier(std::move(c)), scale(s), radians(r), anchor(a) {}
    void placeChildren(Node& node, ProposedViewSize proposal) const override;
    CGSize scale;
    double radians;
    UnitPoint anchor;
};

class ContentShapeModifier final : public Modifier {
  public:
    ContentShapeModifier(AnyView c, AnyShape s) : Modifier(std::move(c)), shape(std::move(s)) {}
    bool hitsContent(const Node& node, CGPoint local) const override {
        return shape.contains(node.bounds(), local);
    }
    AnyShape shape;
};

// Gives its content an explicit identity among its siblings.
class IdentifiedModifier final : public Modifier {
  public:
    IdentifiedModifier(AnyView c, ViewID i) : Modifier(std::move(c)), id(std::move(i)) {}
    void expand(const AnyView&, std::vector<KeyedView>& out) const override {
        out.push_back({id, content});
    }
    ViewID id;
};

template <class T> class OnChangeModifier final : public Modifier {
  public:
    OnChangeModifier(AnyView c, T v, bool i, std::function<void(const T&, const T&)> a)
        : Modifier(std::move(c)), value(std::move(v)), initial(i), action(std::move(a)) {}
    void build(Node& node, ViewContext& ctx) const override {
        State<std::optional<T>> last = ctx.state(std::optional<T>());
        ctx.setChildren({content});
        auto run = action;
        if (!last->has_value()) {
            if (initial)
                node.graph.enqueueAfterUpdate([run, v = value] { run(v, v); });
        } else if (!(**last == value)) {
            node.graph.enqueueAfterUpdate([run, old = **last, v = value] { run(old, v); });
        }
        // The last value is bookkeeping, not view state: stored without a rebuild.
        const_cast<std::optional<T>&>(*last) = value;
    }
    T value;
    bool initial;
    std::function<void(const T&, const T&)> action;
};

struct ForegroundTag;
struct FontTag;
struct DisabledTag;
struct ObjectTag;
struct AnyEnvironmentTag;
struct ButtonStyleTag;
struct FocusedTag;
struct SubmitTag;
struct TextStyleTag;
struct GestureTag;
struct HitTestingTag;
struct HelpTag;
struct IdentifierTag;
struct SpaceTag;
struct LifecycleTag;
struct KeyPressTag;
struct SafeAreaTag;
struct ScrollEdgeTag;
struct RowBackgroundTag;

template <class M, class... Args> AnyView wrap(Args&&... args) {
    return AnyView(std::make_shared<const M>(std::forward<Args>(args)...));
}
template <class Tag>
AnyView environmentChange(AnyView c, std::function<void(EnvironmentValues&)> f) {
    return wrap<EnvironmentModifier<Tag>>(std::move(c), std::move(f));
}
template <class Tag> AnyView nodeChange(AnyView c, std::function<void(Node&)> f) {
    return wrap<NodeModifier<Tag>>(std::move(c), std::move(f));
}
AnyView attachGesture(AnyView content, const Gesture& gesture, GestureMask mask,
                      Node::GestureAttachment::Kind kind);

} // namespace detail

template <class S>
AnyView View<S>::frame(std::optional<CGFloat> w, std::optional<CGFloat> h, Alignment a) const {
    return detail::wrap<detail::FrameModifier>(AnyView(self()), w, h, a);
}
template <class S> AnyView View<S>::frame(CGSize size, Alignment a) const {
    return frame(size.width, size.height, a);
}
template <class S> AnyView View<S>::frame(const FrameLimits& l) const {
    return detail::wrap<detail::FlexibleFrameModifier>(
        AnyView(self()), detail::FrameLimits{l.minWidth, l.idealWidth, l.maxWidth, l.minHeight,
                                             l.idealHeight, l.maxHeight, l.alignment});
}
template <class S> AnyView View<S>::padding(CGFloat amount) const {
    return padding(EdgeInsets::uniform(amount));
}
template <class S> AnyView View<S>::padding(Edge::Set edges, CGFloat amount) const {
    return padding(EdgeInsets::edges(edges, amount));
}
template <class S> AnyView View<S>::padding(EdgeInsets insets) const {
    return detail::wrap<detail::PaddingModifier>(AnyView(self()), insets);
}
template <class S> AnyView View<S>::offset(CGFloat x, CGFloat y) const {
    return detail::wrap<detail::OffsetModifier>(AnyView(self()), CGSize{x, y});
}
template <class S> AnyView View<S>::offset(CGSize size) const {
    return offset(size.width, size.height);
}
template <class S> AnyView View<S>::foregroundStyle(const ColorValue& color) const {
    return foregroundColor(color);
}
template <class S> AnyView View<S>::onTapGesture(std::function<void()> action) const {
    return onTapGesture(1, std::move(action));
}
template <class S>
template <class T>
AnyView View<S>::environmentObject(std::shared_ptr<T> object) const {
    return environment(std::move(object));
}
template <class S> AnyView View<S>::position(CGFloat x, CGFloat y) const {
    return detail::wrap<detail::PositionModifier>(AnyView(self()), CGPoint{x, y});
}
template <class S> AnyView View<S>::background(const AnyView& view, Alignment a) const {
    return detail::wrap<detail::SecondaryModifier>(AnyView(self()), view, a, false);
}
template <class S> AnyView View<S>::overlay(const AnyView& view, Alignment a) const {
    return detail::wrap<detail::SecondaryModifier>(AnyView(self()), view, a, true);
}
template <class S> AnyView View<S>::ignoresSafeArea() const {
    return detail::nodeChange<detail::SafeAreaTag>(AnyView(self()), [](Node&) {});
}
template <class S> AnyView View<S>::foregroundColor(const ColorValue& color) const {
    return detail::environmentChange<detail::ForegroundTag>(
        AnyView(self()), [color](EnvironmentValues& e) { e.foregroundColor = color; });
}
template <class S> AnyView View<S>::font(const Font& f) const {
    return detail::environmentChange<detail::FontTag>(AnyView(self()),
                                                      [f](EnvironmentValues& e) { e.font = f; });
}
template <class S> AnyView View<S>::opacity(double alpha) const {
    return detail::wrap<detail::OpacityModifier>(AnyView(self()), alpha);
}
template <class S> AnyView View<S>::clipShape(const AnyShape& shape) const {
    return detail::wrap<detail::ClipModifier>(AnyView(self()), shape);
}
template <class S> AnyView View<S>::clipped() const {
    return clipShape(Rectangle());
}
template <class S> AnyView View<S>::cornerRadius(CGFloat radius) const {
    return clipShape(RoundedRectangle(radius));
}
template <class S> AnyView View<S>::scaleEffect(CGFloat scale, UnitPoint anchor) const {
    return scaleEffect(CGSize{scale, scale}, anchor);
}
template <class S> AnyView View<S>::scaleEffect(CGSize scale, UnitPoint anchor) const {
    return detail::wrap<detail::TransformModifier>(AnyView(self()), scale, 0.0, anchor);
}
template <class S> AnyView View<S>::rotationEffect(double degrees, UnitPoint anchor) const {
    return detail::wrap<detail::TransformModifier>(AnyView(self()), CGSize{1, 1},
                                                   degrees * M_PI / 180, anchor);
}
template <class S> AnyView View<S>::contentShape(const AnyShape& shape) const {
    return detail::wrap<detail::ContentShapeModifier>(AnyView(self()), shape);
}
template <class S> AnyView View<S>::allowsHitTesting(bool enabled) const {
    return detail::nodeChange<detail::HitTestingTag>(
        AnyView(self()), [enabled](Node& n) { n.hitTestingEnabled = enabled; });
}
template <class S> AnyView View<S>::disabled(bool disabled) const {
    return detail::environmentChange<detail::DisabledTag>(
        AnyView(self()),
        [disabled](EnvironmentValues& e) { e.isEnabled = e.isEnabled && !disabled; });
}
template <class S> AnyView View<S>::help(std::string text) const {
    return detail::nodeChange<detail::HelpTag>(AnyView(self()),
                                               [text](Node& n) { n.helpText = text; });
}
template <class S> AnyView View<S>::gesture(const Gesture& g, GestureMask mask) const {
    return detail::attachGesture(AnyView(self()), g, mask,
                                 Node::GestureAttachment::Kind::exclusive);
}
template <class S> AnyView View<S>::simultaneousGesture(const Gesture& g, GestureMask mask) const {
    return detail::attachGesture(AnyView(self()), g, mask,
                                 Node::GestureAttachment::Kind::simultaneous);
}
template <class S> AnyView View<S>::highPriorityGesture(const Gesture& g, GestureMask mask) const {
    return detail::attachGesture(AnyView(self()), g, mask,
                                 Node::GestureAttachment::Kind::highPriority);
}
template <class S> AnyView View<S>::onTapGesture(int count, std::function<void()> action) const {
    return gesture(TapGesture(count).onEnded(std::move(action)));
}
template <class S> AnyView View<S>::coordinateSpace(std::string name) const {
    return detail::nodeChange<detail::SpaceTag>(AnyView(self()),
                                                [name](Node& n) { n.coordinateSpaceName = name; });
}
template <class S>
template <class ButtonStyleT>
AnyView View<S>::buttonStyle(const ButtonStyleT& style) const {
    auto boxed = std::make_shared<const detail::ButtonStyleBox<ButtonStyleT>>(style);
    return detail::environmentChange<detail::ButtonStyleTag>(
        AnyView(self()), [boxed](EnvironmentValues& e) { e.buttonStyle = boxed; });
}
template <class S> AnyView View<S>::accessibilityIdentifier(std::string identifier) const {
    return detail::nodeChange<detail::IdentifierTag>(
        AnyView(self()), [identifier](Node& n) { n.accessibilityIdentifier = identifier; });
}
template <class S> AnyView View<S>::accessibilityAddTraits(int) const {
    return AnyView(self());
}
template <class S> AnyView View<S>::onAppear(std::function<void()> action) const {
    return detail::nodeChange<detail::LifecycleTag>(
        AnyView(self()), [action](Node& n) { n.appearActions.push_back(action); });
}
template <class S> AnyView View<S>::onDisappear(std::function<void()> action) const {
    return detail::nodeChange<detail::LifecycleTag>(
        AnyView(self()), [action](Node& n) { n.disappearActions.push_back(action); });
}
template <class S> template <class T>
requires std::equality_comparable<T>
    AnyView View<S>::onChange(const T& value, bool initial,
                              std::type_identity_t<std::function<void(const T&, const T&)>> action)
const {
    return detail::wrap<detail::OnChangeModifier<T>>(AnyView(self()), value, initial,
                                                     std::move(action));
}
template <class S> template <class T>
requires std::equality_comparable<T>
    AnyView View<S>::onChange(const T& value, std::function<void()> action, bool initial)
const {
    return onChange<T>(value, initial, [action](const T&, const T&) { action(); });
}
template <class S>
template <class T>
AnyView View<S>::environment(std::shared_ptr<T> object) const {
    return detail::environmentChange<detail::ObjectTag>(
        AnyView(self()), [object](EnvironmentValues& e) { e.setObject(object); });
}
template <class S>
AnyView View<S>::transformEnvironment(std::function<void(EnvironmentValues&)> change) const {
    return detail::environmentChange<detail::AnyEnvironmentTag>(AnyView(self()), std::move(change));
}
namespace detail {
// A view modifier applied to its content: a user view whose body is the modifier's.
template <class M> struct ModifiedContent : View<ModifiedContent<M>> {
    M modifier;
    AnyView content;
    AnyView body(ViewContext& ctx) const {
        if constexpr (requires { modifier.body(content, ctx); })
            return AnyView(modifier.body(content, ctx));
        else
            return AnyView(modifier.body(content));
    }
};
} // namespace detail

template <class S> template <class M> AnyView View<S>::modifier(const M& m) const {
    return AnyView(detail::ModifiedContent<M>{{}, m, AnyView(self())});
}
template <class S> template <class ID> AnyView View<S>::id(const ID& identity) const {
    return detail::wrap<detail::IdentifiedModifier>(AnyView(self()), makeViewID(identity));
}
template <class S> AnyView View<S>::focused(const FocusState<bool>& state) const {
    Binding<bool> binding = state.binding();
    return detail::environmentChange<detail::FocusedTag>(
        AnyView(self()), [binding](EnvironmentValues& e) { e.focusBinding = binding; });
}
template <class S> AnyView View<S>::onSubmit(std::function<void()> action) const {
    return detail::environmentChange<detail::SubmitTag>(
        AnyView(self()), [action](EnvironmentValues& e) { e.submitActions.push_back(action); });
}
template <class S>
AnyView View<S>::onKeyPress(int phases,
                            std::function<KeyPressResult(const KeyPress&)> action) const {
    return detail::nodeChange<detail::KeyPressTag>(AnyView(self()), [phases, action](Node& n) {
        n.keyHandlers.push_back({phases, action});
    });
}
template <class S> AnyView View<S>::textFieldStyle(TextFieldStyle style) const {
    return detail::environmentChange<detail::TextStyleTag>(
        AnyView(self()), [style](EnvironmentValues& e) { e.textFieldStyle = style; });
}
template <class S>
AnyView View<S>::scrollEdgeEffectStyle(ScrollEdgeEffectStyle style, Edge::Set edges) const {
    return detail::environmentChange<detail::ScrollEdgeTag>(AnyView(self()),
                                                            [style, edges](EnvironmentValues& e) {
                                                                e.scrollEdgeEffectStyle = style;
                                                                e.scrollEdgeEffectEdges = edges;
                                                            });
}
template <class S>
AnyView View<S>::alternatingRowBackgrounds(AlternatingRowBackgroundsBehavior behavior) const {
    return detail::environmentChange<detail::RowBackgroundTag>(
        AnyView(self()),
        [behavior](EnvironmentValues& e) { e.alternatingRowBackgrounds = behavior; });
}
template <class S> AnyView View<S>::multilineTextAlignment(TextAlignment alignment) const {
    return detail::environmentChange<detail::TextStyleTag>(
        AnyView(self()), [alignment](EnvironmentValues& e) { e.textAlignment = alignment; });
}
template <class S> AnyView View<S>::truncationMode(TruncationMode mode) const {
    return detail::environmentChange<detail::TextStyleTag>(
        AnyView(self()), [mode](EnvironmentValues& e) { e.truncationMode = mode; });
}
template <class S> AnyView View<S>::allowsTightening(bool flag) const {
    return detail::environmentChange<detail::TextStyleTag>(
        AnyView(self()), [flag](EnvironmentValues& e) { e.allowsTightening = flag; });
}
template <class S> AnyView View<S>::lineLimit(std::optional<int> number) const {
    return detail::environmentChange<detail::TextStyleTag>(
        AnyView(self()), [number](EnvironmentValues& e) { e.lineLimit = number; });
}
template <class S> AnyView View<S>::tracking(CGFloat points) const {
    return detail::environmentChange<detail::TextStyleTag>(
        AnyView(self()), [points](EnvironmentValues& e) { e.tracking = points; });
}

} // namespace SwiftUI
