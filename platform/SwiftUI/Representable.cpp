#include "SwiftUI/Representable.h"

#include "AppKit/NSGraphicsContext.h"
#include "SwiftUI/NSHostingView.h"
#include "SwiftUI/ViewGraph.h"

namespace SwiftUI {
namespace detail {
namespace {

// What a representable node keeps: its controller, embedded in the hosting view until
// the node goes.
struct Embedding {
    std::shared_ptr<NSViewController> controller;
    std::weak_ptr<NSHostingView> host;
    ~Embedding() {
        if (auto h = host.lock())
            h->unembed(controller);
    }
};

// Puts the controller into the hosting view once there is one.
void embedIfHosted(Node& node, Embedding& embedding) {
    if (!embedding.controller || !embedding.host.expired())
        return;
    auto host = std::dynamic_pointer_cast<NSHostingView>(node.environment.hostingView.lock());
    if (!host)
        return;
    embedding.host = host;
    host->embed(embedding.controller);
}

} // namespace

void HostedController::build(Node& node, ViewContext& ctx) const {
    RepresentableContext context{node.environment};
    auto embedding = std::static_pointer_cast<Embedding>(node.layoutMemo);
    if (!embedding) {
        embedding = std::make_shared<Embedding>();
        embedding->controller = makeController(context);
        node.layoutMemo = embedding;
    }
    embedIfHosted(node, *embedding);
    if (embedding->controller)
        update(*embedding->controller, context);
}

CGSize HostedController::sizeThatFits(Node& node, ProposedViewSize proposal) const {
    auto embedding = std::static_pointer_cast<Embedding>(node.layoutMemo);
    CGSize own = embedding && embedding->controller ? embedding->controller->view()->frame().size
                                                    : CGSize{10, 10};
    return {proposal.width.value_or(own.width), proposal.height.value_or(own.height)};
}

void HostedController::placeChildren(Node& node, ProposedViewSize) const {
    auto embedding = std::static_pointer_cast<Embedding>(node.layoutMemo);
    if (embedding)
        embedIfHosted(node, *embedding);
    if (embedding && embedding->controller)
        // The hosting view is flipped: its coordinates are the tree's.
        embedding->controller->view()->setFrame(node.frameInRoot());
}

void HostedController::render(const Node& node, CGContext& context) const {
    auto embedding = std::static_pointer_cast<Embedding>(node.layoutMemo);
    auto current = NSGraphicsContext::current();
    if (!embedding || !embedding->controller || !current || &current->cgContext() != &context)
        return;
    const auto& view = embedding->controller->view();
    if (view->superview() != embedding->host.lock())
        return;
    context.saveGState();
    context.concatenate(node.transformToRoot().inverted());
    view->drawHierarchy(current->sharedCGContext());
    context.restoreGState();
}

} // namespace detail

std::shared_ptr<NSViewController> hostedController(const Node& node) {
    if (!dynamic_cast<const detail::HostedController*>(&node.view.primitive()))
        return nullptr;
    auto embedding = std::static_pointer_cast<detail::Embedding>(node.layoutMemo);
    return embedding ? embedding->controller : nullptr;
}

} // namespace SwiftUI
