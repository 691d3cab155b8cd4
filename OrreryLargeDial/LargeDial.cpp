#include "LargeDial.h"

#include "Utilities/Utilities.h"

std::string LargeDialColor::indexString(int index) {
    return paddedIndexString(index);
}

SwiftUI::Image dialFrameImage(const std::string& prefix, int index,
                              const std::shared_ptr<Bundle>& bundle) {
    return SwiftUI::Image(prefix + LargeDialColor::indexString(index), bundle);
}
