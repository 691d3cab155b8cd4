// The image lookup every style shares, the per-state colour rules of ControlStyle,
// what each style class's constructor sets, and the one shared style per class.

#include "Styles/StyledControl.h"
#include "Styles/Styles.h"
#include "Styles/TideglassResources.h"

#include "AppKit/NSColor.h"
#include "AppKit/NSFont.h"
#include "AppKit/NSImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

using State = StyledControlState;

std::shared_ptr<NSImage> image(const std::string& name) {
    auto made = NSImage::blank({1, 1});
    made->setName(name);
    return made;
}

std::string nameOf(const std::shared_ptr<NSImage>& image) {
    return image ? image->name() : "none";
}

// The names the lookup may answer with (two when the table's order decides a tie).
struct Lookup {
    State state;
    std::vector<std::string> answers;
};

void expectLookups(const std::function<std::shared_ptr<NSImage>(State)>& find,
                   const std::vector<Lookup>& lookups) {
    for (const auto& l : lookups) {
        SCOPED_TRACE(l.state.description() + " (" + std::to_string(l.state.rawValue) + ")");
        const std::string found = nameOf(find(l.state));
        EXPECT_NE(std::find(l.answers.begin(), l.answers.end(), found), l.answers.end())
            << "found " << found;
    }
}

TEST(FindImage, ExactKeyThenTheFullestSubsetThenTheDefault) {
    const BaseStyle style;
    const StateImages table = {{State::default_, image("plain")},
                               {State::on, image("on")},
                               {State::highlighted, image("down")},
                               {State{State::on, State::highlighted}, image("on-down")}};
    const StateImages onlyOn = {{State::on, image("on")}};
    const StateImages tied = {{State::default_, image("plain")},
                              {State::on, image("on")},
                              {State::highlighted, image("down")}};
    auto in = [&](const StateImages& images) {
        return [&](State s) { return style.findImage(s, images); };
    };
    expectLookups(in(table),
                  {
                      {State::on, {"on"}},
                      {State{State::on, State::highlighted}, {"on-down"}},
                      {State{State::on, State::highlighted, State::selected}, {"on-down"}},
                      {State{State::default_, State::on, State::disabled}, {"on"}},
                      {State{State::default_, State::disabled}, {"plain"}},
                      {State::focused, {"plain"}},
                      {State{}, {"plain"}},
                  });
    expectLookups(in(onlyOn), {
                                  {State::default_, {"none"}},
                                  {State{State::on, State::highlighted}, {"on"}},
                                  {State{}, {"none"}},
                              });
    expectLookups(in({}),
                  {{State{}, {"none"}}, {State::default_, {"none"}}, {State(255), {"none"}}});
    // Equal counts: whichever key the table meets first.
    expectLookups(in(tied),
                  {{State{State::default_, State::on, State::highlighted}, {"on", "down"}}});
    EXPECT_EQ(style.findImage(State{State::on, State::highlighted}, tied),
              style.findImage(State{State::on, State::highlighted}, tied))
        << "the same table answers a tie the same way every time";
}

