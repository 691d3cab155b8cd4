#pragma once
// Stands in for NSViewController: an object that owns a view, made on first request
// by loadView (a plain view of the preferred content size unless overridden), with
// viewDidLoad and the appearance hooks for subclasses. Windows can be given a view
// controller, whose view becomes their content view.
// Left out: nibs and storyboards, child view controllers, presentation, transitions,
// represented objects. Thread: main thread; the entry points check it.

#include <memory>
#include <string>

#include "AppKit/NSView.h"

class NSViewController : public NSResponder {
  public:
    // The view, loaded on first use (loadView, then viewDidLoad).
    const std::shared_ptr<NSView>& view();
    void setView(std::shared_ptr<NSView> view);
    bool isViewLoaded() const { return view_ != nullptr; }
    void loadViewIfNeeded() { view(); }

    std::string title;
    CGSize preferredContentSize;

    // Appearance hooks, called by whoever shows the view (a window, a host).
    virtual void viewWillAppear() {}
    virtual void viewDidAppear() {}
    virtual void viewWillDisappear() {}
    virtual void viewDidDisappear() {}

  protected:
    NSViewController() = default;
    // Makes the view; the default is a plain view of the preferred content size.
    virtual void loadView();
    virtual void viewDidLoad() {}

  private:
    std::shared_ptr<NSView> view_;
    bool loading = false;
};
