#include "Styles/TideglassResources.h"

#include <map>
#include <string>

#include "AppKit/NSColor.h"
#include "AppKit/NSImage.h"
#include "AppKit/ResourceBundle.h"
#include "Foundation/Bundle.h"
#include "Runtime/Runtime.h"
#include "SwiftUI/AppKitColor.h"
#include "SwiftUI/ResourceTable.h"

using SwiftUI::Color;
using SwiftUI::Image;

const std::shared_ptr<Bundle>& tideglassBundle() {
    // A missing bundle is reported from the library's bundle accessor, line 44.
    static const std::shared_ptr<Bundle> bundle =
        findResourceBundle("Tideglass_Tideglass", reinterpret_cast<const void*>(&tideglassBundle),
                           "Tideglass/resource_bundle_accessor", 44);
    return bundle;
}

namespace TideglassResources {

const std::vector<std::string_view> colorNames = {
    "Background/Darker", "Background/Darkest", "Background/Normal", "Error",         "Grey 100%",
    "Grey 20%",          "Grey 30%",           "Grey 40%",          "Grey 50%",      "Grey 60%",
    "Grey 70%",          "Grey 85%",           "Highlight/System",  "Quarro/Aqua",   "Quarro/Blue",
    "Quarro/DarkPurple", "Quarro/LightBlue",   "Quarro/Orange",     "Quarro/Purple", "Quarro/Red",
    "Quarro/Yellow",
};

const std::vector<std::string_view> imageNames = {
    "tgui-button",
    "tgui-button-down",
    "tgui-button-selected",
    "tgui-checkbox",
    "tgui-checkbox-down",
    "tgui-checkbox-mixed",
    "tgui-checkbox-mixed-down",
    "tgui-checkbox-on",
    "tgui-checkbox-on-down",
    "tgui-checkerboard",
    "tgui-checkerboard-small",
    "tgui-combobox",
    "tgui-combobox-up",
    "tgui-customslider-handle",
    "tgui-customslider-handle-down",
    "tgui-customslider-on",
    "tgui-popdown",
    "tgui-popdown-down",
    "tgui-popup",
    "tgui-popup-down",
    "tgui-popup-tool",
    "tgui-popup-tool-down",
    "tgui-searchfield",
    "tgui-searchfield-focus",
    "tgui-slider",
    "tgui-slider-alley",
    "tgui-slider-handle",
    "tgui-slider-handle-down",
    "tgui-slider-handle-multi",
    "tgui-textfield",
    "tgui-textfield-error",
    "tgui-textfield-focus",
    "tgui-textfield-tableheader",
    "tgui-window-tab",
    "tgui-window-tab-down",
    "tgui-window-tab-selected",
    "corner-tool-background",
    "corner-tool-background-down",
    "corner-tool-background-selected",
    "corner-tool-more",
    "cursor-trackingslider",
    "organiser-icon-disclose",
    "organiser-icon-disclose-open",
    "organiser-icon-star",
    "organiser-icon-star-empty",
    "organiser-navbar-back",
    "organiser-navbar-back-down",
    "properties-table-add",
    "properties-table-add-down",
    "properties-tableheader-overflow",
    "properties-tableheader-overflow-down",
    "window-korvane",
};

const SwiftUI::ColorResource& color(std::string_view name) {
    static const SwiftUI::ResourceTable<SwiftUI::ColorResource> table(
        colorNames, tideglassBundle(), "colour", "Tideglass_Tideglass");
    return table.at(name);
}

const SwiftUI::ImageResource& image(std::string_view name) {
    static const SwiftUI::ResourceTable<SwiftUI::ImageResource> table(
        imageNames, tideglassBundle(), "image", "Tideglass_Tideglass");
    return table.at(name);
}

std::shared_ptr<NSColor> nsColor(std::string_view name) {
    const auto& resource = color(name);
    if (auto made = NSColor::named(resource.name, resource.bundle))
        return made;
    return NSColor::withCGColor(CGColor::rgb(0, 0, 0, 0).namedAsset(resource.name));
}

std::shared_ptr<NSImage> nsImage(std::string_view name) {
    const auto& resource = image(name);
    if (auto made = NSImage::named(resource.name, resource.bundle))
        return made;
    auto empty = NSImage::blank({});
    empty->setName(resource.name);
    return empty;
}

SwiftUI::Color viewColor(std::string_view name) {
    return Color(color(name));
}

SwiftUI::Image viewImage(std::string_view name) {
    return Image(image(name));
}

std::shared_ptr<NSColor> convertedColor(const SwiftUI::Color& color) {
    return SwiftUI::makeNSColor(color);
}

} // namespace TideglassResources
