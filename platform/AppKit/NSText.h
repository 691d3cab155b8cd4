#pragma once
// Stands in for NSText in its one role here: the field editor, the text object a
// window puts in front of a control while the user edits the control's text. The
// control being edited is the editor's delegate; while the editor is the window's
// first responder it is that control's current editor (NSControl::currentEditor).
// Left out: text storage, selection, typing, the text view behind it.
// Thread: main thread.

#include <memory>

#include "AppKit/NSView.h"

class NSText : public NSView {
  public:
    explicit NSText(CGRect frame = {}) : NSView(frame) {}

    bool acceptsFirstResponder() const override { return true; }

    // The object whose text is being edited (weak).
    std::shared_ptr<NSObject> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<NSObject> delegate) { delegate_ = std::move(delegate); }

  private:
    std::weak_ptr<NSObject> delegate_;
};
