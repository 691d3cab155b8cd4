#include "LargeDialOrange.h"

#include "AppKit/ResourceBundle.h"

const std::shared_ptr<Bundle>& largeDialOrangeBundle() {
    static const std::shared_ptr<Bundle> bundle = findResourceBundle(
        "Orrery_OrreryLargeDialOrange", reinterpret_cast<const void*>(&largeDialOrangeBundle));
    return bundle;
}

SwiftUI::Image LargeDialOrange::image(int index) const {
    return dialFrameImage("knobs/chaos-dial-large-orange_", index, largeDialOrangeBundle());
}
