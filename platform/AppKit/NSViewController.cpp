#include "AppKit/NSViewController.h"

const std::shared_ptr<NSView>& NSViewController::view() {
    Runtime::assertMainThread("NSViewController.view");
    if (!view_ && !loading) {
        loading = true;
        loadView();
        loading = false;
        if (!view_)
            fatalError("NSViewController: loadView did not set a view");
        viewDidLoad();
    }
    return view_;
}

void NSViewController::setView(std::shared_ptr<NSView> view) {
    Runtime::assertMainThread("NSViewController.setView");
    if (view_)
        view_->controller.reset();
    view_ = std::move(view);
    // The controller follows its view in the responder chain, before its superview.
    if (view_) {
        std::weak_ptr<NSResponder> parent = view_->nextResponder();
        view_->controller = weakAs<NSResponder>();
        view_->linkResponders(parent);
    }
}

void NSViewController::loadView() {
    setView(make<NSView>(CGRect{{0, 0}, preferredContentSize}));
}
