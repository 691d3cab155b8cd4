#include "LargeDialBlue.h"

#include "AppKit/ResourceBundle.h"

const std::shared_ptr<Bundle>& largeDialBlueBundle() {
    static const std::shared_ptr<Bundle> bundle = findResourceBundle(
        "Orrery_OrreryLargeDialBlue", reinterpret_cast<const void*>(&largeDialBlueBundle));
    return bundle;
}

SwiftUI::Image LargeDialBlue::image(int index) const {
    return dialFrameImage("knobs/chaos-dial-large-blue_", index, largeDialBlueBundle());
}
