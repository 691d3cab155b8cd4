#pragma once
// The primitive views: text, images, colours, spacers, dividers, stacks, lists of
// views (ForEach, Group) and the geometry reader. Thread: main.

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "SwiftUI/View.h"

class Bundle;
class NSImage;

namespace SwiftUI {

namespace detail {
template <class... Vs> std::vector<AnyView> viewList(Vs&&... views) {
    std::vector<AnyView> list;
    list.reserve(sizeof...(Vs));
    (list.push_back(AnyView(std::forward<Vs>(views))), ...);
    return list;
}
} // namespace detail

// A run of text in the environment's font and foreground colour. It takes its natural
// size, and wraps at word boundaries when offered less width.
class Text : public View<Text>, public detail::Primitive {
  public:
    explicit Text(std::string content) : content(std::move(content)) {}
    const std::string& string() const { return content; }

    CGSize sizeThatFits(Node& node, ProposedViewSize proposal) const override;
    void render(const Node& node, CGContext& context) const override;
    bool hitsContent(const Node& node, CGPoint local) const override;

  private:
    std::string content;
};

// A colour as a view fills what it is offered. Color::opacity gives a colour.
class Color : public ColorValue, public View<Color>, public detail::Primitive {
  public:
    using ColorValue::ColorValue;
    Color(const ColorValue& value) : ColorValue(value) {}
    Color(const struct ColorResource& resource);

    static Color clear() { return Color(0, 0, 0, 0); }
    static Color black() { return Color(0, 0, 0); }
    static Color white() { return Color(1, 1, 1); }
    static Color gray() { return Color(0.5, 0.5, 0.5); }
    static Color red() { return Color(1, 0.23, 0.19); }
    static Color blue() { return Color(0, 0.48, 1); }
    static Color yellow() { return Color(1, 0.8, 0); }
    // The default text colour.
    static Color primary() { return Color(0, 0, 0, 0.85); }
    Color opacity(double alpha) const { return Color(withOpacity(alpha)); }

    CGSize sizeThatFits(Node& node, ProposedViewSize proposal) const override;
    void render(const Node& node, CGContext& context) const override;
    bool hitsContent(const Node& node, CGPoint local) const override;
};

// An image: a named image of a bundle's asset catalogue (or a loose image file of its
// resources), an image object, or a symbol. Shown at its own size unless resizable,
// when it stretches to what it is offered (keeping the cap insets unstretched).
class Image : public View<Image>, public detail::Primitive {
  public:
    enum class ResizingMode { stretch, tile };

    explicit Image(std::string name, std::shared_ptr<Bundle> bundle = nullptr);
    explicit Image(std::shared_ptr<NSImage> image);
    Image(const struct ImageResource& resource);
    // A small symbol drawn by this layer ("checkmark").
    static Image systemName(std::string name);

    Image resizable(EdgeInsets capInsets = {}, ResizingMode mode = ResizingMode::stretch) const {
        Image copy = *this;
        copy.isResizable = true;
        copy.capInsets = capInsets;
        copy.resizingMode = mode;
        return copy;
    }
    const std::string& name() const { return imageName; }
    bool resizableFlag() const { return isResizable; }

    CGSize sizeThatFits(Node& node, ProposedViewSize proposal) const override;
    void render(const Node& node, CGContext& context) const override;
    bool hitsContent(const Node& node, CGPoint local) const override;

  private:
    std::shared_ptr<NSImage> resolved() const;

    std::string imageName;
    std::shared_ptr<Bundle> bundle;
    std::shared_ptr<NSImage> image;
    mutable std::shared_ptr<NSImage> cached;
    std::string symbol;
    bool isResizable = false;
    EdgeInsets capInsets;
    ResizingMode resizingMode = ResizingMode::stretch;
};

// Flexible space along the axis of the stack it is in (both axes elsewhere).
class Spacer : public View<Spacer>, public detail::Primitive {
  public:
    explicit Spacer(std::optional<CGFloat> minLength = std::nullopt) : minLength(minLength) {}
    CGSize sizeThatFits(Node& node, ProposedViewSize proposal) const override;
    std::optional<CGFloat> spacerMinLength() const override { return minLength.value_or(8); }

  private:
    std::optional<CGFloat> minLength;
};

// A thin line across the stack it is in.
class Divider : public View<Divider>, public detail::Primitive {
  public:
    CGSize sizeThatFits(Node& node, ProposedViewSize proposal) const override;
    void render(const Node& node, CGContext& context) const override;
};

namespace detail {

// Lays its children out along an axis: each child is offered an equal share of what is
// left, the least flexible first, and placed at the cross-axis alignment.
class Stack : public Primitive {
  public:
    Stack(Axis axis, CGFloat alignment, std::optional<CGFloat> spacing,
          std::vector<AnyView> children)
        : axis(axis), alignment(alignment), spacing(spacing), children(std::move(children)) {}
    void build(Node& node, ViewContext& ctx) const override;
    CGSize sizeThatFits(Node& node, ProposedViewSize proposal) const override;
    void placeChildren(Node& node, ProposedViewSize proposal) const override;
    bool drawsOnlyItsChildren() const override { return true; }

    Axis axis;
    CGFloat alignment;
    std::optional<CGFloat> spacing;
    std::vector<AnyView> children;

