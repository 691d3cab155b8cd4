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
    static const std::shared_ptr<Bundle> bundle =
        findResourceBundle("Tideglass_Tideglass", reinterpret_cast<const void*>(&tideglassBundle));
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

} // namespace TideglassResources

namespace {
Color paletteColor(std::string_view name) {
    return Color(TideglassResources::color(name));
}
std::shared_ptr<NSColor> appKitPaletteColor(std::string_view name) {
    return SwiftUI::makeNSColor(paletteColor(name));
}
} // namespace

namespace TGColors {
namespace Background {
const Color& normal() {
    static const Color made = paletteColor("Background/Normal");
    return made;
}
const Color& darker() {
    static const Color made = paletteColor("Background/Darker");
    return made;
}
const Color& darkest() {
    static const Color made = paletteColor("Background/Darkest");
    return made;
}
} // namespace Background
namespace Quarro {
const Color& aqua() {
    static const Color made = paletteColor("Quarro/Aqua");
    return made;
}
const Color& blue() {
    static const Color made = paletteColor("Quarro/Blue");
    return made;
}
const Color& darkPurple() {
    static const Color made = paletteColor("Quarro/DarkPurple");
    return made;
}
const Color& lightBlue() {
    static const Color made = paletteColor("Quarro/LightBlue");
    return made;
}
const Color& orange() {
    static const Color made = paletteColor("Quarro/Orange");
    return made;
}
const Color& purple() {
    static const Color made = paletteColor("Quarro/Purple");
    return made;
}
const Color& red() {
    static const Color made = paletteColor("Quarro/Red");
    return made;
}
const Color& yellow() {
    static const Color made = paletteColor("Quarro/Yellow");
    return made;
}
} // namespace Quarro
const Color& grey20() {
    static const Color made = paletteColor("Grey 20%");
    return made;
}
const Color& grey30() {
    static const Color made = paletteColor("Grey 30%");
    return made;
}
const Color& grey40() {
    static const Color made = paletteColor("Grey 40%");
    return made;
}
const Color& grey50() {
    static const Color made = paletteColor("Grey 50%");
    return made;
}
const Color& grey60() {
    static const Color made = paletteColor("Grey 60%");
    return made;
}
const Color& grey70() {
    static const Color made = paletteColor("Grey 70%");
    return made;
}
const Color& grey85() {
    static const Color made = paletteColor("Grey 85%");
    return made;
}
const Color& grey100() {
    static const Color made = paletteColor("Grey 100%");
    return made;
}
} // namespace TGColors

namespace TGColorsAK {
namespace Background {
const std::shared_ptr<NSColor>& normal() {
    static const std::shared_ptr<NSColor> made = appKitPaletteColor("Background/Normal");
    return made;
}
const std::shared_ptr<NSColor>& darker() {
    static const std::shared_ptr<NSColor> made = appKitPaletteColor("Background/Darker");
    return made;
}
const std::shared_ptr<NSColor>& darkest() {
    static const std::shared_ptr<NSColor> made = appKitPaletteColor("Background/Darkest");
    return made;
}
} // namespace Background
namespace Quarro {
const std::shared_ptr<NSColor>& aqua() {
    static const std::shared_ptr<NSColor> made = appKitPaletteColor("Quarro/Aqua");
    return made;
}
const std::shared_ptr<NSColor>& blue() {
    static const std::shared_ptr<NSColor> made = appKitPaletteColor("Quarro/Blue");
    return made;
}
const std::shared_ptr<NSColor>& darkPurple() {
    static const std::shared_ptr<NSColor> made = appKitPaletteColor("Quarro/DarkPurple");
    return made;
}
const std::shared_ptr<NSColor>& lightBlue() {
    static const std::shared_ptr<NSColor> made = appKitPaletteColor("Quarro/LightBlue");
    return made;
}
const std::shared_ptr<NSColor>& orange() {
    static const std::shared_ptr<NSColor> made = appKitPaletteColor("Quarro/Orange");
    return made;
}
const std::shared_ptr<NSColor>& purple() {
    static const std::shared_ptr<NSColor> made = appKitPaletteColor("Quarro/Purple");
    return made;
}
const std::shared_ptr<NSColor>& red() {
    static const std::shared_ptr<NSColor> made = appKitPaletteColor("Quarro/Red");
    return made;
}
const std::shared_ptr<NSColor>& yellow() {
    static const std::shared_ptr<NSColor> made = appKitPaletteColor("Quarro/Yellow");
    return made;
}
} // namespace Quarro
const std::shared_ptr<NSColor>& grey20() {
    static const std::shared_ptr<NSColor> made = appKitPaletteColor("Grey 20%");
    return made;
}
const std::shared_ptr<NSColor>& grey30() {
    static const std::shared_ptr<NSColor> made = appKitPaletteColor("Grey 30%");
    return made;
}
const std::shared_ptr<NSColor>& grey40() {
    static const std::shared_ptr<NSColor> made = appKitPaletteColor("Grey 40%");
    return made;
}
const std::shared_ptr<NSColor>& grey50() {
    static const std::shared_ptr<NSColor> made = appKitPaletteColor("Grey 50%");
    return made;
}
const std::shared_ptr<NSColor>& grey60() {
    static const std::shared_ptr<NSColor> made = appKitPaletteColor("Grey 60%");
    return made;
}
const std::shared_ptr<NSColor>& grey70() {
    static const std::shared_ptr<NSColor> made = appKitPaletteColor("Grey 70%");
    return made;
}
const std::shared_ptr<NSColor>& grey85() {
    static const std::shared_ptr<NSColor> made = appKitPaletteColor("Grey 85%");
    return made;
}
const std::shared_ptr<NSColor>& grey100() {
    static const std::shared_ptr<NSColor> made = appKitPaletteColor("Grey 100%");
    return made;
}
} // namespace TGColorsAK

