#pragma once
// FirstResponderAwareTextField: a text field that watches its window's first
// responder and publishes (field, has focus) whenever it gains or loses keyboard
// focus, directly or through its field editor; subclasses react in
// handleResponderStatusChanged. The base of the library's text fields.
//
// How it follows focus. Joining a window subscribes to the window's first-responder
// publisher (the current responder at once, then every change), delivered on the main
// queue. Each delivery computes the status: true when the responder is the field or
// its current field editor; false otherwise, and false when the responder has gone
// (or there is none) — an absent responder and an absent editor are not a match.
// Only a status different from the one last published is sent, then handed to the
// hook. The subscription holds the field weakly, so a delivery that arrives after the
// field has gone does nothing; leaving the window, or moving to another, cancels the
// old window's subscription first.
// When the field goes, the publisher finishes.
// Reads no style. Thread: main.

#include <memory>
#include <utility>

#include "AppKit/NSTextField.h"
#include "Combine/Combine.h"

class FirstResponderAwareTextField : public NSTextField {
  public:
    explicit FirstResponderAwareTextField(CGRect frame = {}) : NSTextField(frame) {}
    ~FirstResponderAwareTextField() override;

    // (the field, whether it has focus) at each change; never fails.
    const PassthroughSubject<std::pair<std::shared_ptr<NSTextField>, bool>>&
    firstResponderPublisher() const {
        return publisher;
    }
    // The status last published (false at first).
    bool publishedFirstResponderStatus() const { return published; }

    void viewWillMoveToWindow(const std::shared_ptr<NSWindow>& newWindow) override;

  protected:
    // Called after each published change, with the new status; nothing here.
    virtual void handleResponderStatusChanged(bool newStatus) {}

  private:
    void responderChanged(const std::shared_ptr<NSResponder>& responder);

    PassthroughSubject<std::pair<std::shared_ptr<NSTextField>, bool>> publisher;
    bool published = false;
    AnyCancellableSet windowListenerCancellables;
};
