#include "Views/Buttons.h"

#include "AppKit/NSEvent.h"
#include "Runtime/Runtime.h"
#include "Utilities/Utilities.h"
#include "Views/OrreryResources.h"

#include <cmath>

using namespace SwiftUI;

namespace ButtonFaces {

namespace {
std::string down(std::string name, bool pressed) {
    return pressed ? name + "-down" : name;
}
const char* colorName(ChaosButtonColor color) {
    switch (color) {
    case ChaosButtonColor::yellow:
        return "yellow";
    case ChaosButtonColor::blue:
        return "blue";
    case ChaosButtonColor::red:
        return "red";
    case ChaosButtonColor::white:
        return "white";
    }
    return "yellow";
}
} // namespace

std::string chaosToggle(bool selected, ChaosButtonColor color, bool pressed) {
    return down(selected ? std::string("chaos-button-grey-on-") + colorName(color)
                         : "chaos-button-grey-off",
                pressed);
}

std::string chaosToggleNarrow(bool selected, bool pressed) {
    return down(selected ? "chaos-button-narrow-grey-on-yellow" : "chaos-button-narrow-grey-off",
                pressed);
}

std::string leftRightArrow(bool showsLeft, bool pressed) {
    return down(showsLeft ? "chaos-button-small-yellow-left" : "chaos-button-small-yellow-right",
                pressed);
}

std::string toggle(bool selected, bool pressed) {
    return down(selected ? "modern-button-on" : "modern-button", pressed);
}

std::string modeToggle(ToggleButtonStyle style, bool selected, bool pressed) {
    if (style == ToggleButtonStyle::modern)
        return toggle(selected, pressed);
    // The retro face lights only through the modern "on" art, and shows its own
    // pressed art only when selected.
    if (pressed)
        return selected ? "retro-button-down" : "retro-button";
    return selected ? "modern-button-on" : "retro-button";
}

} // namespace ButtonFaces

namespace {

constexpr ParameterEditor ui = ParameterEditor::ui;
using EditState = ParameterEditorState;

// Half-open containment in the button's own rectangle.
bool inside(CGPoint p, CGSize size) {
    return p.x >= 0 && p.y >= 0 && p.x < size.width && p.y < size.height;
}

bool isIndex(float value, int index) {
    return std::isfinite(value) && std::fabs(value) < 1e9f &&
           static_cast<long>(std::trunc(value)) == index;
}

// The upper-cased value string at `index`, empty when there is none.
std::string valueStringLabel(const AudioParameter& param, int index) {
    return uppercased(safe(param.valueStrings, index).value_or(""));
}

AnyView face(const std::string& name, CGSize size) {
    return orreryImage(name).frame(size);
}

AnyView chaosLabel(const std::string& text, CGFloat offsetY, bool pressed) {
    return orreryFont(Text(text), OrreryFont::dosisMedium, 13)
        .offset(0, offsetY)
        .foregroundColor(orreryColor(pressed ? "chaosToggleTextPressed" : "chaosToggleText"));
}

AnyView rocketLabel(const std::string& text, CGFloat size, const ColorValue& color) {
    return orreryFont(Text(text), OrreryFont::rocket, size).foregroundColor(color).offset(0, 2);
}

AnyView asButton(AnyView content, DragGesture gesture) {
    return content.accessibilityAddTraits(AccessibilityTraits::isButton)
        .gesture(gesture, GestureMask::all);
}

// The press protocol of the parameter buttons: begin with the current value on the
// first event; on a release inside, one change to `newValue`; always an end, with
// the value the press leaves. A press cut short ends like a release outside.
AnyView parameterPress(AnyView content, ParameterBinding param, CGSize size, State<bool> isPressed,
                       std::function<float(const AudioParameter&)> newValue) {
    auto changed = [param, isPressed](const DragGesture::Value&) {
        Runtime::assertMainThread("parameter button press");
        if (*isPressed)
            return;
        isPressed = true;
        auto p = param.get();
        p->setValue(p->value.peek(), ui, EditState::beginInteractive);
    };
    auto ended = [param, isPressed, size, newValue](const DragGesture::Value& v) {
        Runtime::assertMainThread("parameter button release");
        isPressed = false;
        auto p = param.get();
        float closing = p->value.peek();
        if (inside(v.location, size)) {
            closing = newValue(*p);
            p->setValue(closing, ui, EditState::change);
        }
        p->setValue(closing, ui, EditState::endInteractive);
    };
    auto cancelled = [param, isPressed] {
        if (!*isPressed)
            return;
        isPressed = false;
        auto p = param.get();
        p->setValue(p->value.peek(), ui, EditState::endInteractive);
    };
    return asButton(std::move(content),
                    DragGesture(0).onChanged(changed).onEnded(ended).onCancelled(cancelled));
}

// A press that only calls back: pressed face while down, `released(optionHeld)` on a
// release inside.
AnyView closurePress(AnyView content, CGSize size, State<bool> isPressed,
                     std::function<void(bool)> released) {
    auto changed = [isPressed](const DragGesture::Value&) {
        Runtime::assertMainThread("button press");
        isPressed = true;
    };
    auto ended = [isPressed, size, released](const DragGesture::Value& v) {
        Runtime::assertMainThread("button release");
        isPressed = false;
        if (inside(v.location, size) && released)
            released((NSEvent::currentModifierFlags() & NSEvent::option) != 0);
    };
    auto cancelled = [isPressed] { isPressed = false; };
    return asButton(std::move(content),
                    DragGesture(0).onChanged(changed).onEnded(ended).onCancelled(cancelled));
}

float flipped(const AudioParameter& p) {
    return p.value.peek() == 0 ? 1.0f : 0.0f;
}

} // namespace

