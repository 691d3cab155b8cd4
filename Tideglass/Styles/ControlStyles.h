#pragma once
// One style class per kind of styled control. Each derives from ControlStyle (or,
// for windows and pop-overs, from WindowStyle), adds the few properties its control
// needs and, in its constructor, replaces the defaults that differ: fonts, colours,
// insets and above all the state-keyed bezel image table (a replaced table is
// replaced whole, never merged). A control keeps one instance of its style class as
// its class style (StyledView::classStyle in StyledControl.h).
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
    TIDEGLASS_STYLE_PROPERTY(NSEdgeInsets, imageEdgeInsets, setImageEdgeInsets)
    TIDEGLASS_STYLE_PROPERTY(NSEdgeInsets, titleEdgeInsets, setTitleEdgeInsets)

  public:
    // Medium font, clear background, the push-button art.
    ButtonCellStyle();
};

class BackButtonCellStyle : public ButtonCellStyle {
  public:
    BackButtonCellStyle();
};

// A check box draws its box from buttonImages (image(forState)); its bezelImages
// stay the push button's.
class CheckBoxCellStyle : public ButtonCellStyle {
    TIDEGLASS_STYLE_PROPERTY(StateImages, buttonImages, setButtonImages)

  public:
    CheckBoxCellStyle();

    std::shared_ptr<NSImage> image(StyledControlState state) const;
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
    TIDEGLASS_STYLE_PROPERTY(NSEdgeInsets, segmentPadding, setSegmentPadding, 0, 21, 0, 21)
    TIDEGLASS_STYLE_PROPERTY(NSEdgeInsets, segmentMargin, setSegmentMargin)

  public:
    // The properties panel's tab strip: its font and colours, the window-tab art.
    SegmentedCellStyle();
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
    TIDEGLASS_STYLE_PROPERTY(std::shared_ptr<NSColor>, rowBackgroundColor, setRowBackgroundColor,
                             Styles::TableView::background())
    TIDEGLASS_STYLE_PROPERTY(std::shared_ptr<NSColor>, selectedRowBackgroundColor,
                             setSelectedRowBackgroundColor,
                             TideglassResources::nsColor("Highlight/System"))
    TIDEGLASS_STYLE_PROPERTY(std::shared_ptr<NSColor>, headerBackgroundColor,
                             setHeaderBackgroundColor, Styles::TableHeader::background())

  public:
    TableViewStyle();

    // selectedRowBackgroundColor when `state` contains selected, else rowBackgroundColor.
    std::shared_ptr<NSColor> rowBackgroundColor(StyledControlState state) const;
};

class OutlineViewStyle : public TableViewStyle {};

class TextFieldCellStyle : public ControlStyle {
    TIDEGLASS_STYLE_PROPERTY(std::shared_ptr<NSColor>, placeholderTextColor,
                             setPlaceholderTextColor, Styles::TextInput::placeholderTextColor())
    TIDEGLASS_STYLE_PROPERTY(std::shared_ptr<NSColor>, placeholderBackground,
                             setPlaceholderBackground, Styles::TextInput::placeholderBackground())
    TIDEGLASS_STYLE_PROPERTY(NSEdgeInsets, padding, setPadding, 2, 6, 2, 6)

  public:
    // Styles::TextInput's font and colours, the text-field art with its focus and
    // error faces.
    TextFieldCellStyle();
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
    TIDEGLASS_STYLE_PROPERTY(CGSize, padding, setPadding, 10, 6)
    TIDEGLASS_STYLE_PROPERTY(std::shared_ptr<NSFont>, font, setFont,
                             Styles::BaseStyles::normalFont())
    TIDEGLASS_STYLE_PROPERTY(std::shared_ptr<NSColor>, textColor, setTextColor,
                             TideglassResources::nsColor("Grey 85%"))
};

class PopoverStyle : public WindowStyle {};
