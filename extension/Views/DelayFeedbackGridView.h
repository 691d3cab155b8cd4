#pragma once
// The two-dimensional pad in the middle of the editor: a dot on the pad's picture
// shows the delay time (across: delayMs in ms mode, delayNote in note mode) and the
// feedback (up). Dragging anywhere on the pad moves the dot and writes both
// parameters as one interactive edit per drag: feedback first, then the delay
// parameter of the mode in force at that event, with one beginInteractive, any number
// of changes and one endInteractive each. A drag cut short (the pad leaves the tree,
// the window loses the mouse) ends its edit at the last point. The dot is placed
// from the parameters on every build, so it follows changes from any source.
// Thread: main.

#include "SwiftUI/SwiftUI.h"

#include "Parameters/ParameterTypes.h"

class Settings;

struct DelayFeedbackGridView : SwiftUI::View<DelayFeedbackGridView> {
    DelayFeedbackGridView(CGSize gridSize, CGFloat padding)
        : gridSize(gridSize), padding(padding) {}

    // The dot's centre in the pad: (p + nx·W, p + (1 - ny)·H) with W, H the pad less
    // twice the padding, nx the delay's and ny the feedback's travel position.
    static CGPoint dotPosition(const Settings& settings, CGSize gridSize, CGFloat padding);
    // One write of a drag at `location` (pad space): clamped into the travel, then
    // feedback and the current mode's delay parameter written from the user interface
    // with `state`.
    static void write(Settings& settings, CGPoint location, CGSize gridSize, CGFloat padding,
                      ParameterEditorState state);

    SwiftUI::AnyView body(SwiftUI::ViewContext& ctx) const;

    CGSize gridSize;
    CGFloat padding;
};
