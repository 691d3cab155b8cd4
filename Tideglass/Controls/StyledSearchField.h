#pragma once
// StyledSearchField and StyledSearchFieldCell: the library's search field. The cell
// draws the bezel from artwork (the search icon is part of it), the text or the
// placeholder from the shared style between the search icon and the cancel button, and
// sets up the field editor in the style's colours; the field draws the library's focus
// ring and sizes itself from the artwork.
//
// Style members read (SearchFieldCellStyle, the cell's class style): font, textColor
// (and per state), selectedTextColor, selectedBackgroundColor, backgroundStyle,
// interiorBackgroundStyle, padding, alignmentRectInsets, bezelImage(forState:) and
// focusRingColor(forState:); the placeholder colour is Styles::TextInput's.
//
// Geometry (tests call these without drawing), for bounds b:
//   drawing rect  b less the style's padding (x + left, y + bottom, width − left −
//                 right, height − top − bottom), integral, for a bezeled or bordered
//                 cell; b itself while the cell is being edited or selected, or
//                 without bezel and border;
//   search text   from the base's search-text rect s: x = the search button's maxX − 10
//                 (4 without the search icon), width = to the cancel button's minX + 2
//                 (s's width without a cancel button), s's y and height; vertically
//                 centred (the default) on the text's height, y = |y| in a flipped
//                 view; integral.
// Thread: main; every entry point checks it.

#include <memory>
#include <optional>
#include <string>

#include "AppKit/NSSearchField.h"
#include "Styles/StyledControl.h"

class StyledSearchFieldCell
    : public StyledControl<StyledSearchFieldCell, SearchFieldCellStyle, NSSearchFieldCell> {
  public:
    // Whether the bezel with the search icon is drawn and the text starts after it.
    bool showsSearchIcon = true;
    // Whether the text rectangle is centred vertically on the text's height.
    bool verticallyCenter = true;
    // True only during the base's edit / select.
    bool isBeingEdited() const { return editing; }
    bool isBeingSelected() const { return selecting; }

    // The placeholder. Setting a text also makes it the attributed placeholder in the
    // placeholder colour; setting none clears both (the old one is not drawn again).
    const std::optional<std::string>& placeholder() const { return internalPlaceholderString; }
    void setPlaceholder(std::optional<std::string> placeholder);

    // The search field's art for the state with the search icon; without it, the plain
    // text field's.
    std::shared_ptr<NSImage> styleBezelImage() const;

    void setBackgroundStyle(NSBackgroundStyle style) override;
    NSBackgroundStyle interiorBackgroundStyle() const override;
    CGRect drawingRectForBounds(CGRect bounds) const override;
    CGRect searchTextRectForBounds(CGRect bounds) const override;
    // The bezel art over the whole frame (upright in a flipped view), then the interior.
    void drawWithFrame(CGRect cellFrame, NSView& controlView) override;
    // Unless the field editor shows the text: the value (or the placeholder in its
    // colour) in the search-text rect, moved (+2, +1) when bezeled or bordered; then
    // the cancel button while there is text.
    void drawInteriorWithFrame(CGRect cellFrame, NSView& controlView) override;
    // The base's edit / select in the search-text rect of `frame`, the field editor
    // then drawing no background.
    void selectWithFrame(CGRect frame, NSView& controlView, NSText& editor,
                         std::weak_ptr<NSObject> delegate, std::size_t start,
                         std::size_t length) override;
    void editWithFrame(CGRect frame, NSView& controlView, NSText& editor,
                       std::weak_ptr<NSObject> delegate, const NSEvent* event) override;
    NSText& setUpFieldEditorAttributes(NSText& editor) override;

  protected:
    StyledSearchFieldCell() = default;
    // The style's text colour and background style, no system focus ring, and a search
    // button that shows only its image.
    void didInit() override;

  private:
    // The text in the style's font, in `color` (else the state's text colour), with the
    // cell's alignment and line breaking, no tightening.
    NSAttributedString attributedString(const std::string& text,
                                        const std::shared_ptr<NSColor>& color) const;
    std::optional<std::string> internalPlaceholderString;
    bool editing = false;
    bool selecting = false;
};

class StyledSearchField : public NSSearchField {
  public:
    explicit StyledSearchField(CGRect frame = {}) : NSSearchField(frame) {}

    bool verticallyCenter() const { return center; }
    // Stores the value, copies it into a styled cell (skipped without one) and redisplays.
    void setVerticallyCenter(bool value);
    // The placeholder, through the styled cell's setter.
    void setPlaceholderString(std::optional<std::string> placeholder);

    // Accepts a StyledSearchFieldCell, or none (a new one); any other cell ends the
    // program.
    void setCell(std::shared_ptr<NSCell> cell) override;

    // The style's alignment insets with a styled cell.
    NSEdgeInsets alignmentRectInsets() const override;
    // Bezeled with bezel art: at least the art's size, less the alignment insets.
    CGSize intrinsicContentSize() const override;
    // The system ring is never drawn; the library's goes around the bounds.
    CGRect focusRingMaskBounds() const { return bounds(); }
    void drawFocusRingMask() {}
    void drawRect(CGRect dirtyRect) override;

  protected:
    // Makes the cell, then rotates the new field by −1 and +1 degree (it ends unrotated,
    // its area marked for drawing).
    void didInit() override;
    std::shared_ptr<NSCell> makeCell() override;

  private:
    std::shared_ptr<StyledSearchFieldCell> styledCell() const;
    bool center = true;
};
