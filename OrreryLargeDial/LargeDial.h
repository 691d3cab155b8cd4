#pragma once
// The large dial: a KnobControl over a colour skin's 51-frame film strip (72 × 82
// points, shifted 16 points up) with a DialLabel laid over it. The skins are the
// colour modules OrreryLargeDialRed, ...Yellow, ...Orange and ...Blue, each with the
// frames in a resource bundle of its own. Thread: main.

#include "DialParts.h"
#include "SwiftUI/SwiftUI.h"

#include <concepts>
#include <functional>
#include <memory>
#include <string>

class Bundle;

// The knob every skin's frames draw: 72 × 82 points with the knob's centre at (36, 34),
// the cap clear for the title within 19.8 points of it (the pointer notch sits on the
// cap's rim), and the value row from 18 points below it, under the ring's scale.
inline constexpr KnobArtwork largeDialKnob{{72, 82}, {36, 34}, 19.8, 18};

// A skin: the image of a frame, 1...51.
class LargeDialColor {
  public:
    virtual ~LargeDialColor() = default;
    virtual SwiftUI::Image image(int index) const = 0;
    // The frame number as the strip's names spell it: 1 → "01", 51 → "51".
    static std::string indexString(int index);
};

// The frame image prefix + two-digit index of a skin's bundle.
SwiftUI::Image dialFrameImage(const std::string& prefix, int index,
                              const std::shared_ptr<Bundle>& bundle);

template <class Skin>
requires std::derived_from<Skin, LargeDialColor>
struct LargeDial : SwiftUI::View<LargeDial<Skin>>, DialParts {
    LargeDial(ParameterBinding param, Skin color, SwiftUI::Color labelColor,
              LabelDisplayOptions labelDisplayOptions,
              std::shared_ptr<const LabelFormatter> formatter, std::function<void()> onEditingEnded)
        : DialParts{std::move(param), std::move(labelDisplayOptions), std::move(formatter),
                    std::move(onEditingEnded)},
          color(std::move(color)), labelColor(std::move(labelColor)) {}

    SwiftUI::AnyView body() const {
        Skin skin = color;
        return dial([skin](int frame) { return SwiftUI::AnyView(skin.image(frame)); },
                    largeDialKnob, labelColor, labelDisplayOptions.font);
    }

    Skin color;
    SwiftUI::Color labelColor;
};
