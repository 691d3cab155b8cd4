#include "Styles/ControlStyles.h"

#include "AppKit/NSColor.h"
#include "Styles/Styles.h"
#include "Styles/TideglassResources.h"

namespace {
using State = StyledControlState;

std::shared_ptr<NSImage> art(std::string_view name) {
    return TideglassResources::nsImage(name);
}
} // namespace

ButtonCellStyle::ButtonCellStyle() {
    setBackgroundColor(NSColor::clear());
    setFont(Styles::BaseStyles::mediumFont());
    setBezelImages({{State::default_, art("tgui-button")},
                    {State::on, art("tgui-button-selected")},
                    {State::highlighted, art("tgui-button-down")}});
}

BackButtonCellStyle::BackButtonCellStyle() {
    setBezelImages({{State::default_, art("organiser-navbar-back")},
                    {State::on, art("organiser-navbar-back-down")},
                    {State::highlighted, art("organiser-navbar-back-down")}});
}

CheckBoxCellStyle::CheckBoxCellStyle() {
    setHighlightedTextColor(textColor());
    setHighlightedBackgroundColor(textBackgroundColor());
    setSelectedBackgroundColor(textBackgroundColor());
    // A selected check box shows the pressed art.
    setButtonImages({{State::default_, art("tgui-checkbox")},
                     {State::on, art("tgui-checkbox-on")},
                     {State::mixed, art("tgui-checkbox-mixed")},
                     {State::highlighted, art("tgui-checkbox-down")},
                     {State{State::on, State::highlighted}, art("tgui-checkbox-on-down")},
                     {State{State::mixed, State::highlighted}, art("tgui-checkbox-mixed-down")},
                     {State::selected, art("tgui-checkbox-down")},
                     {State{State::on, State::selected}, art("tgui-checkbox-on-down")},
                     {State{State::mixed, State::selected}, art("tgui-checkbox-mixed-down")}});
}

std::shared_ptr<NSImage> CheckBoxCellStyle::image(StyledControlState state) const {
    return findImage(state, buttonImages());
}

FavouriteCheckBoxCellStyle::FavouriteCheckBoxCellStyle() {
    setButtonImages({{State::default_, art("organiser-icon-star-empty")},
                     {State::on, art("organiser-icon-star")}});
}

namespace {
// What the buttons that open a menu share: the insets of their art (an arrow at the
// right end), and a selected title in the plain text colour.
void opensAMenu(ButtonCellStyle& style) {
    style.setAlignmentRectInsets({3, 2, 3, 2});
    style.setEdgeInsets({3, 0, 2, 12});
    style.setSelectedTextColor(style.textColor());
}

// Art for the plain and the pressed states.
StateImages plainAndPressed(std::string_view plain, std::string_view pressed) {
    return {{State::default_, art(plain)}, {State::highlighted, art(pressed)}};
}
} // namespace

ComboBoxStyle::ComboBoxStyle() {
    opensAMenu(*this);
    setTitleEdgeInsets({3, 7, 2, 0});
}

PopUpButtonCellStyle::PopUpButtonCellStyle() {
    opensAMenu(*this);
    setBezelImages(plainAndPressed("tgui-popup", "tgui-popup-down"));
    // Drawn wider than the art, the key's rounded ends and the arrows keep their shape.
    setBezelImageCapInsets({0, 8, 0, 22});
}

ToolPopUpButtonCellStyle::ToolPopUpButtonCellStyle() {
    setAlignmentRectInsets({});
    setEdgeInsets({1, 1, 1, 1});
    setTitleEdgeInsets({0, 4, 0, 14});
    setSelectedTextColor(textColor());
    setBezelImages(plainAndPressed("tgui-popup-tool", "tgui-popup-tool-down"));
    setBezelImageCapInsets({0, 8, 0, 16});
}

StyledPopDownButtonCellStyle::StyledPopDownButtonCellStyle() {
    opensAMenu(*this);
    setBezelImages(plainAndPressed("tgui-popdown", "tgui-popdown-down"));
    setBezelImageCapInsets({0, 8, 0, 22});
}