  private:
    std::vector<CGFloat> distribute(Node& node, ProposedViewSize proposal) const;
};

} // namespace detail

class HStack : public View<HStack>, public detail::Stack {
  public:
    template <ViewLike... Vs>
    requires detail::ChildViews<HStack, Vs...>
    explicit HStack(Vs&&... views)
        : Stack(Axis::horizontal, 0.5, std::nullopt, detail::viewList(std::forward<Vs>(views)...)) {
    }
    template <ViewLike... Vs>
    explicit HStack(VerticalAlignment alignment, Vs&&... views)
        : Stack(Axis::horizontal, alignment.fraction, std::nullopt,
                detail::viewList(std::forward<Vs>(views)...)) {}
    template <ViewLike... Vs>
    HStack(VerticalAlignment alignment, CGFloat spacing, Vs&&... views)
        : Stack(Axis::horizontal, alignment.fraction, spacing,
                detail::viewList(std::forward<Vs>(views)...)) {}
    template <ViewLike... Vs>
    explicit HStack(CGFloat spacing, Vs&&... views)
        : Stack(Axis::horizontal, 0.5, spacing, detail::viewList(std::forward<Vs>(views)...)) {}
    HStack(VerticalAlignment alignment, std::optional<CGFloat> spacing, std::vector<AnyView> views)
        : Stack(Axis::horizontal, alignment.fraction, spacing, std::move(views)) {}
};

class VStack : public View<VStack>, public detail::Stack {
  public:
    template <ViewLike... Vs>
    requires detail::ChildViews<VStack, Vs...>
    explicit VStack(Vs&&... views)
        : Stack(Axis::vertical, 0.5, std::nullopt, detail::viewList(std::forward<Vs>(views)...)) {}
    template <ViewLike... Vs>
    explicit VStack(HorizontalAlignment alignment, Vs&&... views)
        : Stack(Axis::vertical, alignment.fraction, std::nullopt,
                detail::viewList(std::forward<Vs>(views)...)) {}
    template <ViewLike... Vs>
    VStack(HorizontalAlignment alignment, CGFloat spacing, Vs&&... views)
        : Stack(Axis::vertical, alignment.fraction, spacing,
                detail::viewList(std::forward<Vs>(views)...)) {}
    template <ViewLike... Vs>
    explicit VStack(CGFloat spacing, Vs&&... views)
        : Stack(Axis::vertical, 0.5, spacing, detail::viewList(std::forward<Vs>(views)...)) {}
    VStack(HorizontalAlignment alignment, std::optional<CGFloat> spacing,
           std::vector<AnyView> views)
        : Stack(Axis::vertical, alignment.fraction, spacing, std::move(views)) {}
};

// Children laid over each other, later ones in front, each aligned in the union of
// their sizes.
class ZStack : public View<ZStack>, public detail::Primitive {
  public:
    template <ViewLike... Vs>
    requires detail::ChildViews<ZStack, Vs...>
    explicit ZStack(Vs&&... views) : children(detail::viewList(std::forward<Vs>(views)...)) {}
    template <ViewLike... Vs>
    explicit ZStack(Alignment alignment, Vs&&... views)
        : alignment(alignment), children(detail::viewList(std::forward<Vs>(views)...)) {}
    ZStack(Alignment alignment, std::vector<AnyView> views)
        : alignment(alignment), children(std::move(views)) {}

    void build(Node& node, ViewContext& ctx) const override;
    CGSize sizeThatFits(Node& node, ProposedViewSize proposal) const override;
    void placeChildren(Node& node, ProposedViewSize proposal) const override;
    bool drawsOnlyItsChildren() const override { return true; }

  private:
    Alignment alignment;
    std::vector<AnyView> children;
};

// Views listed in place of one (in a stack: each is a child of the stack), each
// identified by its position.
class Group : public View<Group>, public detail::Primitive {
  public:
    template <ViewLike... Vs>
    requires detail::ChildViews<Group, Vs...>
    explicit Group(Vs&&... views) : children(detail::viewList(std::forward<Vs>(views)...)) {}
    explicit Group(std::vector<AnyView> views) : children(std::move(views)) {}
    void expand(const AnyView& self, std::vector<detail::KeyedView>& out) const override;
    void build(Node& node, ViewContext& ctx) const override;
    CGSize sizeThatFits(Node& node, ProposedViewSize proposal) const override;

  private:
    std::vector<AnyView> children;
};

// One view per element of a collection, identified by the element's id, so that a
// view's state follows its element when the collection changes.
class ForEach : public View<ForEach>, public detail::Primitive {
  public:
    // `id(element)` gives an integer or string id; `content(element)` the view.
    template <class C, class IdFn, class ContentFn>
    ForEach(const C& data, IdFn id, ContentFn content) {
        for (const auto& element : data)
            items.push_back({makeViewID(id(element)), AnyView(content(element))});
    }
    // Elements that are their own ids (integers, strings).
    template <class C, class ContentFn>
    ForEach(const C& data, ContentFn content)
        : ForEach(
              data, [](const auto& e) { return e; }, content) {}
    // The integers [from, to).
    template <class ContentFn> static ForEach range(int from, int to, ContentFn content) {
        std::vector<int> data;
        for (int i = from; i < to; ++i)
            data.push_back(i);
        return ForEach(data, content);
    }
    void expand(const AnyView& self, std::vector<detail::KeyedView>& out) const override;
    void build(Node& node, ViewContext& ctx) const override;
    CGSize sizeThatFits(Node& node, ProposedViewSize proposal) const override;

  private:
    std::vector<detail::KeyedView> items;
};

struct GeometryProxy {
    CGSize size;
};

// Takes all the space it is offered and builds its content for that size, placed at
// its top-leading corner.
class GeometryReader : public View<GeometryReader>, public detail::Primitive {
  public:
    explicit GeometryReader(std::function<AnyView(const GeometryProxy&)> content)
        : content(std::move(content)) {}
    void build(Node& node, ViewContext& ctx) const override;
    CGSize sizeThatFits(Node& node, ProposedViewSize proposal) const override;
    void placeChildren(Node& node, ProposedViewSize proposal) const override;

  private:
    std::function<AnyView(const GeometryProxy&)> content;
};

} // namespace SwiftUI
