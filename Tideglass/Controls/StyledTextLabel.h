#pragma once
// WidthResizingTextField, StyledTextLabel and the table row and group-row labels:
// styled text fields that are as wide as their text, or that draw in a label style of
// their own cell's.
//
//   WidthResizingTextField   intrinsic size = the cell's size for a rectangle at the
//                            bounds' origin of unbounded width (the largest finite
//                            double) and the superclass's intrinsic height: both the
//                            width and the height of that size. Invalidating it when
//                            the text changes is the caller's business.
//   StyledTextLabel          a styled field whose cell is a StyledTextLabelCell
//                            (style: TextLabelCellStyle, the palette's label font and
//                            colours, no padding, no bezel images, so it fills its
//                            background colour instead).
//   StyledTableRowLabel      width-resizing, cell StyledTableRowLabelCell (style
//                            TableRowLabelCellStyle: the table row's 10-point
//                            monospaced-digit font, its 10-point medium selected font,
//                            "Grey 70%"; no padding, no bezel images).
//   StyledTableGroupRowLabel width-resizing, cell StyledTableGroupRowLabelCell (style
//                            TableGroupLabelCellStyle: 10-point regular, 10-point medium
//                            selected, "Grey 50%"; no padding, no bezel images).
// Each of the three labels takes only its own cell class (or none); its alignment
// insets are its cell style's alignmentRectInsets; its intrinsic size is the
// superclass's, and only while it is bezeled (a border alone does not count) and its
// style has a bezel image for the cell's state: width = max(size, image) − (left +
// right insets), height = max(size, image) − (top + bottom insets).
// Style members read: alignmentRectInsets, bezelImage for the state, and all the cell
// reads (StyledTextField.h). Thread: main.

#include <algorithm>
#include <memory>

#include "AppKit/NSImage.h"
#include "Controls/StyledTextField.h"

class WidthResizingTextField : public StyledTextField {
  public:
    explicit WidthResizingTextField(CGRect frame = {}) : StyledTextField(frame) {}
    CGSize intrinsicContentSize() const override;
};

class StyledTextLabelCell
    : public StyledControl<StyledTextLabelCell, TextLabelCellStyle, StyledTextFieldCell> {
  protected:
    StyledTextLabelCell() = default;
};

// The label's style: the table row's fonts and colour, no padding, no bezel.
class StyledTableRowLabelCell
    : public StyledControl<StyledTableRowLabelCell, TableRowLabelCellStyle, StyledTextFieldCell> {
  public:
    static std::shared_ptr<TableRowLabelCellStyle> makeStyle();

  protected:
    StyledTableRowLabelCell() = default;
};

// The group row's: its fonts and colour, no padding, no bezel.
class StyledTableGroupRowLabelCell
    : public StyledControl<StyledTableGroupRowLabelCell, TableGroupLabelCellStyle,
                           StyledTextFieldCell> {
  public:
    static std::shared_ptr<TableGroupLabelCellStyle> makeStyle();

  protected:
    StyledTableGroupRowLabelCell() = default;
};

// A field of class Base whose cell is a Cell, with the label rules above.
template <class Base, class Cell> class LabelField : public Base {
  public:
    using Base::Base;

    NSEdgeInsets alignmentRectInsets() const override {
        if (std::dynamic_pointer_cast<Cell>(this->cell()))
            return Cell::classStyle()->alignmentRectInsets();
        return Base::alignmentRectInsets();
    }
    CGSize intrinsicContentSize() const override {
        CGSize s = Base::intrinsicContentSize();
        auto c = std::dynamic_pointer_cast<Cell>(this->cell());
        if (!this->isBezeled() || !c)
            return s;
        auto image = c->styleBezelImage();
        if (!image)
            return s;
        const NSEdgeInsets i = alignmentRectInsets();
        return {std::max(s.width, image->size().width) - (i.left + i.right),
                std::max(s.height, image->size().height) - (i.top + i.bottom)};
    }

  protected:
    std::shared_ptr<NSCell> makeCell() override { return make<Cell>(); }
    bool acceptsCell(const NSCell& cell) const override {
        return dynamic_cast<const Cell*>(&cell) != nullptr;
    }
};

class StyledTextLabel : public LabelField<StyledTextField, StyledTextLabelCell> {
  public:
    using LabelField::LabelField;

  protected:
    const char* cellClassName() const override { return "StyledTextLabelCell"; }
};

class StyledTableRowLabel : public LabelField<WidthResizingTextField, StyledTableRowLabelCell> {
  public:
    using LabelField::LabelField;

  protected:
    const char* cellClassName() const override { return "StyledTableRowLabelCell"; }
};

class StyledTableGroupRowLabel
    : public LabelField<WidthResizingTextField, StyledTableGroupRowLabelCell> {
  public:
    using LabelField::LabelField;

  protected:
    const char* cellClassName() const override { return "StyledTableGroupRowLabelCell"; }
};