TEST(ControlStyle, PerStateColoursFollowTheirOwnPrecedence) {
    ControlStyle style;
    // Give every colour an object of its own so that the answer names its property.
    std::map<const NSColor*, std::string> names;
    auto colour = [&](const char* name) {
        auto c = NSColor::white(0.5);
        names[c.get()] = name;
        return c;
    };
    style.setTextColor(colour("text"));
    style.setDisabledTextColor(colour("disabledText"));
    style.setInvalidTextColor(colour("invalidText"));
    style.setSelectedTextColor(colour("selectedText"));
    style.setHighlightedTextColor(colour("highlightedText"));
    style.setTextBackgroundColor(colour("textBackground"));
    style.setBackgroundColor(colour("background"));
    style.setInvalidBackgroundColor(colour("invalidBackground"));
    style.setHighlightedBackgroundColor(colour("highlightedBackground"));
    style.setSelectedBackgroundColor(colour("selectedBackground"));
    style.setDisabledBackgroundColor(colour("disabledBackground"));
    style.setFocusRingColor(colour("focusRing"));
    style.setInvalidFocusRingColor(colour("invalidFocusRing"));

    struct Case {
        State state;
        const char *text, *background, *focusRing;
    };
    const Case cases[] = {
        {State::default_, "text", "background", "focusRing"},
        {State::focused, "text", "background", "focusRing"},
        {State{State::disabled, State::selected, State::invalid}, "disabledText",
         "invalidBackground", "invalidFocusRing"},
        {State{State::disabled, State::on}, "disabledText", "highlightedBackground", "focusRing"},
        {State{State::selected, State::disabled}, "disabledText", "selectedBackground",
         "focusRing"},
        {State{State::selected, State::on}, "selectedText", "highlightedBackground", "focusRing"},
        {State::disabled, "disabledText", "disabledBackground", "focusRing"},
        {State{State::invalid, State::selected}, "invalidText", "invalidBackground",
         "invalidFocusRing"},
        {State::mixed, "highlightedText", "highlightedBackground", "focusRing"},
        {State::highlighted, "highlightedText", "highlightedBackground", "focusRing"},
        {State{State::focused, State::invalid}, "invalidText", "invalidBackground",
         "invalidFocusRing"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state.description());
        EXPECT_EQ(names[style.textColor(c.state).get()], c.text);
        EXPECT_EQ(names[style.textBackgroundColor(c.state).get()], c.background);
        EXPECT_EQ(names[style.focusRingColor(c.state).get()], c.focusRing);
    }
}

// A subclass that overrides getters changes what the rules answer.
struct OverridingStyle : ControlStyle {
    std::shared_ptr<NSColor> mine = NSColor::white(1);
    StateImages art = {{State::default_, image("mine")}};
    std::shared_ptr<NSColor> disabledTextColor() const override { return mine; }
    const StateImages& bezelImages() const override { return art; }
};

TEST(ControlStyle, RulesReadThroughOverridableGettersAndAFreshStyleHasNoBezel) {
    OverridingStyle overriding;
    EXPECT_EQ(overriding.textColor(State::disabled), overriding.mine);
    EXPECT_EQ(nameOf(overriding.bezelImage(State::on)), "mine");

    ControlStyle fresh;
    for (std::int64_t raw : {0, 1, 33, 255})
        EXPECT_EQ(fresh.bezelImage(State(raw)), nullptr) << raw;
}

TEST(ControlStyle, DefaultsComeFromTheSharedConstants) {
    ControlStyle style;
    EXPECT_EQ(style.appearanceName(), std::string(NSAppearanceName::darkAqua));
    EXPECT_EQ(style.backgroundStyle(), NSBackgroundStyle::emphasized);
    EXPECT_EQ(style.interiorBackgroundStyle(), NSBackgroundStyle::emphasized);
    EXPECT_FALSE(style.opaque());
    EXPECT_EQ(style.backgroundColor()->name(), "Background/Normal");
    // Shared objects, not copies.
    EXPECT_EQ(style.font(), Styles::Control::font());
    EXPECT_EQ(style.selectedFont(), style.font());
    EXPECT_EQ(style.font()->pointSize(), 10);
    EXPECT_EQ(style.textColor(), Styles::Control::textColor());
    EXPECT_EQ(style.textBackgroundColor(), NSColor::clear());
    EXPECT_EQ(style.selectedTextColor(), Styles::Control::selectedTextColor());
    EXPECT_EQ(style.disabledTextColor(), Styles::Control::disabledTextColor());
    EXPECT_EQ(style.highlightedTextColor(), Styles::Control::highlightedTextColor());
    EXPECT_EQ(style.invalidTextColor(), Styles::Control::errorTextColor());
    EXPECT_EQ(style.invalidBackgroundColor(), Styles::Control::errorBackground());
    EXPECT_EQ(style.invalidFocusRingColor(), Styles::Control::errorFocusRingColor());
    // Made new from the asset for each style.
    EXPECT_EQ(style.selectedBackgroundColor()->name(), "Highlight/System");
    EXPECT_EQ(style.focusRingColor()->name(), "Highlight/System");
    EXPECT_NE(style.focusRingColor(), ControlStyle().focusRingColor());
    EXPECT_TRUE(style.bezelImages().empty());
    EXPECT_TRUE(style.swiftUIBezelImages().empty());
    EXPECT_EQ(style.bezelImageResizingMode(), NSImageResizingMode::tile);
    EXPECT_EQ(style.swiftUIBezelImageResizingMode(), SwiftUI::Image::ResizingMode::stretch);
    EXPECT_EQ(style.edgeInsets(), NSEdgeInsets{});
}

