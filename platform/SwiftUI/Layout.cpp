// Layout: each view answers the size it takes for a proposal and places its children.

#include <algorithm>
#include <numeric>

#include "SwiftUI/Form.h"
#include "SwiftUI/Modifiers.h"
#include "SwiftUI/Views.h"

namespace SwiftUI {

namespace detail {

// By default a view is as large as its largest child and puts every child at its
// top-leading corner (the single child of a modifier or user view fills it).
CGSize Primitive::sizeThatFits(Node& node, ProposedViewSize proposal) const {
    CGSize size;
    for (auto& child : node.children) {
        CGSize s = child->sizeThatFits(proposal);
        size.width = std::max(size.width, s.width);
        size.height = std::max(size.height, s.height);
    }
    return size;
}

void Primitive::placeChildren(Node& node, ProposedViewSize proposal) const {
    for (auto& child : node.children)
        child->place({0, 0}, proposal);
}

static CGFloat alignedOffset(CGFloat container, CGFloat content, CGFloat fraction) {
    return (container - content) * fraction;
}

static CGPoint aligned(CGSize container, CGSize content, Alignment a) {
    return {alignedOffset(container.width, content.width, a.horizontal.fraction),
            alignedOffset(container.height, content.height, a.vertical.fraction)};
}

// ---- Stacks

void Stack::build(Node& node, ViewContext& ctx) const {
    ctx.setChildren(children);
}

static ProposedViewSize proposalAlong(Axis axis, std::optional<CGFloat> main,
                                      std::optional<CGFloat> cross) {
    return axis == Axis::horizontal ? ProposedViewSize(main, cross) : ProposedViewSize(cross, main);
}

// The main-axis proposal of each child: with a length to share, the space left is
// offered in equal parts to the children, least flexible first; without one (ideal
// size), none.
std::vector<CGFloat> Stack::distribute(Node& node, ProposedViewSize proposal) const {
    auto& kids = node.children;
    size_t n = kids.size();
    std::vector<CGFloat> main(n, 0);
    std::optional<CGFloat> cross = proposal.along(other(axis));
    CGFloat gaps = n > 1 ? spacing.value_or(8) * CGFloat(n - 1) : 0;
    CGFloat remaining = *proposal.along(axis) - gaps;
    std::vector<CGFloat> flexibility(n);
    // Spacers yield: the other children share what is left once the spacers have their
    // minimum lengths, and the spacers take the rest.
    std::vector<CGFloat> spacerMinimum(n, -1);
    CGFloat reserved = 0;
    size_t spacers = 0;
    for (size_t i = 0; i < n; ++i) {
        CGFloat least = along(kids[i]->sizeThatFits(proposalAlong(axis, 0.0, cross)), axis);
        CGFloat most = along(kids[i]->sizeThatFits(proposalAlong(axis, infinity, cross)), axis);
        flexibility[i] = most - least;
        if (kids[i]->view.primitive().spacerMinLength()) {
            spacerMinimum[i] = least;
            reserved += least;
            ++spacers;
        }
    }
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const bool spacerA = spacerMinimum[a] >= 0, spacerB = spacerMinimum[b] >= 0;
        if (spacerA != spacerB)
            return spacerB;
        return flexibility[a] < flexibility[b];
    });
    size_t left = n;
    for (size_t i : order) {
        // Spacers come last and share the rest equally.
        const bool isSpacer = spacerMinimum[i] >= 0;
        CGFloat share =
            isSpacer ? remaining / CGFloat(left) : (remaining - reserved) / CGFloat(left - spacers);
        share = std::max<CGFloat>(0, share);
        // The offer is kept for placing the child, whose answer is then the same.
        main[i] = share;
        remaining -= along(kids[i]->sizeThatFits(proposalAlong(axis, share, cross)), axis);
        --left;
    }
    return main;
}

