#include "LargeDialRed.h"

#include "AppKit/ResourceBundle.h"

const std::shared_ptr<Bundle>& largeDialRedBundle() {
    static const std::shared_ptr<Bundle> bundle = findResourceBundle(
        "Orrery_OrreryLargeDialRed", reinterpret_cast<const void*>(&largeDialRedBundle));
    return bundle;
}

SwiftUI::Image LargeDialRed::image(int index) const {
    return dialFrameImage("knobs/chaos-dial-large-red_", index, largeDialRedBundle());
}
