#pragma once
// StyledView and StyledControl: the class-level side of a styled view or cell. A
// StyledView class has one shared style object of its style class; a StyledControl
// also reduces what it shows to a StyledControlState and reads the style's colours
// and images for that state through the getters here.
// Thread: main thread.

#include <concepts>
#include <memory>

#include "Styles/ControlStyles.h"
#include "Styles/StyleProtocols.h"

// StyledView: `Self` has one style object of its style class `ViewStyle`, made on
// first use of style() by Self::makeStyle() (a plain ViewStyle unless Self
// provides its own, which may adjust the new style) and shared by every instance.
template <class Self, class ViewStyleT> class StyledView {
  public:
    using ViewStyle = ViewStyleT;
    static_assert(std::derived_from<ViewStyleT, Style>, "a view style is a Style");

    static const std::shared_ptr<ViewStyle>& style() {
        static const std::shared_ptr<ViewStyle> shared = Self::makeStyle();
        return shared;
    }
    static std::shared_ptr<ViewStyle> makeStyle() { return std::make_shared<ViewStyle>(); }
};

// StyledControl: a styled view with a control state. A cell gets its state from
// cellControlState; any other Self declares its own controlState(). The getters
// fetch the style first and the state second, and build or keep nothing.
template <class Self, class ViewStyleT> class StyledControl : public StyledView<Self, ViewStyleT> {
  public:
    using ViewStyle = ViewStyleT;

    StyledControlState controlState() const requires std::derived_from<Self, NSCell> {
        return cellControlState(static_cast<const Self&>(*this));
    }

    std::shared_ptr<NSColor>
    styleTextColor() const requires std::derived_from<ViewStyle, ControlStyle> {
        const auto& style = Self::style();
        return style->textColor(self().controlState());
    }
    std::shared_ptr<NSColor>
    styleTextBackgroundColor() const requires std::derived_from<ViewStyle, ControlStyle> {
        const auto& style = Self::style();
        return style->textBackgroundColor(self().controlState());
    }
    std::shared_ptr<NSColor>
    styleFocusRingColor() const requires std::derived_from<ViewStyle, ControlStyle> {
        const auto& style = Self::style();
        return style->focusRingColor(self().controlState());
    }
    std::shared_ptr<NSImage>
    styleBezelImage() const requires std::derived_from<ViewStyle, ControlStyle> {
        const auto& style = Self::style();
        return style->bezelImage(self().controlState());
    }
    std::shared_ptr<NSImage>
    styleBarImage() const requires std::same_as<ViewStyle, SliderCellStyle> {
        const auto& style = Self::style();
        return style->barImage(self().controlState());
    }
    std::shared_ptr<NSImage>
    styleKnobImage() const requires std::same_as<ViewStyle, SliderCellStyle> {
        const auto& style = Self::style();
        return style->knobImage(self().controlState());
    }
    std::shared_ptr<NSColor>
    rowBackgroundColor() const requires std::same_as<ViewStyle, TableViewStyle> {
        const auto& style = Self::style();
        return style->rowBackgroundColor(self().controlState());
    }
    std::shared_ptr<NSImage>
    styleImage() const requires std::same_as<ViewStyle, CheckBoxCellStyle> {
        const auto& style = Self::style();
        return style->image(self().controlState());
    }

  private:
    const Self& self() const { return static_cast<const Self&>(*this); }
};
