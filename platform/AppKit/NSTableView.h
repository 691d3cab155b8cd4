#pragma once
// Stands in for the table classes, so that a library's tables can name their
// platform superclasses: the table view, its header view, a header cell and a row
// view. Left out: columns, rows, data sources and delegates, drawing and selection.
// Thread: main thread.

#include "AppKit/NSControl.h"

class NSTableView : public NSControl {
  public:
    explicit NSTableView(CGRect frame = {}) : NSControl(frame) {}
};

class NSTableHeaderView : public NSView {
  public:
    explicit NSTableHeaderView(CGRect frame = {}) : NSView(frame) {}
};

class NSTableHeaderCell : public NSCell {
  protected:
    NSTableHeaderCell() = default;
};

class NSTableRowView : public NSView {
  public:
    explicit NSTableRowView(CGRect frame = {}) : NSView(frame) {}
};