ToolButtonCellStyle::ToolButtonCellStyle() {
    setImageEdgeInsets({-1, 0, 1, 0}); // the image sits one point higher
    setBezelImages({{State::default_, art("corner-tool-background")},
                    {State::on, art("corner-tool-background-selected")},
                    {State::highlighted, art("corner-tool-background-down")}});
}

SegmentedCellStyle::SegmentedCellStyle() {
    setFont(Styles::PropertiesTab::font());
    setTextColor(Styles::PropertiesTab::textColor());
    setSelectedTextColor(Styles::PropertiesTab::selectedTextColor());
    setHighlightedTextColor(Styles::PropertiesTab::highlightedTextColor());
    setBackgroundColor(NSColor::clear());
    setBezelImages({{State::default_, art("tgui-window-tab")},
                    {State::selected, art("tgui-window-tab-selected")},
                    {State::highlighted, art("tgui-window-tab-down")}});
}

const StateImages& SliderCellStyle::barImages() const {
    if (!barImages_)
        barImages_ = StateImages{{State::default_, art("tgui-slider-alley")},
                                 {State::highlighted, art("tgui-slider")}};
    return *barImages_;
}

const StateImages& SliderCellStyle::knobImages() const {
    if (!knobImages_)
        knobImages_ = StateImages{{State::default_, art("tgui-slider-handle")},
                                  {State::highlighted, art("tgui-slider-handle-down")},
                                  {State::mixed, art("tgui-slider-handle-multi")}};
    return *knobImages_;
}

std::shared_ptr<NSImage> SliderCellStyle::barImage(StyledControlState state) const {
    return findImage(state, barImages());
}

std::shared_ptr<NSImage> SliderCellStyle::knobImage(StyledControlState state) const {
    return findImage(state, knobImages());
}

TableViewStyle::TableViewStyle() {
    // Tables, outlines and their scroll views stand a step darker than the page.
    setBackgroundColor(rowBackgroundColor());
    setTextColor(Styles::TableRow::textColor());
    setSelectedTextColor(Styles::TableRow::selectedTextColor());
}

std::shared_ptr<NSColor> TableViewStyle::rowBackgroundColor(StyledControlState state) const {
    return state.contains(State::selected) ? selectedRowBackgroundColor() : rowBackgroundColor();
}

namespace {
// The text field's art: plain, focused, and the error face when invalid (focused or not).
StateImages fieldBezel(std::string_view plain) {
    return {{State::default_, art(plain)},
            {State{State::focused, State::invalid}, art("tgui-textfield-error")},
            {State::focused, art("tgui-textfield-focus")},
            {State::invalid, art("tgui-textfield-error")}};
}
} // namespace

TextFieldCellStyle::TextFieldCellStyle() {
    using namespace Styles;
    setFont(TextInput::font());
    setTextColor(TextInput::textColor());
    setTextBackgroundColor(TextInput::background());
    setSelectedTextColor(TextInput::selectedTextColor());
    setSelectedBackgroundColor(TideglassResources::nsColor("Highlight/System"));
    setDisabledTextColor(TextInput::disabledTextColor());
    setDisabledBackgroundColor(TextInput::disabledBackground());
    setHighlightedTextColor(TextInput::highlightedTextColor());
    setHighlightedBackgroundColor(TextInput::highlightedBackground());
    setInvalidTextColor(TextInput::errorTextColor());
    setInvalidBackgroundColor(TextInput::errorBackground());
    setAlignmentRectInsets({2, 2, 2, 2});
    setEdgeInsets({2, 2, 2, 2});
    setBezelImages(fieldBezel("tgui-textfield"));
}

HeaderTextFieldStyle::HeaderTextFieldStyle() {
    setBezelImages(fieldBezel("tgui-textfield-tableheader"));
}

SearchFieldCellStyle::SearchFieldCellStyle() {
    setBezelImages({{State::default_, art("tgui-searchfield")},
                    {State::focused, art("tgui-searchfield-focus")}});
}

TextLabelCellStyle::TextLabelCellStyle() {
    setFont(Styles::Label::font());
    setTextColor(Styles::Label::nsTextColor());
    setDisabledTextColor(Styles::Label::disabledTextColor());
    setBezelImageCapInsets({});
    setPadding({});
    setBezelImages({});
}
