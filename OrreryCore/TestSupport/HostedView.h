#pragma once
// Test support for the framework's views: a view tree in a hosting view in a window,
// driven by injected mouse and key events, with what it draws as a display list; and
// a recorder of the writes that reach a parameter's host-visible side.
// Thread: main (the test's thread).

#include "AppKit/NSWindow.h"
#include "CoreGraphics/CGContext.h"
#include "Foundation/RunLoop.h"
#include "Parameters/AudioParameter.h"
#include "SwiftUI/NSHostingView.h"
#include "SwiftUI/SwiftUI.h"

#include <memory>
#include <string>
#include <vector>

class HostedView {
  public:
    using Type = NSEvent::Type;

    HostedView(SwiftUI::AnyView root, CGSize size, CGFloat scale = 1)
        : window(make<NSWindow>(CGRect{{0, 0}, size})) {
        window->setBackingScaleFactor(scale);
        host = make<SwiftUI::NSHostingView>(std::move(root));
        window->setContentView(host);
        turn();
    }
    // A content view made elsewhere (a view controller's) with a hosting view inside,
    // the first one found depth first.
    HostedView(std::shared_ptr<NSView> contentView, CGSize size, CGFloat scale = 1)
        : window(make<NSWindow>(CGRect{{0, 0}, size})) {
        window->setBackingScaleFactor(scale);
        window->setContentView(contentView);
        host = SwiftUI::NSHostingView::firstIn(contentView);
        turn();
    }

    // Runs the main queue (parameter mirrors, rebuilds) and lays the window out.
    void turn() {
        RunLoop::main().runUntilIdle();
        window->layoutIfNeeded();
    }

    // Mouse events at points of the hosting view (origin top-left, y down).
    void mouse(Type type, CGPoint p, uint64_t flags = 0, int clicks = 1) {
        window->sendEvent(NSEvent::mouse(type, host->convertToView(p, nullptr), flags, clicks));
        turn();
    }
    void press(CGPoint p, uint64_t flags = 0, int clicks = 1) {
        mouse(Type::leftMouseDown, p, flags, clicks);
    }
    void drag(CGPoint p, uint64_t flags = 0) { mouse(Type::leftMouseDragged, p, flags); }
    void release(CGPoint p, uint64_t flags = 0, int clicks = 1) {
        mouse(Type::leftMouseUp, p, flags, clicks);
    }
    void click(CGPoint p, uint64_t flags = 0, int clicks = 1) {
        press(p, flags, clicks);
        release(p, flags, clicks);
    }
    void doubleClick(CGPoint p, uint64_t flags = 0) {
        click(p, flags, 1);
        click(p, flags, 2);
    }
    void key(const std::string& characters) {
        window->sendEvent(NSEvent::key(Type::keyDown, characters, 0));
        turn();
    }
    void type(const std::string& text) {
        for (char c : text)
            key(std::string(1, c));
    }

    // What the window draws now.
    std::vector<CGDisplayItem> drawn() {
        turn();
        return window->snapshot(true)->displayList();
    }
    // The names of the images drawn, in drawing order.
    std::vector<std::string> images() {
        std::vector<std::string> names;
        for (const auto& item : drawn())
            if (item.kind == CGDisplayItem::Kind::image)
                names.push_back(item.imageName);
        return names;
    }
    // The text runs drawn, in drawing order.
    std::vector<CGDisplayItem> texts() {
        std::vector<CGDisplayItem> runs;
        for (const auto& item : drawn())
            if (item.kind == CGDisplayItem::Kind::text)
                runs.push_back(item);
        return runs;
    }

    std::shared_ptr<NSWindow> window;
    std::shared_ptr<SwiftUI::NSHostingView> host;
};

// The writes a parameter passes to its host-visible side, as (event, value) pairs.
class ParameterRecorder {
  public:
    using Event = AUParameterAutomationEventType;
    struct Write {
        Event event;
        float value;
        bool operator==(const Write&) const = default;
    };

    explicit ParameterRecorder(std::shared_ptr<AudioParameter> p) : param(std::move(p)) {
        param->auParameter->tokenByAddingParameterAutomationObserver(
            [this](const AUParameterAutomationEvent& e) {
                writes.push_back({e.eventType, e.value});
            });
    }
    SwiftUI::Binding<std::shared_ptr<AudioParameter>> binding() const {
        auto p = param;
        return SwiftUI::Binding<std::shared_ptr<AudioParameter>>::constant(p);
    }

    std::shared_ptr<AudioParameter> param;
    std::vector<Write> writes;
};

inline std::ostream& operator<<(std::ostream& out, const ParameterRecorder::Write& w) {
    static const char* names[] = {"change", "begin", "end"};
    return out << names[int(w.event)] << " " << w.value;
}
