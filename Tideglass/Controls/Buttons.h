#pragma once
// The library's buttons and button cells, one family per header (included here), and
// the fixed-size push button's cell with its title and bezel margins.
// Thread: main thread.

#include <memory>
#include <optional>

#include "AppKit/NSButton.h"
#include "AppKit/NSButtonCell.h"
#include "AppKit/NSCursor.h"
#include "Controls/CornerButton.h"
#include "Controls/CursorButton.h"
#include "Controls/StyledButton.h"
#include "Controls/StyledCheckBox.h"

// The cell of the library's push button: fixed title and bezel margins.
class QuarroPushButtonCell : public NSButtonCell {
  public:
    NSEdgeInsets titleEdgeInsets{4, 0, 6, 0};
    NSEdgeInsets edgeInsets{3, 4, 5, 4};
};