AnyView ChaosButton::body(ViewContext& ctx) const {
    State<bool> isPressed = ctx.state(false);
    AnyView label = orreryFont(Text(buttonText), OrreryFont::dosisMedium, 13)
                        .offset(0, -4)
                        .foregroundColor(orreryColor("ChaosYellowText"));
    AnyView content = ZStack(
        Alignment::center(),
        face(*isPressed ? "chaos-button-yellow-down" : "chaos-button-yellow", buttonSize), label);
    auto action = onPressed;
    return closurePress(content, buttonSize, isPressed, [action](bool) {
        if (action)
            action();
    });
}

AnyView ChaosToggleButton::body(ViewContext& ctx) const {
    State<bool> isPressed = ctx.state(false);
    auto p = param.get();
    const bool selected = isIndex(p->value.get(), valueIndex);
    AnyView label = image ? image->opacity(*isPressed ? 0.7 : 1.0).offset(0, -2)
                          : chaosLabel(valueStringLabel(*p, valueIndex), -6, *isPressed);
    AnyView content =
        ZStack(Alignment::center(),
               face(ButtonFaces::chaosToggle(selected, color, *isPressed), buttonSize), label);
    const int index = valueIndex;
    return parameterPress(content, param, buttonSize, isPressed,
                          [index](const AudioParameter&) { return float(index); });
}

AnyView ChaosToggleButtonNarrow::body(ViewContext& ctx) const {
    State<bool> isPressed = ctx.state(false);
    const bool selected = param.get()->value.get() == 1.0f;
    AnyView label = buttonText ? chaosLabel(*buttonText, -2, *isPressed) : AnyView(EmptyView());
    AnyView content =
        ZStack(Alignment::center(),
               face(ButtonFaces::chaosToggleNarrow(selected, *isPressed), buttonSize), label);
    return parameterPress(content, param, buttonSize, isPressed, flipped);
}

AnyView ImageButton::body(ViewContext& ctx) const {
    State<bool> isPressed = ctx.state(false);
    return closurePress(*isPressed ? downImage : image, buttonSize, isPressed, onPressed);
}

AnyView LeftRightArrowButton::body(ViewContext& ctx) const {
    State<bool> isPressed = ctx.state(false);
    const bool showsLeft = param.get()->value.get() == leftValue;
    return parameterPress(face(ButtonFaces::leftRightArrow(showsLeft, *isPressed), buttonSize),
                          param, buttonSize, isPressed, flipped);
}

AnyView ModeToggleButton::body(ViewContext& ctx) const {
    State<bool> isPressed = ctx.state(false);
    auto p = param.get();
    const bool selected = isIndex(p->value.get(), valueIndex);
    ColorValue textColor = selected ? ColorValue(buttonTextColor)
                           : buttonStyle == ToggleButtonStyle::modern
                               ? ColorValue(orreryColor("buttonText"))
                               : ColorValue(orreryColor("background"));
    AnyView content =
        ZStack(Alignment::center(),
               face(ButtonFaces::modeToggle(buttonStyle, selected, *isPressed), buttonSize),
               rocketLabel(valueStringLabel(*p, valueIndex), buttonFontSize, textColor));
    const int index = valueIndex;
    return parameterPress(content, param, buttonSize, isPressed,
                          [index](const AudioParameter&) { return float(index); });
}

AnyView ParameterHoldButton::body(ViewContext& ctx) const {
    State<bool> isGestureActive = ctx.state(false);
    const bool held = param.get()->value.get() == 1.0f;
    AnyView content = VStack(HorizontalAlignment::center(), Image(held ? pressedImage : image));
    auto p = param;
    auto changed = [p, isGestureActive](const DragGesture::Value&) {
        Runtime::assertMainThread("hold button press");
        if (*isGestureActive)
            return;
        isGestureActive = true;
        p.get()->setValue(0, ui, EditState::beginInteractive);
        p.get()->setValue(1, ui, EditState::change);
    };
    auto release = [p, isGestureActive] {
        if (!*isGestureActive)
            return;
        isGestureActive = false;
        p.get()->setValue(0, ui, EditState::change);
        p.get()->setValue(0, ui, EditState::endInteractive);
    };
    return asButton(content, DragGesture(0)
                                 .onChanged(changed)
                                 .onEnded([release](const DragGesture::Value&) {
                                     Runtime::assertMainThread("hold button release");
                                     release();
                                 })
                                 .onCancelled(release));
}

AnyView ToggleButton::body(ViewContext& ctx) const {
    State<bool> isPressed = ctx.state(false);
    auto p = param.get();
    const bool selected = p->value.get() == 1.0f;
    ColorValue textColor =
        selected ? ColorValue(buttonTextColor) : ColorValue(orreryColor("buttonText"));
    AnyView content =
        ZStack(Alignment::center(), face(ButtonFaces::toggle(selected, *isPressed), buttonSize),
               rocketLabel(nameOverride.value_or(uppercased(p->name)), buttonFontSize, textColor));
    return parameterPress(content, param, buttonSize, isPressed, flipped);
}
