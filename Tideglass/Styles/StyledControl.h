#pragma once
// StyledView and StyledControl: the class-level side of a styled view or cell.
//
// Every styled class has a style object of its style class, its class style. Code
// that draws reaches the style through the virtual style(), which answers with the
// class style of the object's dynamic class: a cell that derives from another styled
// cell and declares a style class of its own (the check-box cell under the button
// cell, the favourite check box under that) draws with its own style, also from the
// steps it inherits.
//
// How a class declares its style. The first styled class of a family names the
// class it derives from last, or puts the template beside its base:
//     class StyledButtonCell
//         : public StyledControl<StyledButtonCell, ButtonCellStyle, NSButtonCell> { ... };
//     struct LooseCell : NSCell, StyledControl<LooseCell, ButtonCellStyle> { ... };
// A subclass with a style class of its own (which must derive from its base's) names
// its styled base last:
//     class StyledCheckBoxCell
//         : public StyledControl<StyledCheckBoxCell, CheckBoxCellStyle, StyledButtonCell> {};
// A subclass that keeps its base's style simply derives from the base.
//
// The class style. Self::classStyle() is made by Self::makeStyle() (a plain style of
// the class unless Self declares its own, which may adjust the new style) once, on
// first use, thread-safely, and shared by every instance; a class that declares
//     static constexpr bool freshStyleEachRead = true;
// (the table, row and outline views) gets a new one on every read instead, and so do
// its subclasses.
//
// The control state. A cell reports cellControlState (StyleProtocols.h) unless it
// overrides the virtual controlState(); any other styled control overrides it. The
// getters fetch the style first and the state second, and build or keep nothing.
// Getters that read images are there for every class whose style class derives from
// the family's root style (a slider style of a subclass keeps its bar and knob
// images); they answer with no image when the dynamic style is not of that family.
// Thread: main thread; classStyle() may be called first on any thread.

#include <concepts>
#include <memory>
#include <type_traits>

#include "Runtime/Runtime.h"
#include "Styles/ControlStyles.h"
#include "Styles/StyleProtocols.h"

namespace TideglassDetail {
// The base of a StyledView that stands beside its class's real base.
struct Beside {};

// A class that already has a class style (a StyledView somewhere above it).
template <class T>
concept HasClassStyle = requires {
    typename T::FamilyStyle;
};

template <class ViewStyle, class Base> struct FamilyOf {
    using type = ViewStyle;
    static constexpr bool freshEachRead = false;
};
template <class ViewStyle, HasClassStyle Base> struct FamilyOf<ViewStyle, Base> {
    using type = typename Base::FamilyStyle;
    static constexpr bool freshEachRead = Base::freshStyleEachRead;
};
} // namespace TideglassDetail

template <class Self, class ViewStyleT, class Base = TideglassDetail::Beside>
class StyledView : public Base {
    using Family = TideglassDetail::FamilyOf<ViewStyleT, Base>;

  public:
    using Base::Base;
    // The style class this class declares.
    using ViewStyle = ViewStyleT;
    // The style class the family's first styled class declared: the declared type of
    // style() in the whole family.
    using FamilyStyle = typename Family::type;
    static_assert(std::derived_from<ViewStyle, Style>, "a view style is a Style");
    static_assert(std::derived_from<ViewStyle, FamilyStyle>,
                  "a subclass's style class derives from its base's");

    // Whether classStyle() makes a new style on every read (inherited).
    static constexpr bool freshStyleEachRead = Family::freshEachRead;

    // The class property: this class's style.
    static std::shared_ptr<ViewStyle> classStyle() {
        if constexpr (Self::freshStyleEachRead) {
            return Self::makeStyle();
        } else {
            static const std::shared_ptr<ViewStyle> shared = Self::makeStyle();
            return shared;
        }
    }
    // Makes the class style; a class may declare its own to adjust it.
    static std::shared_ptr<ViewStyle> makeStyle() { return std::make_shared<ViewStyle>(); }

    // The class style of this object's dynamic class.
    virtual std::shared_ptr<FamilyStyle> style() const { return Self::classStyle(); }

    // style() as T (a style class of the family or one it derives from), or none when
    // the dynamic class's style is not a T.
    template <class T>
    requires std::derived_from<T, FamilyStyle> || std::derived_from<FamilyStyle, T>
        std::shared_ptr<T> styleAs()
    const { return std::dynamic_pointer_cast<T>(style()); }
};

namespace TideglassDetail {
template <class T>
concept HasControlState = requires(const T& t) {
    { t.controlState() } -> std::same_as<StyledControlState>;
};

// The control state, declared once, by the family's first styled control.
template <class Self, class Base> class WithControlState : public Base {
  public:
    using Base::Base;
    // What the control shows now, the key of the style's tables. A cell's default
    // is cellControlState; any other styled control overrides this.
    virtual StyledControlState controlState() const {
        if constexpr (std::derived_from<Self, NSCell>)
            return cellControlState(static_cast<const Self&>(*this));
        else
            fatalError("a styled control that is not a cell reports its own controlState");
    }
};
template <class Self, class Base>
using ControlBase = std::conditional_t<HasControlState<Base>, Base, WithControlState<Self, Base>>;
} // namespace TideglassDetail

template <class Self, class ViewStyleT, class Base = TideglassDetail::Beside>
class StyledControl
    : public StyledView<Self, ViewStyleT, TideglassDetail::ControlBase<Self, Base>> {
    using Styled = StyledView<Self, ViewStyleT, TideglassDetail::ControlBase<Self, Base>>;

  public:
    using Styled::Styled;
    using typename Styled::FamilyStyle;
    using typename Styled::ViewStyle;

  private:
    // Which getters a class has: a control style's for a control family, a slider's,
    // check box's or table's for a class whose style derives from that style.
    static constexpr bool ControlFamily = std::derived_from<FamilyStyle, ControlStyle>;
    template <class F> static constexpr bool Of = std::derived_from<ViewStyle, F>;

  public:
    // The style's colours and bezel art for the current state.
    std::shared_ptr<NSColor> styleTextColor() const requires ControlFamily {
        return read(&ControlStyle::textColor);
    }
    std::shared_ptr<NSColor> styleTextBackgroundColor() const requires ControlFamily {
        return read(&ControlStyle::textBackgroundColor);
    }
    std::shared_ptr<NSColor> styleFocusRingColor() const requires ControlFamily {
        return read(&ControlStyle::focusRingColor);
    }
    std::shared_ptr<NSImage> styleBezelImage() const requires ControlFamily {
        return read(&ControlStyle::bezelImage);
    }
    // The slider's bar and knob, the check box's box, a table row's background.
    std::shared_ptr<NSImage> styleBarImage() const requires(Of<SliderCellStyle>) {
        return read(&SliderCellStyle::barImage);
    }
    std::shared_ptr<NSImage> styleKnobImage() const requires(Of<SliderCellStyle>) {
        return read(&SliderCellStyle::knobImage);
    }
    std::shared_ptr<NSImage> styleImage() const requires(Of<CheckBoxCellStyle>) {
        return read(&CheckBoxCellStyle::image);
    }
    std::shared_ptr<NSColor> rowBackgroundColor() const requires(Of<TableViewStyle>) {
        return read(&TableViewStyle::rowBackgroundColor);
    }

  private:
    // What the style, as an F, answers for the current state; none when the dynamic
    // class's style is not an F. The style is fetched first, the state second.
    template <class F, class R> R read(R (F::*answer)(StyledControlState) const) const {
        const auto style = this->template styleAs<F>();
        return style ? ((*style).*answer)(this->controlState()) : nullptr;
    }
};
