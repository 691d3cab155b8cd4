#pragma once
// Stands in for NSSegmentedCell, the cell class of segmented controls, so that a
// library's segmented cell can name its platform superclass.
// Left out: segments, their labels, widths and selection.
// Thread: main thread.

#include "AppKit/NSControl.h"

class NSSegmentedCell : public NSCell {
  protected:
    NSSegmentedCell() = default;
};
