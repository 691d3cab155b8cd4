#pragma once
// Stands in for NSButtonCell: the cell that draws and tracks a button. It keeps the
// button's type and what that type shows — the highlight and state masks — its bezel
// style, its image with its position and scaling, an alternate image and the
// (attributed) title, and draws in steps that a subclass replaces one by one:
//   drawWithFrame      the bezel (when bordered or bezeled), then the interior
//   drawBezel          the platform's bezel: a rounded panel, darker while pushed in
//   drawInterior       the image (drawImage) in imageRectForBounds, then the title
//                      (drawTitle) in titleRectForBounds
// Geometry, as simple stated rules (the platform's own metrics are not copied):
//   drawingRectForBounds  the bounds inset by 2 points on every side when bordered or
//                         bezeled, else the bounds;
//   imageRectForBounds    the image's size placed in the drawing rectangle by the image
//                         position — centred for image-only and overlapping, at the left
//                         (leading) or right (trailing) edge centred vertically, at the
//                         top (above) or bottom (below) edge centred horizontally, "top"
//                         being the control view's visual top; zero without an image or
//                         with no-image;
//   titleRectForBounds    the title's height centred vertically in the drawing rectangle,
//                         across the width the image leaves (3 points apart from it) —
//                         beside a left or right image, above or below one at the top or
//                         bottom; zero for image-only;
//   cellSize              the title's size and the image's size side by side (or stacked
//                         for above/below, the larger for overlapping) with the 3-point
//                         gap, plus 12 × 6 points when bordered or bezeled.
// Button types set the masks as the platform does (highlightsBy / showsStateBy):
//   momentaryLight   changeBackground | changeGray / none
//   pushOnPushOff    pushIn | changeGray        / changeBackground | changeGray
//   toggle           pushIn | contents          / contents
//   switch, radio    contents                   / contents
//   momentaryChange  contents                   / none
//   onOff            changeBackground           / changeBackground
//   momentaryPushIn  pushIn | changeGray        / none   (a new cell's type)
// A click advances the state (nextState) exactly when showsStateBy is not empty; the
// alternate image is shown while highlighted when highlightsBy holds contents, and in
// the on state when showsStateBy holds contents.
// Left out: key equivalents, sounds, the platform's bezel artwork of each style, image
// dimming by the gray mask. Thread: main thread.

#include <memory>
#include <optional>

#include "AppKit/NSControl.h"

// NSButton.ButtonType, with the platform's raw values.
enum class NSButtonType : int {
    momentaryLight = 0,
    pushOnPushOff = 1,
    toggle = 2,
    switchButton = 3,
    radio = 4,
    momentaryChange = 5,
    onOff = 6,
    momentaryPushIn = 7
};

// NSButton.BezelStyle, with the platform's raw values.
enum class NSBezelStyle : int {
    rounded = 1,
    regularSquare = 2,
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
    inlineStyle = 15
};

// NSControl.ImagePosition, with the platform's raw values.
enum class NSCellImagePosition : int {
    noImage = 0,
    imageOnly = 1,
    imageLeft = 2,
    imageRight = 3,
    imageBelow = 4,
    imageAbove = 5,
    imageOverlaps = 6,
    imageLeading = 7,
    imageTrailing = 8
};

// NSImageScaling, with the platform's raw values (other values can be made by casting,
// as an archive can hold them).
enum class NSImageScaling : int {
    scaleProportionallyDown = 0,
    scaleAxesIndependently = 1,
    scaleNone = 2,
    scaleProportionallyUpOrDown = 3
};

// NSCell.StyleMask: what a cell changes to show highlighting or its state.
namespace NSCellStyleMask {
inline constexpr unsigned none = 0, contents = 1, pushIn = 2, changeGray = 4, changeBackground = 8;
}

class NSButtonCell : public NSCell {
  public:
    NSButtonType buttonType() const { return type; }
    // Sets the type and the two masks that go with it (table above).
    virtual void setButtonType(NSButtonType type);
    unsigned highlightsBy = NSCellStyleMask::pushIn | NSCellStyleMask::changeGray;
    unsigned showsStateBy = NSCellStyleMask::none;

    NSBezelStyle bezelStyle = NSBezelStyle::rounded;
    // Where the image goes: a text cell starts with noImage, an image cell with
    // imageOnly. A button given an image while at noImage moves it to imageLeading (or
    // imageOnly without a title).
    NSCellImagePosition imagePosition = NSCellImagePosition::noImage;
    NSImageScaling imageScaling = NSImageScaling::scaleProportionallyDown;

    virtual std::shared_ptr<NSImage> alternateImage() const { return alternate; }
    virtual void setAlternateImage(std::shared_ptr<NSImage> image) { alternate = std::move(image); }
    // The image the button shows now: the alternate one while highlighted or on, as the
    // masks say (when there is one), else the image.
    std::shared_ptr<NSImage> imageToShow() const;

    // The title with its attributes: the one set while the plain title is still its
    // text, else the title in the cell's font and the control text colour (the disabled
    // one when not enabled), centred, truncated at the tail. Setting it sets the title.
    virtual NSAttributedString attributedTitle() const;
    virtual void setAttributedTitle(NSAttributedString title);

    // Whether a click advances the state.
    bool showsState() const { return showsStateBy != NSCellStyleMask::none; }

    CGRect drawingRectForBounds(CGRect bounds) const override;
    virtual CGRect imageRectForBounds(CGRect bounds) const override;
    CGRect titleRectForBounds(CGRect bounds) const override;
    CGSize cellSize() const override;

    void drawWithFrame(CGRect cellFrame, NSView& controlView) override;
    void drawInteriorWithFrame(CGRect cellFrame, NSView& controlView) override;
    virtual void drawBezel(CGRect frame, NSView& controlView);
    // Draws `image` in `frame` (imageRectForBounds of the cell frame): template images
    // in the control text colour, at half opacity when disabled.
    virtual void drawImage(const std::shared_ptr<NSImage>& image, CGRect frame,
                           NSView& controlView);
    // Draws `title` centred vertically on `frame` (over its edges when the frame is lower
    // than the text); returns the rectangle drawn in.
    virtual CGRect drawTitle(const NSAttributedString& title, CGRect frame, NSView& controlView);

    // initTextCell: and initImageCell: (a cell made with neither is a text cell of "").
    struct TextCell {
        std::string text;
    };
    struct ImageCell {
        std::shared_ptr<NSImage> image;
    };

  protected:
    // A new button cell is bordered, as a new button is.
    explicit NSButtonCell(TextCell content = {}) {
        title = std::move(content.text);
        isBordered = true;
    }
    explicit NSButtonCell(ImageCell content);

  private:
    NSButtonType type = NSButtonType::momentaryPushIn;
    std::shared_ptr<NSImage> alternate;
    std::optional<NSAttributedString> attributed;
};