// Bezel (or check-box, bar, knob) art per state, per style class.
TEST(StyleClasses, EachClassAnswersWithItsOwnArt) {
    const State plain = State::default_;
    auto with = [](std::initializer_list<State> s) { return State{s}; };
    auto bezel = [](const ControlStyle& style) {
        return [&style](State s) { return style.bezelImage(s); };
    };
    ButtonCellStyle button;
    expectLookups(bezel(button), {{with({plain, State::on, State::highlighted}),
                                   {"tgui-button-selected", "tgui-button-down"}},
                                  {with({plain, State::disabled}), {"tgui-button"}},
                                  {with({plain, State::on}), {"tgui-button-selected"}}});
    expectLookups(bezel(BackButtonCellStyle()),
                  {{plain, {"organiser-navbar-back"}},
                   {with({plain, State::on}), {"organiser-navbar-back-down"}}});
    expectLookups(bezel(CornerButtonCellStyle()), {{plain, {"tgui-button"}}});
    expectLookups(bezel(ComboBoxStyle()), {{State::highlighted, {"tgui-button-down"}}});
    expectLookups(
        bezel(PopUpButtonCellStyle()),
        {{plain, {"tgui-popup"}}, {with({plain, State::highlighted}), {"tgui-popup-down"}}});
    expectLookups(bezel(StyledPopDownButtonCellStyle()),
                  {{with({plain, State::highlighted}), {"tgui-popdown-down"}}});
    expectLookups(bezel(ToolPopUpButtonCellStyle()),
                  {{with({plain, State::highlighted}), {"tgui-popup-tool-down"}}});
    expectLookups(bezel(ToolButtonCellStyle()),
                  {{with({plain, State::on}), {"corner-tool-background-selected"}},
                   {State::highlighted, {"corner-tool-background-down"}}});
    expectLookups(bezel(SegmentedCellStyle()),
                  {{with({plain, State::selected}), {"tgui-window-tab-selected"}},
                   {with({plain, State::disabled}), {"tgui-window-tab"}}});
    TextFieldCellStyle field;
    expectLookups(bezel(field),
                  {{with({plain, State::focused, State::invalid}), {"tgui-textfield-error"}},
                   {with({plain, State::focused}), {"tgui-textfield-focus"}},
                   {with({plain, State::invalid}), {"tgui-textfield-error"}},
                   {with({plain, State::disabled}), {"tgui-textfield"}}});
    expectLookups(bezel(HeaderTextFieldStyle()),
                  {{plain, {"tgui-textfield-tableheader"}},
                   {with({plain, State::focused}), {"tgui-textfield-focus"}}});
    expectLookups(bezel(SearchFieldCellStyle()),
                  {{with({plain, State::focused, State::invalid}), {"tgui-searchfield-focus"}},
                   {with({plain, State::invalid}), {"tgui-searchfield"}}});
    expectLookups(bezel(TextLabelCellStyle()), {{plain, {"none"}}, {State::focused, {"none"}}});

    CheckBoxCellStyle checkBox;
    auto box = [](const CheckBoxCellStyle& s) { return [&s](State st) { return s.image(st); }; };
    expectLookups(box(checkBox),
                  {{with({plain, State::on, State::highlighted}), {"tgui-checkbox-on-down"}},
                   {with({plain, State::mixed, State::disabled}), {"tgui-checkbox-mixed"}},
                   {with({plain, State::selected}), {"tgui-checkbox-down"}},
                   {with({plain, State::mixed, State::selected}), {"tgui-checkbox-mixed-down"}},
                   {plain, {"tgui-checkbox"}}});
    expectLookups(bezel(checkBox), {{plain, {"tgui-button"}}}); // its bezel stays the button's
    expectLookups(box(FavouriteCheckBoxCellStyle()),
                  {{with({plain, State::on, State::highlighted}), {"organiser-icon-star"}},
                   {with({plain, State::highlighted}), {"organiser-icon-star-empty"}}});

    SliderCellStyle slider;
    expectLookups([&](State s) { return slider.knobImage(s); },
                  {{with({plain, State::mixed, State::highlighted}),
                    {"tgui-slider-handle-down", "tgui-slider-handle-multi"}},
                   {with({plain, State::mixed}), {"tgui-slider-handle-multi"}},
                   {plain, {"tgui-slider-handle"}}});
    expectLookups([&](State s) { return slider.barImage(s); },
                  {{plain, {"tgui-slider-alley"}}, {State::highlighted, {"tgui-slider"}}});
    // Built once: the same image objects on every read.
    EXPECT_EQ(slider.knobImage(plain), slider.knobImage(plain));
}

