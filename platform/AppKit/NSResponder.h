#pragma once
// Stands in for NSResponder: the chain of objects that handle events. Every handler
// passes the event on to the next responder unless a subclass handles it (a view's
// next responder is its superview, a content view's is its window).
// A responder may carry a menu (a view's context menu, a pop-up button's choices).
// Left out: action messages through the chain other than NSControl's, key-view
// loops, undo managers. Thread: main thread.

#include <memory>

#include "AppKit/NSEvent.h"
#include "Runtime/Runtime.h"

class NSMenu;

class NSResponder : public NSObject {
  public:
    virtual std::shared_ptr<NSMenu> menu() const { return menu_; }
    virtual void setMenu(std::shared_ptr<NSMenu> menu) { menu_ = std::move(menu); }

    std::shared_ptr<NSResponder> nextResponder() const { return next.lock(); }
    void setNextResponder(std::weak_ptr<NSResponder> responder) { next = std::move(responder); }

    virtual bool acceptsFirstResponder() const { return false; }
    virtual bool becomeFirstResponder() { return true; }
    virtual bool resignFirstResponder() { return true; }

    virtual void mouseDown(const NSEvent& event) { forward(&NSResponder::mouseDown, event); }
    virtual void mouseDragged(const NSEvent& event) { forward(&NSResponder::mouseDragged, event); }
    virtual void mouseUp(const NSEvent& event) { forward(&NSResponder::mouseUp, event); }
    virtual void rightMouseDown(const NSEvent& event) {
        forward(&NSResponder::rightMouseDown, event);
    }
    virtual void rightMouseDragged(const NSEvent& event) {
        forward(&NSResponder::rightMouseDragged, event);
    }
    virtual void rightMouseUp(const NSEvent& event) { forward(&NSResponder::rightMouseUp, event); }
    virtual void mouseMoved(const NSEvent& event) { forward(&NSResponder::mouseMoved, event); }
    virtual void mouseEntered(const NSEvent& event) { forward(&NSResponder::mouseEntered, event); }
    virtual void mouseExited(const NSEvent& event) { forward(&NSResponder::mouseExited, event); }
    virtual void cursorUpdate(const NSEvent& event) { forward(&NSResponder::cursorUpdate, event); }
    virtual void scrollWheel(const NSEvent& event) { forward(&NSResponder::scrollWheel, event); }
    virtual void keyDown(const NSEvent& event) { forward(&NSResponder::keyDown, event); }
    virtual void keyUp(const NSEvent& event) { forward(&NSResponder::keyUp, event); }
    virtual void flagsChanged(const NSEvent& event) { forward(&NSResponder::flagsChanged, event); }
    // Escape or Command-period that nothing handled as a key (the window sends it).
    virtual void cancelOperation(NSObject* sender) {
        if (auto n = nextResponder())
            n->cancelOperation(sender);
    }

  protected:
    NSResponder() = default;

  private:
    void forward(void (NSResponder::*handler)(const NSEvent&), const NSEvent& event) {
        if (auto n = nextResponder())
            ((*n).*handler)(event);
    }
    std::weak_ptr<NSResponder> next;
    std::shared_ptr<NSMenu> menu_;
};
