#include "DialParts.h"

#include "Runtime/Runtime.h"

using namespace SwiftUI;

DialLabelFit KnobArtwork::labelFit() const {
    const CGFloat spacing = frame.height - 2 * centre.y + 32 - DialLabel::valueRowHeight;
    return {titleRadius, 2 * (valueDrop - spacing), spacing};
}

AnyView DialParts::dial(std::function<AnyView(int)> frame, const KnobArtwork& knob,
                        Color titleColor, OrreryFont face) const {
    Runtime::assertMainThread("dial");
    // The knob carries the label, so that a drag starting on the title or the value
    // turns it too. The whole knob is lifted 16 points and the label put back down, so
    // that the knob's resets answer where its frames are drawn, their top included.
    auto framed = [frame = std::move(frame), size = knob.frame](int n) {
        return frame(n).frame(size);
    };
    return KnobControl(param, knobMinDrag, knobDragScaleFactor, imageCount, std::move(framed),
                       DialLabel(param, std::move(titleColor), labelDisplayOptions, face, formatter,
                                 onEditingEnded, knob.labelFit())
                           .offset(0, knobLift))
        .offset(0, -knobLift);
}