CGSize Stack::sizeThatFits(Node& node, ProposedViewSize proposal) const {
    auto& kids = node.children;
    if (kids.empty())
        return {};
    std::optional<CGFloat> cross = proposal.along(other(axis));
    CGFloat gaps = kids.size() > 1 ? spacing.value_or(8) * CGFloat(kids.size() - 1) : 0;
    CGSize size;
    along(size, axis) = gaps;
    std::vector<std::optional<CGFloat>> offers(kids.size());
    if (proposal.along(axis)) {
        auto shares = distribute(node, proposal);
        for (size_t i = 0; i < kids.size(); ++i)
            offers[i] = shares[i];
    }
    for (size_t i = 0; i < kids.size(); ++i) {
        CGSize s = kids[i]->sizeThatFits(proposalAlong(axis, offers[i], cross));
        along(size, axis) += along(s, axis);
        along(size, other(axis)) = std::max(along(size, other(axis)), along(s, other(axis)));
    }
    return size;
}

void Stack::placeChildren(Node& node, ProposedViewSize proposal) const {
    auto& kids = node.children;
    std::optional<CGFloat> cross = proposal.along(other(axis));
    std::vector<std::optional<CGFloat>> offers(kids.size());
    if (proposal.along(axis)) {
        auto shares = distribute(node, proposal);
        for (size_t i = 0; i < kids.size(); ++i)
            offers[i] = shares[i];
    }
    CGFloat position = 0;
    CGFloat crossLength = along(node.size(), other(axis));
    for (size_t i = 0; i < kids.size(); ++i) {
        ProposedViewSize offer = proposalAlong(axis, offers[i], cross);
        CGSize s = kids[i]->sizeThatFits(offer);
        CGFloat crossOffset = alignedOffset(crossLength, along(s, other(axis)), alignment);
        CGPoint origin = axis == Axis::horizontal ? CGPoint{position, crossOffset}
                                                  : CGPoint{crossOffset, position};
        kids[i]->place(origin, offer);
        position += along(s, axis) + spacing.value_or(8);
    }
}

// ---- ZStack, Group, ForEach

static void expandList(const std::vector<AnyView>& views, std::vector<KeyedView>& out);

} // namespace detail

void ZStack::build(Node& node, ViewContext& ctx) const {
    ctx.setChildren(children);
}

CGSize ZStack::sizeThatFits(Node& node, ProposedViewSize proposal) const {
    return Primitive::sizeThatFits(node, proposal);
}

void ZStack::placeChildren(Node& node, ProposedViewSize proposal) const {
    for (auto& child : node.children)
        child->place(detail::aligned(node.size(), child->sizeThatFits(proposal), alignment),
                     proposal);
}

namespace detail {

static void expandList(const std::vector<AnyView>& views, std::vector<KeyedView>& out) {
    for (size_t i = 0; i < views.size(); ++i) {
        std::vector<KeyedView> inner;
        views[i].primitive().expand(views[i], inner);
        for (auto& item : inner) {
            if (std::holds_alternative<std::monostate>(item.id))
                item.id = int64_t(i);
            out.push_back(std::move(item));
        }
    }
}

} // namespace detail

void Group::expand(const AnyView&, std::vector<detail::KeyedView>& out) const {
    detail::expandList(children, out);
}

void Group::build(Node& node, ViewContext& ctx) const {
    ctx.setChildren(children);
}

CGSize Group::sizeThatFits(Node& node, ProposedViewSize proposal) const {
    return Primitive::sizeThatFits(node, proposal);
}

void ForEach::expand(const AnyView&, std::vector<detail::KeyedView>& out) const {
    for (const auto& item : items)
        out.push_back(item);
}

void ForEach::build(Node& node, ViewContext& ctx) const {
    node.graph.reconcile(node, items, std::vector<size_t>(items.size(), 0), node.environment);
}

CGSize ForEach::sizeThatFits(Node& node, ProposedViewSize proposal) const {
    return Primitive::sizeThatFits(node, proposal);
}

// ---- GeometryReader: its content is made at layout time, for the size it gets.

using GeometrySlot = detail::StateBox<std::optional<CGSize>>;

void GeometryReader::build(Node& node, ViewContext& ctx) const {
    State<std::optional<CGSize>> built = ctx.state(std::optional<CGSize>());
    GeometryProxy proxy{built->value_or(CGSize{})};
    AnyView body;
    detail::trackBody(node, [&] { body = content(proxy); });
    ctx.setChildren({body});
}

