#pragma once
// NSViewControllerRepresentable: an AppKit view controller inside a tree of declarative
// views. Write a value with
//     std::shared_ptr<C> makeNSViewController(Context&) const;
//     void updateNSViewController(C& controller, Context&) const;
// deriving NSViewControllerRepresentable<Self, C>. The controller is made once, when the
// view is first built, and kept while the view stays in the tree; every rebuild calls
// update. Its view becomes a subview of the hosting view, framed where the layout puts
// the representable (it takes the size offered), and is drawn in the tree's order, so
// views stacked above it cover it. It sees viewWillAppear/viewDidAppear once the hosting
// view is in a window (at once when it already is) and viewWillDisappear/
// viewDidDisappear when it leaves the tree or the window.
// Thread: main.

#include <functional>
#include <memory>

#include "AppKit/NSViewController.h"
#include "SwiftUI/View.h"

namespace SwiftUI {

struct RepresentableContext {
    const EnvironmentValues& environment;
};

namespace detail {

class HostedController final : public View<HostedController>, public Primitive {
  public:
    using Maker = std::function<std::shared_ptr<NSViewController>(RepresentableContext&)>;
    using Updater = std::function<void(NSViewController&, RepresentableContext&)>;
    HostedController(Maker make, Updater update)
        : makeController(std::move(make)), update(std::move(update)) {}
    void build(Node& node, ViewContext& ctx) const override;
    CGSize sizeThatFits(Node& node, ProposedViewSize proposal) const override;
    void placeChildren(Node& node, ProposedViewSize proposal) const override;
    void render(const Node& node, CGContext& context) const override;
    Maker makeController;
    Updater update;
};

} // namespace detail

template <class Self, class Controller> class NSViewControllerRepresentable : public View<Self> {
  public:
    using Context = RepresentableContext;
    AnyView body() const {
        const Self copy = static_cast<const Self&>(*this);
        return AnyView(detail::HostedController(
            [copy](Context& c) -> std::shared_ptr<NSViewController> {
                return copy.makeNSViewController(c);
            },
            [copy](NSViewController& controller, Context& c) {
                copy.updateNSViewController(static_cast<Controller&>(controller), c);
            }));
    }
};

// The controller a representable node holds (tests and tools); null for other nodes.
std::shared_ptr<NSViewController> hostedController(const class Node& node);

} // namespace SwiftUI
