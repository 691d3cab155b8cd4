#pragma once
// NSViewRepresentable: an AppKit view inside a tree of declarative views, with a
// coordinator of the representable's own (typically the AppKit view's delegate). Write a
// value with
//     std::shared_ptr<Coordinator> makeCoordinator() const;
//     std::shared_ptr<V> makeNSView(Context&) const;
//     void updateNSView(V& view, Context&) const;
// deriving NSViewRepresentable<Self, V, Coordinator>. The coordinator is made first, once,
// then the view, also once, while the representable stays in the tree; every rebuild
// calls update with the same coordinator and the environment in force there.
// Thread: main.

#include <memory>

#include "SwiftUI/Environment.h"
#include "SwiftUI/View.h"

namespace SwiftUI {

// What make and update are given: the coordinator and the environment.
template <class Coordinator> struct NSViewRepresentableContext {
    std::shared_ptr<Coordinator> coordinator;
    EnvironmentValues environment;
};

template <class Self, class NSViewType, class Coordinator>
class NSViewRepresentable : public View<Self> {
  public:
    using Context = NSViewRepresentableContext<Coordinator>;
};

} // namespace SwiftUI
