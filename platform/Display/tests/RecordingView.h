#pragma once
// Test support: a view that paints a known picture (a red rectangle on blue) and
// records every event that reaches it.

#include <string>
#include <vector>

#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSView.h"

struct SeenEvent {
    NSEvent::Type type;
    CGPoint at;
    int clicks;
    uint64_t flags;
    std::string chars;
    uint16_t keyCode;
    CGFloat deltaY;
};

class RecordingView : public NSView {
  public:
    using NSView::NSView;
    // Where the red rectangle is, in the view's (bottom-left, y-up) points.
    static constexpr CGRect redRect{{20, 20}, {60, 40}};

    std::vector<SeenEvent> seen;
    int draws = 0;

    bool acceptsFirstResponder() const override { return true; }
    void mouseDown(const NSEvent& e) override { note(e); }
    void mouseDragged(const NSEvent& e) override { note(e); }
    void mouseUp(const NSEvent& e) override { note(e); }
    void rightMouseDown(const NSEvent& e) override { note(e); }
    void rightMouseUp(const NSEvent& e) override { note(e); }
    void scrollWheel(const NSEvent& e) override { note(e); }
    void keyDown(const NSEvent& e) override { note(e); }
    void keyUp(const NSEvent& e) override { note(e); }
    void flagsChanged(const NSEvent& e) override { note(e); }

    void drawRect(CGRect) override {
        ++draws;
        CGContext& c = NSGraphicsContext::current()->cgContext();
        c.setFillColor(CGColor::rgb(0, 0, 1, 1));
        c.fillRect(bounds());
        c.setFillColor(CGColor::rgb(1, 0, 0, 1));
        c.fillRect(redRect);
    }

    std::vector<SeenEvent> ofType(NSEvent::Type type) const {
        std::vector<SeenEvent> out;
        for (const auto& e : seen)
            if (e.type == type)
                out.push_back(e);
        return out;
    }

  private:
    void note(const NSEvent& e) {
        seen.push_back({e.type(), e.locationInWindow(), e.clickCount(), e.modifierFlags(),
                        e.characters(), e.keyCode(), e.scrollingDeltaY()});
    }
};
