#include "ChaosDial.h"

#include "AppKit/ResourceBundle.h"
#include "Utilities/Utilities.h"
#include "Views/OrreryResources.h"

using namespace SwiftUI;

const std::shared_ptr<Bundle>& chaosDialBundle() {
    static const std::shared_ptr<Bundle> bundle = findResourceBundle(
        "Orrery_OrreryChaosDial", reinterpret_cast<const void*>(&chaosDialBundle));
    return bundle;
}

Image chaosDialFrame(ModernDialColor, int index) {
    return Image("knobs/chaos-dial-grey_" + paddedIndexString(index), chaosDialBundle());
}

AnyView ChaosDial::body() const {
    const ModernDialColor skin = color;
    return dial([skin](int frame) { return AnyView(chaosDialFrame(skin, frame)); }, chaosDialKnob,
                orreryPluginGrey(), OrreryFont::dosisMedium);
}
