#include "LargeDialYellow.h"

#include "AppKit/ResourceBundle.h"

const std::shared_ptr<Bundle>& largeDialYellowBundle() {
    static const std::shared_ptr<Bundle> bundle = findResourceBundle(
        "Orrery_OrreryLargeDialYellow", reinterpret_cast<const void*>(&largeDialYellowBundle));
    return bundle;
}

SwiftUI::Image LargeDialYellow::image(int index) const {
    return dialFrameImage("knobs/chaos-dial-large-yellow_", index, largeDialYellowBundle());
}
