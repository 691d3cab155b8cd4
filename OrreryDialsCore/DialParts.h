#pragma once
// What every finished dial is made of: a KnobControl over a 51-frame film strip with a
// DialLabel laid over it, and the knob's constants (a full sweep takes 200 points).
// Thread: main.

#include "DialLabel.h"
#include "KnobControl.h"

#include <functional>
#include <memory>

struct DialParts {
    using ParameterBinding = SwiftUI::Binding<std::shared_ptr<AudioParameter>>;

    ParameterBinding param;
    LabelDisplayOptions labelDisplayOptions;
    std::shared_ptr<const LabelFormatter> formatter; // none: the label's default
    std::function<void()> onEditingEnded;
    int imageCount = 51;
    CGFloat knobMinDrag = 6;
    float knobDragScaleFactor = 0.005f;

    // The knob showing `frame(n)`, framed `size` and shifted 16 points up, under the
    // label with its title in `titleColor` and its texts in `face`.
    SwiftUI::AnyView dial(std::function<SwiftUI::AnyView(int)> frame, CGSize size,
                          SwiftUI::Color titleColor, OrreryFont face) const;
};
