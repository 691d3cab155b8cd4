// The retained tree: building, reconciling children by identity, marking for rebuild,
// the update pass and inspection. Layout, drawing and input live in their own files.

#include "SwiftUI/ViewGraph.h"

#include <algorithm>

#include "Dispatch/Dispatch.h"
#include "SwiftUI/Controls.h"

namespace SwiftUI {

AnyView::AnyView() : impl(std::make_shared<const EmptyView>()) {}

std::type_index AnyView::viewType() const {
    return impl->viewType();
}

Node::Node(ViewGraph& graph, Node* parent, AnyView view, size_t position, ViewID id)
    : graph(graph), parent(parent), view(std::move(view)), position(position), id(std::move(id)) {}

CGSize Node::sizeThatFits(ProposedViewSize proposal) {
    for (const auto& [p, s] : sizeCache)
        if (p == proposal)
            return s;
    CGSize size = view.primitive().sizeThatFits(*this, proposal);
    sizeCache.emplace_back(proposal, size);
    return size;
}

void Node::place(CGPoint origin, ProposedViewSize proposal) {
    // A subtree kept whole by an equal view, nothing inside it built or sized again
    // since it was placed for this proposal: its children stand where they were; only
    // the node moves.
    const bool unchanged = std::exchange(kept, false) && placed && placedProposal == proposal;
    if (unchanged) {
        frame.origin = origin;
        return;
    }
    frame = {origin, sizeThatFits(proposal)};
    placedProposal = proposal;
    contentTransform = CGAffineTransform::identity();
    view.primitive().placeChildren(*this, proposal);
    updateExtent();
    placed = true;
}

void Node::forgetLayout() {
    sizeCache.clear();
    placed = false;
}

CGRect Node::extentInParent() const {
    return extent.isNull() ? extent : extent.offsetBy(frame.origin.x, frame.origin.y);
}

void Node::updateExtent() {
    extent = bounds();
    for (const auto& child : children) {
        CGRect e = child->extentInParent();
        if (!e.isEmpty())
            extent = extent.unionWith(e.applying(contentTransform));
    }
}

CGAffineTransform Node::transformToRoot() const {
    CGAffineTransform t = CGAffineTransform::translation(frame.origin.x, frame.origin.y);
    for (const Node* p = parent; p; p = p->parent)
        t = t.concatenating(p->contentTransform)
                .concatenating(
                    CGAffineTransform::translation(p->frame.origin.x, p->frame.origin.y));
    return t;
}

void ViewContext::setChildren(std::vector<AnyView> views) {
    setChildren(std::move(views), node_.environment);
}

void ViewContext::setChildren(std::vector<AnyView> views, const EnvironmentValues& env) {
    node_.graph.reconcile(node_, std::move(views), env);
}

void detail::SlotBase::invalidate() const {
    if (auto node = owner.lock())
        node->graph.invalidate(*node);
}

ViewGraph::ViewGraph(AnyView root, EnvironmentValues environment)
    : alive(std::make_shared<bool>(true)) {
    Runtime::assertMainThread("ViewGraph");
    std::weak_ptr<bool> token = alive;
    scheduler = [this, token] {
        DispatchQueue::main().async([this, token] {
            if (token.lock())
                update();
        });
    };
    root_ = std::make_shared<Node>(*this, nullptr, std::move(root), 0, ViewID{});
    root_->environment = std::move(environment);
    build(*root_);
    for (auto& action : root_->appearActions)
        enqueueAfterUpdate(action);
}

void ViewGraph::setRootView(AnyView root) {
    Runtime::assertMainThread("ViewGraph::setRootView");
    if (root.viewType() != root_->view.viewType()) {
        unmount(*root_);
        auto fresh = std::make_shared<Node>(*this, nullptr, std::move(root), 0, ViewID{});
        fresh->environment = root_->environment;
        root_ = fresh;
    } else {
        root_->view = std::move(root);
    }
    build(*root_);
    layoutAll();
    runAfterUpdate();
}

void ViewGraph::setEnvironment(std::function<void(EnvironmentValues&)> change) {
    change(root_->environment);
    invalidate(*root_);
}

void ViewGraph::setSize(CGSize size) {
    Runtime::assertMainThread("ViewGraph::setSize");
    size_ = size;
    layoutAll();
    runAfterUpdate();
}

void ViewGraph::setUpdateScheduler(std::function<void()> schedule) {
    scheduler = std::move(schedule);
}

void ViewGraph::invalidate(Node& node) {
    if (!node.attached)
        return;
    if (!node.dirty) {
        node.dirty = true;
        dirtyNodes.push_back(node.weak_from_this());
    }
    scheduleIfNeeded();
}

void ViewGraph::scheduleIfNeeded() {
    if (scheduled || !scheduler)
        return;
    scheduled = true;
    scheduler();
}

static int depthOf(const Node& node) {
    int d = 0;
    for (const Node* p = node.parent; p; p = p->parent)
        ++d;
    return d;
}

void ViewGraph::update() {
    Runtime::assertMainThread("ViewGraph::update");
    scheduled = false;
    std::vector<std::shared_ptr<Node>> marked;
    for (auto& weak : dirtyNodes)
        if (auto node = weak.lock())
            marked.push_back(std::move(node));
    dirtyNodes.clear();
    std::stable_sort(marked.begin(), marked.end(),
                     [](const auto& a, const auto& b) { return depthOf(*a) < depthOf(*b); });
    // A node rebuilt as part of its ancestor's rebuild is no longer marked.
    std::vector<Rebuilt> rebuilt;
    for (auto& node : marked)
        if (node->attached && node->dirty) {
            rebuilt.push_back({node, node->sizeCache, node->extentInRoot()});
            build(*node);
        }
    relayout(std::move(rebuilt));
    runAfterUpdate();
    if (didUpdate)
        didUpdate();
}

void ViewGraph::relayout(std::vector<Rebuilt> rebuilt) {
    changed.clear();
    for (Rebuilt& r : rebuilt) {
        if (!r.node->attached)
            continue;
        Node* node = r.node.get();
        std::vector<std::pair<ProposedViewSize, CGSize>> before = std::move(r.sizes);
        CGRect was = r.extentInRoot;
        // Walk up while the sizes the parent last asked for have changed: the parent's
        // own layout then changes too.
        for (;;) {
            if (!node->parent || !node->placedProposal || before.empty()) {
                layoutAll();
                return;
            }
            bool same = std::all_of(before.begin(), before.end(), [node](const auto& entry) {
                return node->sizeThatFits(entry.first) == entry.second;
            });
            if (same)
                break;
            node = node->parent;
            before = node->sizeCache;
            node->forgetLayout();
            was = node->extentInRoot();
        }
        node->place(node->frame.origin, *node->placedProposal);
        for (Node* p = node->parent; p; p = p->parent)
            p->updateExtent();
        // A view rebuilt around what it showed before (a meter level that lights the
        // same segments) leaves every pixel as it was.
        if (node == r.node.get() && drawsAsBefore(*node))
            continue;
        changed.add(was);
        changed.add(node->extentInRoot());
    }
}

bool ViewGraph::drawsAsBefore(const Node& node) {
    if (node.childrenReplaced || !node.view.primitive().drawsOnlyItsChildren())
        return false;
    return std::all_of(node.children.begin(), node.children.end(), [](const auto& child) {
        return child->keptExtentInRoot ? *child->keptExtentInRoot == child->extentInRoot()
                                       : drawsAsBefore(*child);
    });
}

void ViewGraph::layoutAll() {
    CGRegion region(root_->extentInRoot());
    layout();
    region.add(root_->extentInRoot());
    region.add(CGRect{{0, 0}, size_});
    changed = region;
}

void ViewGraph::build(Node& node) {
    node.endTracking();
    node.dirty = false;
    node.slotCursor = 0;
    node.gestures.clear();
    node.keyHandlers.clear();
    node.hitTestingEnabled = true;
    node.accessibilityIdentifier.clear();
    node.helpText.clear();
    node.coordinateSpaceName.clear();
    node.appearActions.clear();
    node.disappearActions.clear();
    node.forgetLayout();
    node.keptExtentInRoot.reset();
    node.childrenReplaced = true;
    ViewContext ctx(node);
    node.view.primitive().build(node, ctx);
}

void ViewGraph::reconcile(Node& parent, std::vector<AnyView> views, const EnvironmentValues& env) {
    std::vector<detail::KeyedView> keyed;
    std::vector<size_t> positions;
    for (size_t i = 0; i < views.size(); ++i) {
        views[i].primitive().expand(views[i], keyed);
        positions.resize(keyed.size(), i);
    }
    reconcile(parent, std::move(keyed), std::move(positions), env);
}

void ViewGraph::reconcile(Node& parent, std::vector<detail::KeyedView> keyed,
                          std::vector<size_t> positions, const EnvironmentValues& env) {
    std::vector<std::shared_ptr<Node>> old = std::move(parent.children);
    std::vector<bool> reused(old.size(), false);
    std::vector<std::shared_ptr<Node>> next;
    enum class Step { build, appear, keep };
    std::vector<Step> steps;
    next.reserve(keyed.size());
    steps.reserve(keyed.size());
    for (size_t k = 0; k < keyed.size(); ++k) {
        auto& item = keyed[k];
        std::shared_ptr<Node> node;
        for (size_t j = 0; j < old.size() && !node; ++j)
            if (!reused[j] && old[j]->position == positions[k] && old[j]->id == item.id &&
                old[j]->view.viewType() == item.view.viewType()) {
                reused[j] = true;
                node = old[j];
            }
        if (!node) {
            node = std::make_shared<Node>(*this, &parent, item.view, positions[k], item.id);
            node->environment = env;
            steps.push_back(Step::appear);
        } else if (!node->dirty && item.view.primitive().rebuildsAs(node->view.primitive()) &&
                   node->environment.sameAs(env)) {
            // An equal view in the same environment: what it built stands, and it keeps
            // the value it was built from.
            node->kept = true;
            node->keptExtentInRoot = node->extentInRoot();
            steps.push_back(Step::keep);
        } else {
            node->view = item.view;
            node->environment = env;
            steps.push_back(Step::build);
        }
        next.push_back(node);
    }
    for (size_t j = 0; j < old.size(); ++j)
        if (!reused[j])
            unmount(*old[j]);
    parent.childrenReplaced = next != old;
    parent.children = next;
    for (size_t k = 0; k < next.size(); ++k) {
        if (steps[k] == Step::keep)
            continue;
        build(*next[k]);
        if (steps[k] == Step::appear)
            for (auto& action : next[k]->appearActions)
                enqueueAfterUpdate(action);
    }
}

void ViewGraph::unmount(Node& node) {
    node.attached = false;
    node.endTracking();
    for (auto& child : node.children)
        unmount(*child);
    cancelGestures(node);
    for (auto& action : node.disappearActions)
        enqueueAfterUpdate(action);
    if (focused.lock().get() == &node) {
        focused.reset();
        if (auto binding = node.environment.focusBinding)
            enqueueAfterUpdate([binding] { binding->set(false); });
    }
}

void ViewGraph::runAfterUpdate() {
    while (!afterUpdate.empty()) {
        auto actions = std::move(afterUpdate);
        afterUpdate.clear();
        for (auto& action : actions)
            action();
        // Actions that change state mark views for the next turn; actions queued by
        // a layout they cause run here.
    }
}

static void clearCaches(Node& node) {
    node.forgetLayout();
    for (auto& child : node.children)
        clearCaches(*child);
}

void ViewGraph::layout() {
    clearCaches(*root_);
    // The root view is centred in the hosting view when it is smaller.
    CGSize s = root_->sizeThatFits(ProposedViewSize(size_));
    root_->place({(size_.width - s.width) / 2, (size_.height - s.height) / 2},
                 ProposedViewSize(size_));
}

static const Node* findIn(const Node& node, const std::string& identifier) {
    if (node.accessibilityIdentifier == identifier)
        return &node;
    for (const auto& child : node.children)
        if (const Node* found = findIn(*child, identifier))
            return found;
    return nullptr;
}

const Node* ViewGraph::find(const std::string& identifier) const {
    return findIn(*root_, identifier);
}

std::optional<CGRect> ViewGraph::frame(const std::string& identifier) const {
    const Node* node = find(identifier);
    if (!node)
        return std::nullopt;
    return node->frameInRoot();
}

void ViewGraph::focus(Node& node) {
    if (focused.lock().get() == &node)
        return;
    unfocus();
    focused = node.weak_from_this();
    selectAllOnFocus = true;
    if (auto binding = node.environment.focusBinding)
        binding->set(true);
    if (focusChanged)
        focusChanged(true);
}

void ViewGraph::unfocus() {
    auto node = focused.lock();
    focused.reset();
    if (!node)
        return;
    if (auto binding = node->environment.focusBinding)
        binding->set(false);
    if (focusChanged)
        focusChanged(false);
}

void ViewGraph::resignFocus() {
    Runtime::assertMainThread("ViewGraph::resignFocus");
    unfocus();
}

bool ViewGraph::keyPress(const KeyPress& press) {
    Runtime::assertMainThread("ViewGraph::keyPress");
    auto node = focused.lock();
    if (!node)
        return false;
    for (Node* n = node.get(); n; n = n->parent)
        for (auto& handler : n->keyHandlers)
            if ((handler.phases & press.phase) && handler.action(press) == KeyPressResult::handled)
                return true;
    if (auto* field = dynamic_cast<const TextField*>(&node->view.primitive()))
        return field->handleKey(*node, press, selectAllOnFocus);
    return false;
}

} // namespace SwiftUI
