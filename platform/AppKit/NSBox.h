#pragma once
// Stands in for NSBox as far as separators go: a view of a box type; a separator
// draws a one-point line across its longer side in the separator colour.
// Left out: titles, borders and fills of the primary and custom types, content views.
// Thread: main thread.

#include "AppKit/NSView.h"

class NSBox : public NSView {
  public:
    enum class BoxType { primary = 0, separator = 2, custom = 4 };

    explicit NSBox(CGRect frame = {}) : NSView(frame) {}
    BoxType boxType = BoxType::primary;

    void drawRect(CGRect dirtyRect) override;
};
