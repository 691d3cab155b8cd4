#pragma once
// What every finished dial is made of: a KnobControl over a 51-frame film strip with a
// DialLabel laid over it, and the knob's constants (a full sweep takes 200 points).
// Thread: main.

#include "DialLabel.h"
#include "KnobControl.h"

#include <functional>
#include <memory>

// A dial's knob as its film strip draws it: the frame's size, the knob's centre in the
// frame, the radius around that centre inside which the cap's face is clear for the
// title (the pointer stays outside it), and how far below the centre the value row
// starts, clear of the ring and its scale.
struct KnobArtwork {
    CGSize frame;
    CGPoint centre;
    CGFloat titleRadius;
    CGFloat valueDrop;

    // The label's bands that put the title's centre on the knob's centre and the value
    // row `valueDrop` below it. The label is centred on the frame and the frame lifted
    // 16 points, so the title row's centre lies (spacing + valueRow) / 2 above the
    // frame's middle, h/2 - 16 - cy above the knob's centre when
    //     spacing = h - 2 cy + 32 - valueRow,    titleBand = 2 (valueDrop - spacing).
    DialLabelFit labelFit() const;
};

struct DialParts {
    // How far a dial's frames are drawn above the middle of its label.
    static constexpr CGFloat knobLift = 16;

    using ParameterBinding = SwiftUI::Binding<std::shared_ptr<AudioParameter>>;

    ParameterBinding param;
    LabelDisplayOptions labelDisplayOptions;
    std::shared_ptr<const LabelFormatter> formatter; // none: the label's default
    std::function<void()> onEditingEnded;
    int imageCount = 51;
    CGFloat knobMinDrag = 6;
    float knobDragScaleFactor = 0.005f;

    // The knob showing `frame(n)`, framed to the artwork's frame and shifted 16 points
    // up, carrying the label with its title in `titleColor`, fitted into the cap, and
    // its texts in `face`.
    SwiftUI::AnyView dial(std::function<SwiftUI::AnyView(int)> frame, const KnobArtwork& knob,
                          SwiftUI::Color titleColor, OrreryFont face) const;
};
