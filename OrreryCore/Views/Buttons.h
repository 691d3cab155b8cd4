#pragma once
// The framework's small buttons, drawn from the bitmap faces of its catalogue. Six
// edit an AudioParameter (always as the user interface, framed as one interactive
// edit: begin, at most one change, end); ChaosButton and ImageButton only call a
// closure. Each takes its clicks through a drag with no minimum distance, so it can
// show a pressed face while the mouse is down, and counts a release only inside its
// own rectangle (origin 0,0, size buttonSize; the right and bottom edges are outside).
// A press cut short (the button leaves the tree) closes the host's gesture like a
// release outside.
// Thread: main, every member.

#include "Parameters/AudioParameter.h"
#include "SwiftUI/SwiftUI.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

using ParameterBinding = SwiftUI::Binding<std::shared_ptr<AudioParameter>>;

enum class ChaosButtonColor { yellow, blue, red, white };
enum class ToggleButtonStyle { modern, retro };

// The face asset names, by state.
namespace ButtonFaces {
std::string chaosToggle(bool selected, ChaosButtonColor color, bool pressed);
std::string chaosToggleNarrow(bool selected, bool pressed);
std::string leftRightArrow(bool showsLeft, bool pressed);
std::string toggle(bool selected, bool pressed);
std::string modeToggle(ToggleButtonStyle style, bool selected, bool pressed);
} // namespace ButtonFaces

// A button that calls a closure; always the yellow face.
struct ChaosButton : SwiftUI::View<ChaosButton> {
    ChaosButton(std::string title, ChaosButtonColor buttonColor, std::function<void()> onPressed)
        : color(buttonColor), buttonText(std::move(title)), onPressed(std::move(onPressed)) {}
    SwiftUI::AnyView body(SwiftUI::ViewContext& ctx) const;

    ChaosButtonColor color;
    std::string buttonText;
    std::function<void()> onPressed;
    CGSize buttonSize{48, 56};
};

// Selects one index of a parameter; lit in its colour while the value is that index.
struct ChaosToggleButton : SwiftUI::View<ChaosToggleButton> {
    ChaosToggleButton(ParameterBinding param, int valueIndex, ChaosButtonColor buttonColor,
                      std::optional<SwiftUI::Image> image = std::nullopt)
        : param(std::move(param)), valueIndex(valueIndex), color(buttonColor),
          image(std::move(image)) {}
    SwiftUI::AnyView body(SwiftUI::ViewContext& ctx) const;

    ParameterBinding param;
    int valueIndex;
    ChaosButtonColor color;
    std::optional<SwiftUI::Image> image;
    CGSize buttonSize{48, 56};
};

// Switches a parameter between 0 and 1; narrow face.
struct ChaosToggleButtonNarrow : SwiftUI::View<ChaosToggleButtonNarrow> {
    ChaosToggleButtonNarrow(ParameterBinding param, std::optional<std::string> title)
        : param(std::move(param)), buttonText(std::move(title)) {}
    SwiftUI::AnyView body(SwiftUI::ViewContext& ctx) const;

    ParameterBinding param;
    std::optional<std::string> buttonText;
    CGSize buttonSize{24, 62};
};

// A button of two caller images; the closure hears whether Option was held at release.
struct ImageButton : SwiftUI::View<ImageButton> {
    ImageButton(SwiftUI::Image image, SwiftUI::Image downImage,
                std::function<void(bool optionHeld)> onPressed)
        : image(std::move(image)), downImage(std::move(downImage)),
          onPressed(std::move(onPressed)) {}
    SwiftUI::AnyView body(SwiftUI::ViewContext& ctx) const;

    SwiftUI::Image image, downImage;
    std::function<void(bool)> onPressed;
    CGSize buttonSize{48, 56};
};

// Switches a parameter between 0 and 1, showing a left arrow while it is `leftValue`.
struct LeftRightArrowButton : SwiftUI::View<LeftRightArrowButton> {
    LeftRightArrowButton(ParameterBinding param, float leftValue)
        : param(std::move(param)), leftValue(leftValue) {}
    SwiftUI::AnyView body(SwiftUI::ViewContext& ctx) const;

    ParameterBinding param;
    float leftValue;
    CGSize buttonSize{28, 34};
};

// Selects one index of a parameter, labelled with that index's value string.
struct ModeToggleButton : SwiftUI::View<ModeToggleButton> {
    ModeToggleButton(ParameterBinding param, int valueIndex, SwiftUI::Color textColor,
                     ToggleButtonStyle buttonStyle, CGFloat buttonFontSize)
        : param(std::move(param)), valueIndex(valueIndex), buttonStyle(buttonStyle),
          buttonFontSize(buttonFontSize), buttonTextColor(std::move(textColor)) {}
    SwiftUI::AnyView body(SwiftUI::ViewContext& ctx) const;

    ParameterBinding param;
    int valueIndex;
    ToggleButtonStyle buttonStyle;
    CGFloat buttonFontSize;
    SwiftUI::Color buttonTextColor;
    CGSize buttonSize{88, 27};
};

// Holds a parameter at 1 while pressed and returns it to 0 on release, wherever.
struct ParameterHoldButton : SwiftUI::View<ParameterHoldButton> {
    ParameterHoldButton(ParameterBinding param, SwiftUI::ImageResource image,
                        SwiftUI::ImageResource pressedImage)
        : param(std::move(param)), image(std::move(image)), pressedImage(std::move(pressedImage)) {}
    SwiftUI::AnyView body(SwiftUI::ViewContext& ctx) const;

    ParameterBinding param;
    SwiftUI::ImageResource image, pressedImage;
};

// Switches a parameter between 0 and 1, labelled with its name.
struct ToggleButton : SwiftUI::View<ToggleButton> {
    ToggleButton(ParameterBinding param, SwiftUI::Color buttonTextColor,
                 std::optional<std::string> nameOverride, CGFloat buttonFontSize)
        : param(std::move(param)), nameOverride(std::move(nameOverride)),
          buttonFontSize(buttonFontSize), buttonTextColor(std::move(buttonTextColor)) {}
    SwiftUI::AnyView body(SwiftUI::ViewContext& ctx) const;

    ParameterBinding param;
    std::optional<std::string> nameOverride;
    CGFloat buttonFontSize;
    SwiftUI::Color buttonTextColor;
    CGSize buttonSize{88, 27};
};
