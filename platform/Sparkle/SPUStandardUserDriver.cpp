#include "Sparkle/SPUStandardUserDriver.h"

#include "AppKit/NSApplication.h"
#include "AppKit/NSButton.h"
#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSWindow.h"
#include "Foundation/Bundle.h"

namespace {

constexpr CGFloat width = 340, height = 130;

class MessageView : public NSView {
  public:
    MessageView(CGRect frame, std::string headline, std::string detail)
        : NSView(frame), headline(std::move(headline)), detail(std::move(detail)) {}
    bool isFlipped() const override { return true; }
    void drawRect(CGRect) override {
        auto context = NSGraphicsContext::current();
        if (!context)
            return;
        CGTextOptions wrapped;
        wrapped.width = width - 40;
        wrapped.maximumLines = 3;
        context->cgContext().drawText(headline, CGFont::system(13, CGFont::bold),
                                      CGColor::rgb(0.95, 0.93, 0.89), {20, 18, width - 40, 20},
                                      wrapped);
        context->cgContext().drawText(detail, CGFont::system(11), CGColor::rgb(0.75, 0.72, 0.67),
                                      {20, 42, width - 40, 44}, wrapped);
    }
    std::string headline, detail;
};

// The dialog's window: Escape closes it, as a dialog's cancel does.
class DialogWindow : public NSWindow {
  public:
    using NSWindow::NSWindow;
    void cancelOperation(NSObject*) override { orderOut(); }
};

// Closes the dialog when its button is pressed.
class Closer : public NSObject {
  public:
    explicit Closer(std::weak_ptr<NSWindow> window) : window(std::move(window)) {}
    void close(NSObject*) {
        if (auto w = window.lock())
            w->orderOut();
    }
    std::weak_ptr<NSWindow> window;
};

std::string applicationName() {
    const PropertyListValue* v = Bundle::main()->object("CFBundleName");
    return v && v->string() ? *v->string() : "The application";
}

} // namespace

void SPUStandardUserDriver::show(std::string headline, std::string detail) {
    headline_ = std::move(headline);
    detail_ = std::move(detail);
    if (!window_) {
        window_ = make<DialogWindow>(CGRect{0, 0, width, height},
                                     uint64_t(NSWindow::titled | NSWindow::closable));
        window_->title = "Software Update";
        window_->identifier = "software-update";
        window_->backgroundColor = NSColor::rgb(0.09, 0.082, 0.075);
    }
    auto content = make<MessageView>(CGRect{0, 0, width, height}, headline_, detail_);
    auto button = make<NSButton>(CGRect{width - 100, height - 40, 80, 24});
    button->setTitle("OK");
    button->keyEquivalent = "\r"; // the default button
    auto closer = make<Closer>(window_);
    button->setTarget(closer);
    button->setAction(NSAction(&Closer::close));
    button->setAssociatedObject(this, closer);
    content->addSubview(button);
    window_->setContentView(content);
    // Space presses OK too: it has the keyboard focus.
    window_->makeFirstResponder(button);
    NSApplication::shared().presentWindow(window_);
}

void SPUStandardUserDriver::showUserInitiatedUpdateCheck() {
    show("Checking for updates…", "");
}

void SPUStandardUserDriver::showUpdateFound(const std::string& version) {
    show("A new version of " + applicationName() + " is available!",
         "Version " + version + " is available. Download it from the maker's web site.");
}

void SPUStandardUserDriver::showUpdateNotFound() {
    show("You're up to date!", applicationName() + " is the newest version available.");
}

void SPUStandardUserDriver::showUpdaterError(const std::string& message) {
    show("Update check failed", message);
}