CGSize GeometryReader::sizeThatFits(Node&, ProposedViewSize proposal) const {
    return proposal.replacingUnspecified({10, 10});
}

void GeometryReader::placeChildren(Node& node, ProposedViewSize) const {
    auto slot = std::static_pointer_cast<GeometrySlot>(node.slots.at(0));
    if (slot->value != node.size()) {
        slot->value = node.size();
        node.endTracking();
        GeometryProxy proxy{node.size()};
        AnyView body;
        detail::trackBody(node, [&] { body = content(proxy); });
        node.graph.reconcile(node, {body}, node.environment);
    }
    for (auto& child : node.children)
        child->place({0, 0}, ProposedViewSize(node.size()));
}

// ---- Leaves

// The axis of the stack a view sits in, through the single-child views around it.
static std::optional<Axis> stackAxis(const Node& node) {
    for (const Node* p = node.parent; p; p = p->parent) {
        if (auto* stack = dynamic_cast<const detail::Stack*>(&p->view.primitive()))
            return stack->axis;
        if (p->children.size() > 1)
            return std::nullopt;
    }
    return std::nullopt;
}

CGSize Spacer::sizeThatFits(Node& node, ProposedViewSize proposal) const {
    CGFloat least = minLength.value_or(8);
    auto axis = stackAxis(node);
    if (!axis)
        return {std::max(least, proposal.width.value_or(least)),
                std::max(least, proposal.height.value_or(least))};
    CGSize size;
    along(size, *axis) = std::max(least, proposal.along(*axis).value_or(least));
    return size;
}

CGSize Divider::sizeThatFits(Node& node, ProposedViewSize proposal) const {
    if (stackAxis(node) == Axis::horizontal)
        return {1, proposal.height.value_or(0)};
    return {proposal.width.value_or(0), 1};
}

CGSize Color::sizeThatFits(Node&, ProposedViewSize proposal) const {
    return proposal.replacingUnspecified({10, 10});
}

