#pragma once
// A declarative view in its own AppKit window: the view is wrapped in a hosting
// controller, given an observable WindowState through its environment so that it
// can reach the window that hosts it, and shown in a window (a plain one or a sheet
// window) that the caller may adjust; the window's frame can be kept under an
// autosave name. showWindowCentered shows the window and centres it once it has
// been laid out.
// Ownership: the controller owns its window, the window its content view
// controller, which owns the hosting controller; the hosting view's environment
// owns the WindowState, which holds the window weakly.
// Thread: main thread only.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "AppKit/NSViewController.h"
#include "AppKit/NSWindowController.h"
#include "Observation/Observation.h"
#include "SwiftUI/NSHostingView.h"
#include "SwiftUI/SwiftUI.h"

// How a hosting controller sizes its window from its view.
enum NSHostingSizingOptions : unsigned {
    NSHostingSizingNone = 0,
    NSHostingSizingMinSize = 1u << 0,
    NSHostingSizingIntrinsicContentSize = 1u << 1,
    NSHostingSizingMaxSize = 1u << 2,
    NSHostingSizingPreferredContentSize = 1u << 3,
};

// The window that hosts a view, for the view to read from its environment.
class WindowState {
  public:
    // A tracked read.
    std::shared_ptr<NSWindow> parentWindow() const;
    // Notifies observers only when the window is another one.
    void setParentWindow(const std::shared_ptr<NSWindow>& window);

  private:
    std::weak_ptr<NSWindow> window;
    ObservationRegistrar registrar;
};

// The view controller that presents a hosting controller's view in a window.
class HostingViewController : public NSViewController {
  public:
    const std::shared_ptr<SwiftUI::NSHostingController>& hostingController() const {
        return hosting;
    }
    // With preferredContentSize, the controller's preferred size is the view's fitting size.
    unsigned sizingOptions = NSHostingSizingNone;
    void setSizingOptions(unsigned options);

  protected:
    explicit HostingViewController(SwiftUI::AnyView rootView)
        : hosting(make<SwiftUI::NSHostingController>(std::move(rootView))) {}
    void loadView() override;

  private:
    std::shared_ptr<SwiftUI::NSHostingController> hosting;
};

class WindowController : public NSWindowController {
  public:
    using Configure = std::function<void(NSWindow&)>;

    // The controller of a new plain window showing `rootView`.
    template <SwiftUI::ViewLike Content>
    static std::shared_ptr<WindowController>
    withRootView(Content rootView, std::optional<std::string> frameName = std::nullopt,
                 unsigned sizingOptions = NSHostingSizingNone, Configure configure = {}) {
        return build(SwiftUI::AnyView(std::move(rootView)), std::move(frameName), sizingOptions,
                     std::move(configure), false);
    }
    // The same with a sheet window, which does not keep the application from
    // terminating while it is modal.
    template <SwiftUI::ViewLike Content>
    static std::shared_ptr<WindowController>
    withRootSheetView(Content rootView, std::optional<std::string> frameName = std::nullopt,
                      unsigned sizingOptions = NSHostingSizingNone, Configure configure = {}) {
        return build(SwiftUI::AnyView(std::move(rootView)), std::move(frameName), sizingOptions,
                     std::move(configure), true);
    }

    // Shows the window, then centres it on the next turn of the main queue, when it
    // has its laid-out size. Without a window nothing is shown or centred.
    void showWindowCentered(NSObject* sender);

  protected:
    explicit WindowController(std::shared_ptr<NSWindow> window)
        : NSWindowController(std::move(window)) {}

  private:
    static std::shared_ptr<WindowController> build(SwiftUI::AnyView rootView,
                                                   std::optional<std::string> frameName,
                                                   unsigned sizingOptions, Configure configure,
                                                   bool sheet);
};
