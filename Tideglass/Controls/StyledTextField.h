#pragma once
// StyledTextField and StyledTextFieldCell: the library's editable one-line text field,
// drawn from the shared style model instead of the system bezel — a bezel image chosen
// by the control state, the state's text and background colours, a placeholder in the
// palette's placeholder colour, and the library's focus ring. The cell draws, measures
// and sets up the field editor; the field adds vertical insets, baselines and an
// intrinsic size that never falls below the bezel image. The cell is the base of the
// label, validating and table-label cells, which mostly replace only the class style.
//
// Style members read (TextFieldCellStyle, through the cell's own class style): font,
// textColor, textBackgroundColor, selectedTextColor, selectedBackgroundColor,
// backgroundStyle, interiorBackgroundStyle, padding, and the per-state textColor,
// textBackgroundColor, bezelImage and focusRingColor.
//
// Geometry (tests call these without drawing):
//   drawing rect  the bounds less the style's padding (x + left, y + bottom, width −
//                 left − right, height − top − bottom), made integral, for a bezeled or
//                 bordered cell; the bounds while the field editor is being placed
//                 (edit / select in progress) or without bezel and border;
//   title rect    the drawing rect; vertically centred, the text's own height centred
//                 in it (verticallyCenter, the default);
//   text          drawn at the title rect moved 2 points right for a bezeled or
//                 bordered cell (where the field editor's line starts), else one
//                 device pixel left (−1 / the window's scale).
// Drawing: the bezel image for the state over the whole frame (a bezeled or bordered
// cell with drawsBackground), else the background colour; the focus ring on the focus
// mask inset by 1 (so 2 points in from the frame), shown only in the key window while
// the field has keyboard focus; then the text, the value or else the placeholder —
// none while the field editor edits the cell (it draws the text then).
// Thread: main; every entry point checks it.

#include <memory>
#include <string>

#include "AppKit/NSTextField.h"
#include "Controls/FirstResponderAwareTextField.h"
#include "Styles/StyledControl.h"

// The bounds less a style's padding: x + left, y + bottom, width − (left + right),
// height − (top + bottom), made integral.
CGRect paddedTextRect(CGRect bounds, NSEdgeInsets padding);
// `text` in `font` and `color` with the cell's alignment and line breaking, no tightening.
NSAttributedString styledCellText(const NSCell& cell, const std::string& text,
                                  std::shared_ptr<NSFont> font, std::shared_ptr<NSColor> color);

class StyledTextFieldCell
    : public StyledControl<StyledTextFieldCell, TextFieldCellStyle, NSTextFieldCell>,
      public Selectable {
  public:
    bool isSelected() const override { return selected; }
    void setSelected(bool s) override { selected = s; }
    // Whether the title rect is the text's height centred in the drawing rect.
    bool verticallyCenter = true;
    // True only while the cell is inside its edit / select with frame.
    bool isBeingEdited() const { return editing; }
    bool isBeingSelected() const { return selecting; }

    // The style's font, the state's text and background colours and the style's
    // background style, into the cell's own properties.
    virtual void applyStyle();
    // The text in the cell's font (else the style's), in `color` (else the state's text
    // colour), with the cell's alignment and line breaking and no tightening.
    virtual NSAttributedString attributedString(const std::string& text,
                                                const std::shared_ptr<NSColor>& color) const;

    void setBackgroundStyle(NSBackgroundStyle style) override;
    NSBackgroundStyle interiorBackgroundStyle() const override;
    CGRect drawingRectForBounds(CGRect bounds) const override;
    CGRect titleRectForBounds(CGRect bounds) const override;
    void drawWithFrame(CGRect cellFrame, NSView& controlView) override;
    void drawInteriorWithFrame(CGRect cellFrame, NSView& controlView) override;
    void selectWithFrame(CGRect frame, NSView& controlView, NSText& editor,
                         std::weak_ptr<NSObject> delegate, std::size_t start,
                         std::size_t length) override;
    void editWithFrame(CGRect frame, NSView& controlView, NSText& editor,
                       std::weak_ptr<NSObject> delegate, const NSEvent* event) override;
    NSText& setUpFieldEditorAttributes(NSText& editor) override;

  protected:
    StyledTextFieldCell() = default;
    // Styles the new cell (as its initialiser does) and takes no focus ring of AppKit's.
    void didInit() override;

  private:
    bool selected = false;
    bool editing = false;
    bool selecting = false;
};

class StyledTextField : public FirstResponderAwareTextField, public Selectable {
  public:
    explicit StyledTextField(CGRect frame = {}) : FirstResponderAwareTextField(frame) {}
    // A field with `verticalPadding` as its top and bottom alignment inset.
    static std::shared_ptr<StyledTextField> withVerticalPadding(CGRect frame,
                                                                CGFloat verticalPadding);

    // The top and bottom alignment inset while bezeled or bordered.
    CGFloat verticalInset = 0;
    bool verticallyCenter() const { return center; }
    // Stores the value, copies it into a styled cell (a cell of another kind has no
    // such setting: it is skipped) and redisplays.
    void setVerticallyCenter(bool value);
    // The cell's selection; false (and ignored) with a cell of another kind.
    bool isSelected() const override;
    void setSelected(bool selected) override;

    // Accepts a StyledTextFieldCell, or none (a new one); any other cell ends the
    // program. Subclasses narrow the kind they accept (acceptsCell).
    void setCell(std::shared_ptr<NSCell> cell) override;

    NSEdgeInsets alignmentRectInsets() const override;
    CGFloat firstBaselineOffsetFromTop() const override;
    CGFloat lastBaselineOffsetFromBottom() const override;
    CGSize intrinsicContentSize() const override;

  protected:
    // Makes the cell, then rotates the new field by −1 and +1 degree (it ends unrotated,
    // its area marked for drawing).
    void didInit() override;
    std::shared_ptr<NSCell> makeCell() override;
    // Whether the field takes this cell; the name used in the refusal.
    virtual bool acceptsCell(const NSCell& cell) const;
    virtual const char* cellClassName() const { return "StyledTextFieldCell"; }
    std::shared_ptr<StyledTextFieldCell> styledCell() const;

  private:
    bool center = true;
};
