#pragma once
// The rotary control of the dials: shows the film-strip frame of a parameter's value
// (the caller's closure makes the view of a frame number, 1...imageCount) and turns
// vertical drags, double-clicks and Option-clicks into parameter changes, always as
// the user interface.
//  - A drag starts after knobMinDrag points. Its first event marks the parameter as
//    being edited and sends begin with the unchanged value; each later event moves
//    the normalised position by knobDragScaleFactor per point upwards (clamped to
//    0...1) and sends one change (rounded for indexed parameters, while the unrounded
//    value keeps accumulating); the release clears the mark and sends end.
//  - A drag cut short (the knob leaves the tree mid-drag) ends the same way, so the
//    host's touch is released and outside changes are no longer ignored.
//  - A double-click, or a click with Option held, sends the default value as one
//    change.
//  - What the knob carries on top of its frames (a dial's label) is part of what it
//    turns by: a drag that starts on it turns the knob, while a click on it is its own
//    (the label's tap starts typing a value) and does not reset the knob.
// Thread: main, every member.

#include "KnobMapping.h"
#include "Parameters/AudioParameter.h"
#include "SwiftUI/SwiftUI.h"

#include <functional>
#include <memory>
#include <optional>

struct KnobControl : SwiftUI::View<KnobControl> {
    using ParameterBinding = SwiftUI::Binding<std::shared_ptr<AudioParameter>>;

    KnobControl(ParameterBinding param, CGFloat knobMinDrag, float knobDragScaleFactor,
                int imageCount, std::function<SwiftUI::AnyView(int frame)> content,
                std::optional<SwiftUI::AnyView> overlay = std::nullopt)
        : param(std::move(param)), knobMinDrag(knobMinDrag),
          knobDragScaleFactor(knobDragScaleFactor), imageCount(imageCount),
          content(std::move(content)), overlay(std::move(overlay)) {}

    SwiftUI::AnyView body(SwiftUI::ViewContext& ctx) const;

    ParameterBinding param;
    CGFloat knobMinDrag;
    float knobDragScaleFactor;
    int imageCount;
    std::function<SwiftUI::AnyView(int)> content;
    std::optional<SwiftUI::AnyView> overlay; // centred over the frames
};
