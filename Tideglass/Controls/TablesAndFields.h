#pragma once
// The library's text fields, tables and the multi-knob slider's model and view, as
// far as the styles and palettes set them up. Their drawing and behaviour come with
// the classes themselves.
// Thread: main thread.

#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "AppKit/NSButton.h"
#include "AppKit/NSColor.h"
#include "AppKit/NSEventKeys.h"
#include "AppKit/NSTableView.h"
#include "AppKit/NSTextField.h"
#include "Combine/Combine.h"
#include "Controls/FirstResponderAwareTextField.h"
#include "Controls/SimpleTextViewPopover.h"
#include "Controls/StyledOutlineView.h"
#include "Controls/StyledTableHeader.h"
#include "Controls/StyledTableRows.h"
#include "Controls/StyledTableView.h"
#include "Controls/TableExtras.h"
#include "Controls/ValidatingTextField.h"

// The multi-knob slider's model: the value, none while the edited objects disagree.
class TideSliderModel : public NSObject {
  public:
    std::optional<double> value;

  protected:
    TideSliderModel() = default;
};

// The multi-knob slider view over a model.
struct TideSlider {
    std::shared_ptr<TideSliderModel> model;
    CGFloat knobYPosition = 12;
    int maxKnobs = 5;
    // What a drag changes while it runs.
    CGFloat dragOffset = 0;
    CGFloat sliderPosition = 0;
    CGFloat distanceDragged = 0;
    CGFloat sliderWidth = 1;
};