namespace TGImages {
const Image& tguiButton() {
    static const Image made(TideglassResources::image("tgui-button"));
    return made;
}
const Image& tguiButtonDown() {
    static const Image made(TideglassResources::image("tgui-button-down"));
    return made;
}
const Image& korvaneLogoBig() {
    static const Image made(TideglassResources::image("window-korvane"));
    return made;
}
const Image& tguiCheckerboard() {
    static const Image made(TideglassResources::image("tgui-checkerboard"));
    return made;
}
const Image& tguiCheckerboardSmall() {
    static const Image made(TideglassResources::image("tgui-checkerboard-small"));
    return made;
}
const Image& tguiTextfield() {
    static const Image made(TideglassResources::image("tgui-textfield"));
    return made;
}
const Image& tguiTextfieldError() {
    static const Image made(TideglassResources::image("tgui-textfield-error"));
    return made;
}
const Image& tguiTextfieldFocus() {
    static const Image made(TideglassResources::image("tgui-textfield-focus"));
    return made;
}
const Image& tguiCheckbox() {
    static const Image made(TideglassResources::image("tgui-checkbox"));
    return made;
}
const Image& tguiCheckboxOn() {
    static const Image made(TideglassResources::image("tgui-checkbox-on"));
    return made;
}
const Image& tguiCheckboxDown() {
    static const Image made(TideglassResources::image("tgui-checkbox-down"));
    return made;
}
const Image& tguiCheckboxOnDown() {
    static const Image made(TideglassResources::image("tgui-checkbox-on-down"));
    return made;
}
} // namespace TGImages

namespace TGImagesAK {
const std::shared_ptr<NSImage>& tguiButton() {
    static const auto made = TideglassResources::nsImage("tgui-button");
    return made;
}
const std::shared_ptr<NSImage>& tguiButtonDown() {
    static const auto made = TideglassResources::nsImage("tgui-button-down");
    return made;
}
const std::shared_ptr<NSImage>& korvaneLogoBig() {
    static const auto made = TideglassResources::nsImage("window-korvane");
    return made;
}
const std::shared_ptr<NSImage>& tguiCheckerboard() {
    static const auto made = TideglassResources::nsImage("tgui-checkerboard");
    return made;
}
const std::shared_ptr<NSImage>& tguiCheckerboardSmall() {
    static const auto made = TideglassResources::nsImage("tgui-checkerboard-small");
    return made;
}
const std::shared_ptr<NSImage>& tguiTextfield() {
    static const auto made = TideglassResources::nsImage("tgui-textfield");
    return made;
}
const std::shared_ptr<NSImage>& tguiTextfieldError() {
    static const auto made = TideglassResources::nsImage("tgui-textfield-error");
    return made;
}
const std::shared_ptr<NSImage>& tguiTextfieldFocus() {
    static const auto made = TideglassResources::nsImage("tgui-textfield-focus");
    return made;
}
const std::shared_ptr<NSImage>& tguiCheckbox() {
    static const auto made = TideglassResources::nsImage("tgui-checkbox");
    return made;
}
const std::shared_ptr<NSImage>& tguiCheckboxOn() {
    static const auto made = TideglassResources::nsImage("tgui-checkbox-on");
    return made;
}
const std::shared_ptr<NSImage>& tguiCheckboxDown() {
    static const auto made = TideglassResources::nsImage("tgui-checkbox-down");
    return made;
}
const std::shared_ptr<NSImage>& tguiCheckboxOnDown() {
    static const auto made = TideglassResources::nsImage("tgui-checkbox-on-down");
    return made;
}
const std::shared_ptr<NSImage>& cursorTrackingslider() {
    static const auto made = TideglassResources::nsImage("cursor-trackingslider");
    return made;
}
} // namespace TGImagesAK
