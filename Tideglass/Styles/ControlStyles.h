#pragma once
// One style class per kind of styled control. Each derives from ControlStyle (or,
// for windows and pop-overs, from WindowStyle), adds the few properties its control
// needs and, in its constructor, replaces the defaults that differ: fonts, colours,
// insets and above all the state-keyed bezel image table (a replaced table is
// replaced whole, never merged). A control keeps one instance of its style class as
// its shared style (StyledView::style in StyledControl.h).
//
//   ControlStyle
//     ButtonCellStyle
//       BackButtonCellStyle, ComboBoxStyle, CornerButtonCellStyle,
//       StyledPopDownButtonCellStyle, ToolButtonCellStyle
//       CheckBoxCellStyle → FavouriteCheckBoxCellStyle
//       PopUpButtonCellStyle → ToolPopUpButtonCellStyle
//     SegmentedCellStyle, SliderCellStyle
//     TableViewStyle → OutlineViewStyle
//     TextFieldCellStyle
//       HeaderTextFieldStyle, SearchFieldCellStyle, TableGroupLabelCellStyle,
//       TableRowLabelCellStyle, TextLabelCellStyle
//   BaseStyle
//     WindowStyle → PopoverStyle
// Thread: main thread.

#include <memory>
#include <optional>

#include "Styles/BaseStyle.h"

class ButtonCellStyle : public ControlStyle {
  public:
    // Medium font, clear background, the push-button art.
    ButtonCellStyle();

    virtual NSEdgeInsets imageEdgeInsets() const { return imageEdgeInsets_; }
    virtual void setImageEdgeInsets(NSEdgeInsets v) { imageEdgeInsets_ = v; }
    virtual NSEdgeInsets titleEdgeInsets() const { return titleEdgeInsets_; }
    virtual void setTitleEdgeInsets(NSEdgeInsets v) { titleEdgeInsets_ = v; }

  private:
    NSEdgeInsets imageEdgeInsets_;
    NSEdgeInsets titleEdgeInsets_;
};

class BackButtonCellStyle : public ButtonCellStyle {
  public:
    BackButtonCellStyle();
};

// A check box draws its box from buttonImages (image(forState)); its bezelImages
// stay the push button's.
class CheckBoxCellStyle : public ButtonCellStyle {
  public:
    CheckBoxCellStyle();

    virtual const StateImages& buttonImages() const { return buttonImages_; }
    virtual void setButtonImages(StateImages v) { buttonImages_ = std::move(v); }

    std::shared_ptr<NSImage> image(StyledControlState state) const;

  private:
    StateImages buttonImages_;
};

class FavouriteCheckBoxCellStyle : public CheckBoxCellStyle {
  public:
    FavouriteCheckBoxCellStyle();
};

class ComboBoxStyle : public ButtonCellStyle {
  public:
    ComboBoxStyle();
};

// Configured exactly as a ButtonCellStyle.
class CornerButtonCellStyle : public ButtonCellStyle {};

class PopUpButtonCellStyle : public ButtonCellStyle {
  public:
    PopUpButtonCellStyle();
};

class ToolPopUpButtonCellStyle : public PopUpButtonCellStyle {
  public:
    ToolPopUpButtonCellStyle();
};

class StyledPopDownButtonCellStyle : public ButtonCellStyle {
  public:
    StyledPopDownButtonCellStyle();
};

class ToolButtonCellStyle : public ButtonCellStyle {
  public:
    ToolButtonCellStyle();
};

class SegmentedCellStyle : public ControlStyle {
  public:
    // The properties panel's tab strip: its font and colours, the window-tab art.
    SegmentedCellStyle();

    virtual NSEdgeInsets segmentPadding() const { return segmentPadding_; }
    virtual void setSegmentPadding(NSEdgeInsets v) { segmentPadding_ = v; }
    virtual NSEdgeInsets segmentMargin() const { return segmentMargin_; }
    virtual void setSegmentMargin(NSEdgeInsets v) { segmentMargin_ = v; }

  private:
    NSEdgeInsets segmentPadding_{0, 21, 0, 21};
    NSEdgeInsets segmentMargin_;
};

