#pragma once
// NSViewRepresentable: an AppKit view inside a tree of declarative views, with a
// coordinator of the representable's own (typically the AppKit view's delegate). Write a
// value with
//     std::shared_ptr<Coordinator> makeCoordinator() const;
//     std::shared_ptr<V> makeNSView(Context&) const;
//     void updateNSView(V& view, Context&) const;
// deriving NSViewRepresentable<Self, V, Coordinator>. When the view is first built the
// coordinator is made, then the view, then update runs; both are kept while the
// representable stays in the tree, and every rebuild calls update with the same
// coordinator and the environment in force there. The view is shown as an embedded view
// controller's view (Representable.h): framed where the layout puts it, drawn in the
// tree's order, taking its own events.
// Thread: main.

#include <memory>

#include "AppKit/NSViewController.h"
#include "SwiftUI/Environment.h"
#include "SwiftUI/Representable.h"
#include "SwiftUI/View.h"

namespace SwiftUI {

// What make and update are given: the coordinator and the environment.
template <class Coordinator> struct NSViewRepresentableContext {
    std::shared_ptr<Coordinator> coordinator;
    EnvironmentValues environment;
};

namespace detail {
// The plain controller that shows a representable's view and keeps its coordinator.
class RepresentedViewController : public NSViewController {
  public:
    std::shared_ptr<void> coordinator;
};
} // namespace detail

template <class Self, class NSViewType, class Coordinator>
class NSViewRepresentable : public View<Self> {
  public:
    using Context = NSViewRepresentableContext<Coordinator>;

    AnyView body() const {
        const Self copy = static_cast<const Self&>(*this);
        return AnyView(detail::HostedController(
            [copy](RepresentableContext& c) -> std::shared_ptr<NSViewController> {
                auto controller = make<detail::RepresentedViewController>();
                Context context{copy.makeCoordinator(), c.environment};
                controller->coordinator = context.coordinator;
                controller->setView(copy.makeNSView(context));
                return controller;
            },
            [copy](NSViewController& controller, RepresentableContext& c) {
                auto& represented = static_cast<detail::RepresentedViewController&>(controller);
                Context context{std::static_pointer_cast<Coordinator>(represented.coordinator),
                                c.environment};
                copy.updateNSView(static_cast<NSViewType&>(*controller.view()), context);
            }));
    }
};

} // namespace SwiftUI
