#pragma once
// Stands in for NSButtonCell, the cell class of buttons, so that button cells of a
// library can name their platform superclass. Its drawing and tracking are NSCell's.
// Thread: main thread.

#include "AppKit/NSControl.h"

class NSButtonCell : public NSCell {
  protected:
    NSButtonCell() = default;
};
