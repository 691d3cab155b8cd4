#pragma once
// Stands in for NSButtonCell, the cell class of buttons: the title and image of
// NSCell, an alternate image, and the masks that say how the cell shows its state and
// its pressing — with contentsCellMask the alternate image replaces the image while
// the state is on (showsStateBy) or while the cell is highlighted (highlightsBy). The
// interior is the shown image centred (at half strength when disabled), then the title.
// A cell without a title is as large as its image. The bezel styles, image positions
// and scalings are kept as settings with the platform's raw values.
// Thread: main thread.

#include <memory>

#include "AppKit/NSControl.h"

// What shows a cell's state or pressing (NSCell.StyleMask).
enum NSCellStyleMask : unsigned {
    noCellMask = 0,
    contentsCellMask = 1,
    pushInCellMask = 2,
    changeGrayCellMask = 4,
    changeBackgroundCellMask = 8,
};

enum class NSBezelStyle : int {
    push = 1,
    flexiblePush = 2, // regular square
    disclosure = 5,
    shadowlessSquare = 6,
    circular = 7,
    texturedSquare = 8,
    helpButton = 9,
    smallSquare = 10,
    texturedRounded = 11,
    roundRect = 12,
    recessed = 13,
    roundedDisclosure = 14,
    inline_ = 15,
};

enum class NSCellImagePosition : int {
    noImage = 0,
    imageOnly = 1,
    imageLeft = 2,
    imageRight = 3,
    imageBelow = 4,
    imageAbove = 5,
    imageOverlaps = 6,
    imageLeading = 7,
    imageTrailing = 8,
};

enum class NSImageScaling : int {
    scaleProportionallyDown = 0,
    scaleAxesIndependently = 1,
    scaleNone = 2,
    scaleProportionallyUpOrDown = 3,
};

class NSButtonCell : public NSCell {
  public:
    std::shared_ptr<NSImage> alternateImage;
    unsigned showsStateBy = noCellMask;
    unsigned highlightsBy = pushInCellMask;
    NSBezelStyle bezelStyle = NSBezelStyle::push;
    NSCellImagePosition imagePosition = NSCellImagePosition::noImage;
    NSImageScaling imageScaling = NSImageScaling::scaleProportionallyDown;

    // The image shown now (see above).
    std::shared_ptr<NSImage> shownImage() const;
    void drawInteriorWithFrame(CGRect cellFrame, NSView& controlView) override;
    CGSize cellSize() const override;

  protected:
    NSButtonCell() = default;
};