TEST(StyleClasses, FontsColoursAndInsetsTheirConstructorsSet) {
    ButtonCellStyle button;
    EXPECT_EQ(button.font(), Styles::BaseStyles::mediumFont());
    EXPECT_EQ(button.backgroundColor(), NSColor::clear());
    EXPECT_EQ(button.titleEdgeInsets(), NSEdgeInsets{});

    CheckBoxCellStyle checkBox;
    EXPECT_EQ(checkBox.highlightedTextColor(), checkBox.textColor());
    EXPECT_EQ(checkBox.highlightedBackgroundColor(), checkBox.textBackgroundColor());
    EXPECT_EQ(checkBox.selectedBackgroundColor(), checkBox.textBackgroundColor());

    ComboBoxStyle combo;
    EXPECT_EQ(combo.alignmentRectInsets(), (NSEdgeInsets{3, 2, 3, 2}));
    EXPECT_EQ(combo.edgeInsets(), (NSEdgeInsets{3, 0, 2, 12}));
    EXPECT_EQ(combo.titleEdgeInsets(), (NSEdgeInsets{3, 7, 2, 0}));
    EXPECT_EQ(combo.selectedTextColor(), combo.textColor());

    PopUpButtonCellStyle popUp;
    EXPECT_EQ(popUp.edgeInsets(), (NSEdgeInsets{3, 0, 2, 12}));
    EXPECT_EQ(popUp.alignmentRectInsets(), (NSEdgeInsets{3, 2, 3, 2}));
    EXPECT_EQ(popUp.titleEdgeInsets(), NSEdgeInsets{});
    EXPECT_EQ(popUp.selectedTextColor(), popUp.textColor());
    StyledPopDownButtonCellStyle popDown;
    EXPECT_EQ(popDown.alignmentRectInsets(), (NSEdgeInsets{3, 2, 3, 2}));
    EXPECT_EQ(popDown.edgeInsets(), (NSEdgeInsets{3, 0, 2, 12}));
    EXPECT_EQ(popDown.titleEdgeInsets(), NSEdgeInsets{});
    ToolPopUpButtonCellStyle toolPopUp; // its own values, not the pop-up's
    EXPECT_EQ(toolPopUp.alignmentRectInsets(), NSEdgeInsets{});
    EXPECT_EQ(toolPopUp.edgeInsets(), (NSEdgeInsets{1, 1, 1, 1}));
    EXPECT_EQ(toolPopUp.titleEdgeInsets(), (NSEdgeInsets{0, 4, 0, 14}));
    EXPECT_EQ(toolPopUp.selectedTextColor(), toolPopUp.textColor());
    EXPECT_EQ(ToolButtonCellStyle().imageEdgeInsets(), (NSEdgeInsets{-1, 0, 1, 0}));

    SegmentedCellStyle segmented;
    EXPECT_EQ(segmented.segmentPadding(), (NSEdgeInsets{0, 21, 0, 21}));
    EXPECT_EQ(segmented.font(), Styles::PropertiesTab::font());
    EXPECT_EQ(segmented.font()->pointSize(), 12);
    EXPECT_EQ(segmented.textColor()->name(), "Grey 70%");
    EXPECT_EQ(segmented.selectedTextColor()->name(), "Grey 85%");

    TableViewStyle table;
    EXPECT_EQ(table.rowBackgroundColor(), Styles::TableView::background());
    EXPECT_EQ(table.headerBackgroundColor()->name(), "Background/Darkest");
    EXPECT_EQ(table.textColor()->name(), "Grey 70%");
    EXPECT_EQ(table.rowBackgroundColor(State{State::selected, State::disabled}),
              table.selectedRowBackgroundColor());
    EXPECT_EQ(table.rowBackgroundColor(State::disabled), table.rowBackgroundColor());

    TextFieldCellStyle field;
    EXPECT_EQ(field.padding(), (NSEdgeInsets{2, 6, 2, 6}));
    EXPECT_EQ(field.edgeInsets(), (NSEdgeInsets{2, 2, 2, 2}));
    EXPECT_EQ(field.invalidTextColor()->name(), "Error");
    EXPECT_EQ(field.highlightedTextColor(), Styles::TextInput::highlightedTextColor());
    EXPECT_EQ(field.placeholderTextColor()->name(), "Grey 50%");

    TextLabelCellStyle label;
    EXPECT_EQ(label.padding(), NSEdgeInsets{});
    EXPECT_EQ(label.textColor(), Styles::Label::nsTextColor());
    EXPECT_EQ(label.disabledTextColor()->name(), "Grey 30%");

    PopoverStyle popover;
    EXPECT_EQ(popover.padding(), (CGSize{10, 6}));
    EXPECT_EQ(popover.font(), Styles::BaseStyles::normalFont());
    EXPECT_EQ(popover.textColor()->name(), "Grey 85%");
    EXPECT_EQ(popover.backgroundColor()->name(), "Background/Normal");
    EXPECT_EQ(popover.appearanceName(), std::string(NSAppearanceName::darkAqua));
}

