#pragma once
// The library's buttons and button cells, as far as the styles and palettes set them
// up: the styled push button's optional fixed width, the cursor button's cursor, the
// dark-highlight button's cursor, the push-button cell's insets and the check-box
// cell's box offset. Drawing, tracking and layout come with the controls themselves.
// Thread: main thread.

#include <memory>
#include <optional>

#include "AppKit/NSButton.h"
#include "AppKit/NSButtonCell.h"
#include "AppKit/NSCursor.h"
#include "Controls/StyledButton.h"
#include "Controls/StyledCheckBox.h"

// A plain button that shows a cursor of its own while the pointer is over it.
class CursorButton : public NSButton {
  public:
    // The cursor art is the application's image "cursor-cycle": a program without
    // it ends with a message naming it.
    explicit CursorButton(CGRect frame = {});

    std::shared_ptr<NSImage> cursorImage;
    CGPoint cursorHotSpot{3, 4};
};

// A plain image button drawn with a dark highlight, showing `customCursor` over it.
class DarkHighlightButton : public NSButton {
  public:
    explicit DarkHighlightButton(CGRect frame = {}) : NSButton(frame) {}

    std::shared_ptr<NSCursor> customCursor = NSCursor::arrow();
};

// The cell of the library's push button: fixed title and bezel margins.
class QuarroPushButtonCell : public NSButtonCell {
  public:
    NSEdgeInsets titleEdgeInsets{4, 0, 6, 0};
    NSEdgeInsets edgeInsets{3, 4, 5, 4};
};
