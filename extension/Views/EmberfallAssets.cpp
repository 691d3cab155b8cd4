#include "Views/EmberfallAssets.h"

#include "AppKit/NSWorkspace.h"
#include "AppKit/ResourceBundle.h"
#include "Foundation/Bundle.h"
#include "Runtime/Runtime.h"
#include "Utilities/Utilities.h"
#include "Views/OrreryResources.h"

using namespace SwiftUI;

const std::shared_ptr<Bundle>& ResourceBundleClass::bundle() {
    static const std::shared_ptr<Bundle> found =
        findResourceBundle("EmberfallExtension_EmberfallExtension",
                           reinterpret_cast<const void*>(&ResourceBundleClass::bundle));
    return found;
}

namespace EmberfallAssets {

namespace {
template <class Resource> Resource make(const char* name) {
    return Resource{name, ResourceBundleClass::bundle()};
}
} // namespace

#define EMBERFALL_COLOR(function, name)                                                            \
    const ColorResource& function() {                                                              \
        static const ColorResource resource = make<ColorResource>(name);                           \
        return resource;                                                                           \
    }
#define EMBERFALL_IMAGE(function, name)                                                            \
    const ImageResource& function() {                                                              \
        static const ImageResource resource = make<ImageResource>(name);                           \
        return resource;                                                                           \
    }

EMBERFALL_COLOR(meterFilled, "meterFilled")
EMBERFALL_COLOR(meterLimit, "meterLimit")
EMBERFALL_COLOR(meterUnfilled, "meterUnfilled")
EMBERFALL_COLOR(values, "values")
EMBERFALL_IMAGE(background, "background")
EMBERFALL_IMAGE(korvaneLogo, "korvane-logo")
EMBERFALL_IMAGE(headerPreset, "header-preset")
EMBERFALL_IMAGE(headerPresetPrevious, "header-preset-previous")
EMBERFALL_IMAGE(headerPresetNext, "header-preset-next")
EMBERFALL_IMAGE(headerPresetRevert, "header-preset-revert")
EMBERFALL_IMAGE(gridDot, "grid-dot")
EMBERFALL_IMAGE(gridDotDown, "grid-dot-down")
EMBERFALL_IMAGE(morphNote, "morph-note")
EMBERFALL_IMAGE(morphMs, "morph-ms")

#undef EMBERFALL_COLOR
#undef EMBERFALL_IMAGE

} // namespace EmberfallAssets

namespace EmberfallLinks {

const URL& updateRequest() {
    static const URL url = *URL::string("emberfall://openAndUpdate");
    return url;
}

const URL& pluginCatalogue() {
    static const URL url = *URL::string(companySite().absoluteString() + "/plugins/");
    return url;
}

void open(const URL& url) {
    Runtime::assertMainThread("EmberfallLinks::open");
    (void)NSWorkspace::shared()->open(url);
}

} // namespace EmberfallLinks

AnyView EmberfallUpdateButtonStyle::makeBody(const ButtonStyleConfiguration& configuration) const {
    Runtime::assertMainThread("EmberfallUpdateButtonStyle");
    const Color blue = orreryPluginBlue();
    return orreryFont(configuration.label, OrreryFont::dosisLight, 13)
        .foregroundColor(blue)
        .padding(Edge::horizontal, 6)
        .padding(Edge::vertical, 4)
        .background(
            RoundedRectangle(4, RoundedCornerStyle::continuous).stroke(blue.opacity(0.3), 1))
        .opacity(configuration.isPressed ? 0.8 : 1.0)
        .contentShape(Rectangle());
}
