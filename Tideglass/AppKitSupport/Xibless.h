#pragma once
// The control library builds its views and view controllers in code, never from
// interface files: a view controller whose view is a ContentView made with its plain
// initialiser, a view base class that prepares itself for Auto Layout and then runs
// its set-up hook, and a factory that prepares any view for Auto Layout.
// Thread: main thread only.

#include <memory>

#include "AppKit/NSView.h"
#include "AppKit/NSViewController.h"

// A view controller whose view is a new ContentView.
template <class ContentView> class XiblessVC : public NSViewController {
  public:
    // The controller's view as a ContentView (a view of another type is a fatal error).
    std::shared_ptr<ContentView> contentView() {
        auto content = std::dynamic_pointer_cast<ContentView>(view());
        if (!content)
            fatalError("Tideglass.XiblessVC: the controller's view is not its content view");
        return content;
    }

  protected:
    XiblessVC() { Runtime::assertMainThread("Tideglass/NSViewController+Xibless"); }
    void loadView() override {
        Runtime::assertMainThread("Tideglass/NSViewController+Xibless");
        setView(make<ContentView>());
    }
};

// A view made in code: zero frame, no autoresizing-mask constraints, then setupView().
class XiblessView : public NSView {
  protected:
    XiblessView() : NSView(CGRect{}) {
        Runtime::assertMainThread("Tideglass/NSViewController+Xibless");
        translatesAutoresizingMaskIntoConstraints = false;
    }
    // Runs once, after construction; the base does nothing.
    virtual void setupView() {}
    // Subclasses that override didInit call XiblessView::didInit() first.
    void didInit() override { setupView(); }
};

// A new view of the class with a zero frame, ready for Auto Layout.
template <class View = NSView> std::shared_ptr<View> autolayoutable() {
    auto view = make<View>();
    view->setFrame(CGRect{});
    view->translatesAutoresizingMaskIntoConstraints = false;
    return view;
}

// The view, ready for Auto Layout.
template <class View>
const std::shared_ptr<View>& autolayoutable(const std::shared_ptr<View>& view) {
    view->translatesAutoresizingMaskIntoConstraints = false;
    return view;
}