namespace detail {

CGSize ShapeView::sizeThatFits(Node&, ProposedViewSize proposal) const {
    return proposal.replacingUnspecified({10, 10});
}

// ---- Modifiers

CGSize FrameModifier::sizeThatFits(Node& node, ProposedViewSize proposal) const {
    ProposedViewSize offer(width ? width : proposal.width, height ? height : proposal.height);
    CGSize child = Primitive::sizeThatFits(node, offer);
    return {width.value_or(child.width), height.value_or(child.height)};
}

void FrameModifier::placeChildren(Node& node, ProposedViewSize proposal) const {
    ProposedViewSize offer(width ? width : proposal.width, height ? height : proposal.height);
    for (auto& child : node.children)
        child->place(aligned(node.size(), child->sizeThatFits(offer), alignment), offer);
}

static std::optional<CGFloat> clampOffer(std::optional<CGFloat> offer, std::optional<CGFloat> least,
                                         std::optional<CGFloat> ideal,
                                         std::optional<CGFloat> most) {
    if (!offer)
        return ideal;
    CGFloat v = *offer;
    if (least)
        v = std::max(v, *least);
    if (most)
        v = std::min(v, *most);
    return v;
}

static CGFloat flexibleLength(CGFloat child, std::optional<CGFloat> offer,
                              std::optional<CGFloat> least, std::optional<CGFloat> ideal,
                              std::optional<CGFloat> most) {
    CGFloat offered = offer.value_or(ideal.value_or(child));
    CGFloat v = child;
    if (least)
        v = std::max(*least, std::min(v, offered));
    if (most)
        v = std::min(*most, std::max(v, offered));
    return v;
}

ProposedViewSize FlexibleFrameModifier::childProposal(ProposedViewSize p) const {
    const auto& l = limits;
    return {clampOffer(p.width, l.minWidth, l.idealWidth, l.maxWidth),
            clampOffer(p.height, l.minHeight, l.idealHeight, l.maxHeight)};
}

CGSize FlexibleFrameModifier::sizeThatFits(Node& node, ProposedViewSize proposal) const {
    const auto& l = limits;
    CGSize child = Primitive::sizeThatFits(node, childProposal(proposal));
    return {flexibleLength(child.width, proposal.width, l.minWidth, l.idealWidth, l.maxWidth),
            flexibleLength(child.height, proposal.height, l.minHeight, l.idealHeight, l.maxHeight)};
}

void FlexibleFrameModifier::placeChildren(Node& node, ProposedViewSize proposal) const {
    ProposedViewSize offer = childProposal(proposal);
    for (auto& child : node.children)
        child->place(aligned(node.size(), child->sizeThatFits(offer), limits.alignment), offer);
}

static std::optional<CGFloat> inset(std::optional<CGFloat> v, CGFloat by) {
    if (!v)
        return v;
    return std::max<CGFloat>(0, *v - by);
}

CGSize PaddingModifier::sizeThatFits(Node& node, ProposedViewSize proposal) const {
    ProposedViewSize offer(inset(proposal.width, insets.horizontal()),
                           inset(proposal.height, insets.vertical()));
    CGSize child = Primitive::sizeThatFits(node, offer);
    return {std::max<CGFloat>(0, child.width + insets.horizontal()),
            std::max<CGFloat>(0, child.height + insets.vertical())};
}

void PaddingModifier::placeChildren(Node& node, ProposedViewSize proposal) const {
    ProposedViewSize offer(inset(proposal.width, insets.horizontal()),
                           inset(proposal.height, insets.vertical()));
    for (auto& child : node.children)
        child->place({insets.leading, insets.top}, offer);
}

void OffsetModifier::placeChildren(Node& node, ProposedViewSize proposal) const {
    for (auto& child : node.children)
        child->place({offset.width, offset.height}, proposal);
}

CGSize PositionModifier::sizeThatFits(Node& node, ProposedViewSize proposal) const {
    return proposal.replacingUnspecified(Primitive::sizeThatFits(node, proposal));
}

void PositionModifier::placeChildren(Node& node, ProposedViewSize proposal) const {
    for (auto& child : node.children) {
        CGSize s = child->sizeThatFits(proposal);
        child->place({point.x - s.width / 2, point.y - s.height / 2}, proposal);
    }
}

void SecondaryModifier::build(Node& node, ViewContext& ctx) const {
    ctx.setChildren(overlay ? std::vector<AnyView>{content, secondary}
                            : std::vector<AnyView>{secondary, content});
}

CGSize SecondaryModifier::sizeThatFits(Node& node, ProposedViewSize proposal) const {
    return node.children.at(primaryIndex())->sizeThatFits(proposal);
}

void SecondaryModifier::placeChildren(Node& node, ProposedViewSize proposal) const {
    node.children.at(primaryIndex())->place({0, 0}, proposal);
    auto& other = node.children.at(1 - primaryIndex());
    ProposedViewSize offer(node.size());
    other->place(aligned(node.size(), other->sizeThatFits(offer), alignment), offer);
}

void TransformModifier::placeChildren(Node& node, ProposedViewSize proposal) const {
    Primitive::placeChildren(node, proposal);
    CGFloat ax = node.size().width * anchor.x, ay = node.size().height * anchor.y;
    node.contentTransform = CGAffineTransform::translation(-ax, -ay)
                                .concatenating(CGAffineTransform::scale(scale.width, scale.height))
                                .concatenating(CGAffineTransform::rotation(radians))
                                .concatenating(CGAffineTransform::translation(ax, ay));
}

} // namespace detail

} // namespace SwiftUI

namespace SwiftUI {

std::vector<AnyView> subviewsOf(const AnyView& content,
                                const std::function<AnyView(const AnyView&)>& transform) {
    std::vector<detail::KeyedView> keyed;
    content.primitive().expand(content, keyed);
    std::vector<AnyView> views;
    for (auto& item : keyed) {
        AnyView view = transform ? transform(item.view) : std::move(item.view);
        if (std::holds_alternative<std::monostate>(item.id))
            views.push_back(std::move(view));
        else
            views.push_back(detail::wrap<detail::IdentifiedModifier>(std::move(view), item.id));
    }
    return views;
}

std::vector<AnyView> subviewsOf(const AnyView& content) {
    return subviewsOf(content, nullptr);
}

} // namespace SwiftUI
