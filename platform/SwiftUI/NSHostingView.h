#pragma once
// The AppKit views that show a tree of declarative views: NSHostingView lays the tree
// out at its own size, draws it in its drawRect (flipped: origin top-left), turns the
// mouse and key events it receives into pointer events and key presses for the tree,
// takes the window's keyboard while a text field inside is focused, and hands the
// window's scale factor to the views' environment. A state or observable change
// rebuilds the tree on the next run-loop turn and marks the view for display.
// NSHostingController owns a hosting view for a view-controller hierarchy.
// Thread: main.

#include <memory>

#include "AppKit/NSView.h"
#include "AppKit/NSViewController.h"
#include "SwiftUI/ViewGraph.h"

namespace SwiftUI {

class NSHostingView : public NSView {
  public:
    explicit NSHostingView(AnyView rootView);

    void setRootView(AnyView rootView);
    ViewGraph& graph() { return *graph_; }
    // The first hosting view in a view hierarchy, depth first (`view` itself first);
    // null when there is none.
    static std::shared_ptr<NSHostingView> firstIn(const std::shared_ptr<NSView>& view);
    // The size the root view takes when offered nothing in particular.
    CGSize fittingSize();

    bool isFlipped() const override { return true; }
    void drawRect(CGRect dirtyRect) override;
    void layout() override;
    void frameSizeDidChange(CGSize oldSize) override;
    void viewDidMoveToWindow() override;

    // AppKit view controllers inside the tree (NSViewControllerRepresentable): their
    // views are subviews drawn by the tree, and they appear while this view is in a
    // window.
    void embed(const std::shared_ptr<NSViewController>& controller);
    void unembed(const std::shared_ptr<NSViewController>& controller);
    bool drawsSubviewInContent(const NSView& subview) const override;

    bool acceptsFirstResponder() const override { return graph_->hasFocus(); }
    bool resignFirstResponder() override;
    void mouseDown(const NSEvent& event) override;
    void mouseDragged(const NSEvent& event) override;
    void mouseUp(const NSEvent& event) override;
    void keyDown(const NSEvent& event) override;
    void keyUp(const NSEvent& event) override;

  protected:
    void didInit() override;

  private:
    bool sendPointer(const NSEvent& event, PointerEvent::Phase phase);
    bool sendKey(const NSEvent& event, KeyPress::Phase phase);
    std::unique_ptr<ViewGraph> graph_;
    std::vector<std::shared_ptr<NSViewController>> embedded;
    bool embeddedAppeared = false;
};

// A controller of a hosting view (made at once) and the root view it shows.
class NSHostingController : public NSObject {
  public:
    explicit NSHostingController(AnyView rootView) : initialRoot(std::move(rootView)) {}
    const std::shared_ptr<NSHostingView>& view() const { return hostingView; }
    void setRootView(AnyView rootView) { hostingView->setRootView(std::move(rootView)); }

  protected:
    void didInit() override;

  private:
    AnyView initialRoot;
    std::shared_ptr<NSHostingView> hostingView;
};

// Event modifier flags of AppKit as the views' modifier set.
unsigned eventModifiers(uint64_t modifierFlags);

} // namespace SwiftUI
