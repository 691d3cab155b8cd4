#pragma once
// Stands in for NSTextField: a control that shows (and, editable, takes) a line of
// text. Left out: editing through the field editor, placeholders, bezels.
// Thread: main thread.

#include "AppKit/NSControl.h"

class NSTextField : public NSControl {
  public:
    explicit NSTextField(CGRect frame = {}) : NSControl(frame) {}

    bool acceptsFirstResponder() const override { return cell()->isEditable; }
};
