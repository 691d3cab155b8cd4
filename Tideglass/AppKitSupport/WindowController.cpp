#include "AppKitSupport/WindowController.h"

#include "AppKitSupport/WindowPlacement.h"
#include "Dispatch/Dispatch.h"
#include "SwiftUISupport/SheetWindow.h"

namespace {
constexpr const char* where = "Tideglass/NSWindowController+SwiftUI";
}

std::shared_ptr<NSWindow> WindowState::parentWindow() const {
    registrar.access(&window);
    return window.lock();
}

void WindowState::setParentWindow(const std::shared_ptr<NSWindow>& newWindow) {
    if (window.lock() == newWindow)
        return;
    window = newWindow;
    registrar.didChange(&window);
}

void HostingViewController::setSizingOptions(unsigned options) {
    Runtime::assertMainThread(where);
    sizingOptions = options;
    if (options & NSHostingSizingPreferredContentSize)
        preferredContentSize = hosting->view()->fittingSize();
}

void HostingViewController::loadView() {
    auto view = hosting->view();
    if (view->frame().size == CGSize{})
        view->setFrameSize(view->fittingSize());
    setView(view);
}

std::shared_ptr<WindowController> WindowController::build(SwiftUI::AnyView rootView,
                                                          std::optional<std::string> frameName,
                                                          unsigned sizingOptions,
                                                          Configure configure, bool sheet) {
    Runtime::assertMainThread(where);
    auto state = std::make_shared<WindowState>();
    auto controller = make<HostingViewController>(rootView.environment(state));
    controller->setSizingOptions(sizingOptions);
    std::shared_ptr<NSWindow> window;
    if (sheet) {
        window = NSWindow::withContentViewController<SheetWindow>(controller);
        window->preventsApplicationTerminationWhenModal = false;
    } else {
        window = NSWindow::withContentViewController(controller);
    }
    if (configure)
        configure(*window); // not kept
    auto windowController = make<WindowController>(window);
    if (frameName)
        windowController->setWindowFrameAutosaveName(*frameName);
    state->setParentWindow(window);
    return windowController;
}

void WindowController::showWindowCentered(NSObject* sender) {
    Runtime::assertMainThread(where);
    showWindow(sender);
    std::weak_ptr<WindowController> self = sharedAs<WindowController>();
    DispatchQueue::main().async([self] {
        Runtime::assertMainThread(where);
        auto controller = self.lock();
        if (controller && controller->window())
            properlyCenter(*controller->window());
    });
}
