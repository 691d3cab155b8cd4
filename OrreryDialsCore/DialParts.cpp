#include "DialParts.h"

#include "Runtime/Runtime.h"

using namespace SwiftUI;

AnyView DialParts::dial(std::function<AnyView(int)> frame, CGSize size, Color titleColor,
                        OrreryFont face) const {
    Runtime::assertMainThread("dial");
    return ZStack(Alignment::center(),
                  KnobControl(param, knobMinDrag, knobDragScaleFactor, imageCount, std::move(frame))
                      .frame(size)
                      .offset(0, -16),
                  DialLabel(param, std::move(titleColor), labelDisplayOptions, face, formatter,
                            onEditingEnded));
}