// Styled cells as the controls declare them.
struct ButtonLikeCell : NSCell, StyledControl<ButtonLikeCell, ButtonCellStyle>, Selectable {
    bool selected = false;
    bool isSelected() const override { return selected; }
    void setSelected(bool s) override { selected = s; }
};
struct SliderLikeCell : NSCell, StyledControl<SliderLikeCell, SliderCellStyle> {};
struct CheckLikeCell : NSCell, StyledControl<CheckLikeCell, CheckBoxCellStyle> {};
struct RowLikeView : NSView, StyledControl<RowLikeView, TableViewStyle> {
    StyledControlState state = State::default_;
    StyledControlState controlState() const override { return state; }
};
int adjustedStyles = 0;
struct AdjustingCell : NSCell, StyledControl<AdjustingCell, ButtonCellStyle> {
    static std::shared_ptr<ButtonCellStyle> makeStyle() {
        ++adjustedStyles;
        auto style = std::make_shared<ButtonCellStyle>();
        style->setTitleEdgeInsets({4, 0, 6, 0});
        return style;
    }
};

// WCAG's contrast ratio of two opaque sRGB colours: (L1 + 0.05) / (L2 + 0.05) of their
// relative luminances, the lighter over the darker.
double contrast(const std::shared_ptr<NSColor>& a, const std::shared_ptr<NSColor>& b) {
    auto luminance = [](const std::shared_ptr<NSColor>& c) {
        auto linear = [](double v) {
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        const auto rgba = c->cgColor().rgba();
        return 0.2126 * linear(rgba.r) + 0.7152 * linear(rgba.g) + 0.0722 * linear(rgba.b);
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(Palette, SelectedTextReadsOnItsSelectionAtFourAndAHalfToOne) {
    const TableViewStyle table;
    const TextFieldCellStyle field;
    const SearchFieldCellStyle search;
    struct Case {
        const char* what;
        std::shared_ptr<NSColor> text, background;
    };
    const Case cases[] = {
        {"a selected row", table.selectedTextColor(), table.selectedRowBackgroundColor()},
        {"a selected row's label", Styles::TableRow::selectedTextColor(),
         table.selectedRowBackgroundColor()},
        {"a selected group row's label", Styles::TableGroupRow::selectedTextColor(),
         table.selectedRowBackgroundColor()},
        {"text selected in a field", field.selectedTextColor(), field.selectedBackgroundColor()},
        {"text selected in a search field", search.selectedTextColor(),
         search.selectedBackgroundColor()},
        {"a control's selection", Styles::Control::selectedTextColor(),
         Styles::Control::selectedBackground()},
        {"a row at rest", table.textColor(), table.rowBackgroundColor()},
        {"a field's text", field.textColor(), TideglassResources::nsColor("Background/Darkest")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_GE(contrast(c.text, c.background), 4.5);
    }
}

TEST(SharedStyles, OneStylePerClassMadeOnFirstUse) {
    const auto first = ButtonLikeCell::classStyle();
    EXPECT_EQ(ButtonLikeCell::classStyle(), first);
    EXPECT_NE(ButtonLikeCell::classStyle().get(), AdjustingCell::classStyle().get());
    EXPECT_EQ(AdjustingCell::classStyle()->titleEdgeInsets(), (NSEdgeInsets{4, 0, 6, 0}));
    AdjustingCell::classStyle();
    EXPECT_EQ(adjustedStyles, 1);

    // A change to the shared style shows on every cell of the class.
    auto a = make<ButtonLikeCell>(), b = make<ButtonLikeCell>();
    auto grey = NSColor::white(0.3);
    const auto saved = ButtonLikeCell::classStyle()->textColor();
    ButtonLikeCell::classStyle()->setTextColor(grey);
    EXPECT_EQ(a->styleTextColor(), grey);
    EXPECT_EQ(b->styleTextColor(), grey);
    ButtonLikeCell::classStyle()->setTextColor(saved);
}

TEST(SharedStyles, GettersAnswerForTheCurrentControlState) {
    auto cell = make<ButtonLikeCell>();
    const auto style = ButtonLikeCell::classStyle();
    EXPECT_EQ(cell->controlState(), State::default_);
    EXPECT_EQ(nameOf(cell->styleBezelImage()), "tgui-button");
    cell->state = NSCell::StateValue::on;
    EXPECT_EQ(nameOf(cell->styleBezelImage()), "tgui-button-selected");
    EXPECT_EQ(cell->styleTextColor(), style->highlightedTextColor());
    cell->isEnabled = false;
    EXPECT_EQ(cell->styleTextColor(), style->disabledTextColor());
    cell->selected = true;
    EXPECT_EQ(cell->controlState().rawValue, 1 + 2 + 4 + 32);
    EXPECT_EQ(cell->styleTextBackgroundColor(), style->highlightedBackgroundColor());
    EXPECT_EQ(cell->styleFocusRingColor(), style->focusRingColor());

    auto slider = make<SliderLikeCell>();
    slider->isHighlighted = true;
    EXPECT_EQ(nameOf(slider->styleKnobImage()), "tgui-slider-handle-down");
    EXPECT_EQ(nameOf(slider->styleBarImage()), "tgui-slider");

    auto check = make<CheckLikeCell>();
    check->state = NSCell::StateValue::mixed;
    EXPECT_EQ(nameOf(check->styleImage()), "tgui-checkbox-mixed");

    auto row = make<RowLikeView>();
    EXPECT_EQ(row->rowBackgroundColor(), RowLikeView::classStyle()->rowBackgroundColor());
    row->state = State{State::default_, State::selected};
    EXPECT_EQ(row->rowBackgroundColor(), RowLikeView::classStyle()->selectedRowBackgroundColor());
}

} // namespace