// The bar and knob art, made on first use: default and highlighted bars; default,
// highlighted and mixed (several values selected) knobs.
class SliderCellStyle : public ControlStyle {
  public:
    std::shared_ptr<NSImage> barImage(StyledControlState state) const;
    std::shared_ptr<NSImage> knobImage(StyledControlState state) const;

  private:
    const StateImages& barImages() const;
    const StateImages& knobImages() const;
    mutable std::optional<StateImages> barImages_;
    mutable std::optional<StateImages> knobImages_;
};

class TableViewStyle : public ControlStyle {
  public:
    TableViewStyle();

    virtual std::shared_ptr<NSColor> rowBackgroundColor() const { return rowBackgroundColor_; }
    virtual void setRowBackgroundColor(std::shared_ptr<NSColor> v) {
        rowBackgroundColor_ = std::move(v);
    }
    virtual std::shared_ptr<NSColor> selectedRowBackgroundColor() const {
        return selectedRowBackgroundColor_;
    }
    virtual void setSelectedRowBackgroundColor(std::shared_ptr<NSColor> v) {
        selectedRowBackgroundColor_ = std::move(v);
    }
    virtual std::shared_ptr<NSColor> headerBackgroundColor() const {
        return headerBackgroundColor_;
    }
    virtual void setHeaderBackgroundColor(std::shared_ptr<NSColor> v) {
        headerBackgroundColor_ = std::move(v);
    }

    // selectedRowBackgroundColor when `state` contains selected, else rowBackgroundColor.
    std::shared_ptr<NSColor> rowBackgroundColor(StyledControlState state) const;

  private:
    std::shared_ptr<NSColor> rowBackgroundColor_;
    std::shared_ptr<NSColor> selectedRowBackgroundColor_;
    std::shared_ptr<NSColor> headerBackgroundColor_;
};

class OutlineViewStyle : public TableViewStyle {};

class TextFieldCellStyle : public ControlStyle {
  public:
    // Styles::TextInput's font and colours, the text-field art with its focus and
    // error faces.
    TextFieldCellStyle();

    virtual std::shared_ptr<NSColor> placeholderTextColor() const { return placeholderTextColor_; }
    virtual void setPlaceholderTextColor(std::shared_ptr<NSColor> v) {
        placeholderTextColor_ = std::move(v);
    }
    virtual std::shared_ptr<NSColor> placeholderBackground() const {
        return placeholderBackground_;
    }
    virtual void setPlaceholderBackground(std::shared_ptr<NSColor> v) {
        placeholderBackground_ = std::move(v);
    }
    virtual NSEdgeInsets padding() const { return padding_; }
    virtual void setPadding(NSEdgeInsets v) { padding_ = v; }

  private:
    std::shared_ptr<NSColor> placeholderTextColor_;
    std::shared_ptr<NSColor> placeholderBackground_;
    NSEdgeInsets padding_{2, 6, 2, 6};
};

class HeaderTextFieldStyle : public TextFieldCellStyle {
  public:
    HeaderTextFieldStyle();
};

class SearchFieldCellStyle : public TextFieldCellStyle {
  public:
    SearchFieldCellStyle();
};

// Configured by the table cells that use them.
class TableGroupLabelCellStyle : public TextFieldCellStyle {};
class TableRowLabelCellStyle : public TextFieldCellStyle {};

// A label: the label font and colours, no padding and no bezel.
class TextLabelCellStyle : public TextFieldCellStyle {
  public:
    TextLabelCellStyle();
};

class WindowStyle : public BaseStyle {
  public:
    WindowStyle();

    virtual CGSize padding() const { return padding_; }
    virtual void setPadding(CGSize v) { padding_ = v; }
    virtual std::shared_ptr<NSFont> font() const { return font_; }
    virtual void setFont(std::shared_ptr<NSFont> v) { font_ = std::move(v); }
    virtual std::shared_ptr<NSColor> textColor() const { return textColor_; }
    virtual void setTextColor(std::shared_ptr<NSColor> v) { textColor_ = std::move(v); }

  private:
    CGSize padding_{10, 6};
    std::shared_ptr<NSFont> font_;
    std::shared_ptr<NSColor> textColor_;
};

class PopoverStyle : public WindowStyle {};
