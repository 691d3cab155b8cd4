#include "Views/OrreryResources.h"

#include "AppKit/ResourceBundle.h"
#include "Foundation/Bundle.h"
#include "Runtime/Runtime.h"
#include "SwiftUI/ResourceTable.h"

#include <algorithm>
#include <map>

using namespace SwiftUI;

const std::shared_ptr<Bundle>& orreryCoreBundle() {
    static const std::shared_ptr<Bundle> bundle =
        findResourceBundle("Orrery_OrreryCore", reinterpret_cast<const void*>(&orreryCoreBundle));
    return bundle;
}

namespace OrreryResources {

const std::vector<std::string_view> colorNames = {
    "ChaosYellowText",
    "background",
    "buttonText",
    "chaosToggleText",
    "chaosToggleTextPressed",
    "tabSelected",
    "tabUnselected",
    "updateBackground",
    "versionInfo",
};

const std::vector<std::string_view> imageNames = {
    "korvane-logo",
    "chaos-button-yellow",
    "chaos-button-yellow-down",
    "chaos-button-grey-off",
    "chaos-button-grey-off-down",
    "chaos-button-grey-on-yellow",
    "chaos-button-grey-on-yellow-down",
    "chaos-button-grey-on-blue",
    "chaos-button-grey-on-blue-down",
    "chaos-button-grey-on-red",
    "chaos-button-grey-on-red-down",
    "chaos-button-grey-on-white",
    "chaos-button-grey-on-white-down",
    "chaos-button-narrow-grey-off",
    "chaos-button-narrow-grey-off-down",
    "chaos-button-narrow-grey-on-yellow",
    "chaos-button-narrow-grey-on-yellow-down",
    "chaos-button-small-yellow-left",
    "chaos-button-small-yellow-left-down",
    "chaos-button-small-yellow-right",
    "chaos-button-small-yellow-right-down",
    "modern-button",
    "modern-button-down",
    "modern-button-on",
    "modern-button-on-down",
    "retro-button",
    "retro-button-down",
    "settings-button",
    "settings-button-down",
};

const ColorResource& color(std::string_view name) {
    static const SwiftUI::ResourceTable<SwiftUI::ColorResource> table(
        colorNames, orreryCoreBundle(), "colour", "Orrery_OrreryCore");
    return table.at(name);
}

const ImageResource& image(std::string_view name) {
    static const SwiftUI::ResourceTable<SwiftUI::ImageResource> table(
        imageNames, orreryCoreBundle(), "image", "Orrery_OrreryCore");
    return table.at(name);
}

} // namespace OrreryResources

Color orreryColor(std::string_view name) {
    return Color(OrreryResources::color(name));
}

Image orreryImage(std::string_view name) {
    return Image(OrreryResources::image(name));
}

namespace {
Color pluginColor(const char* name) {
    return Color(ColorValue(name, orreryCoreBundle()));
}
} // namespace

Color orreryPluginGrey() {
    return pluginColor("pluginGrey");
}
Color orreryPluginBlue() {
    return pluginColor("pluginBlue");
}
Color orreryPluginYellow() {
    return pluginColor("pluginYellow");
}
Color orreryPluginRed() {
    return pluginColor("pluginRed");
}
Color orreryPluginPurple() {
    return pluginColor("pluginPurple");
}
Color orreryTinyDialLabel() {
    return pluginColor("tinyDialLabel");
}

AnyView CustomFontModifier::body(const AnyView& content) const {
    return content.font(Font::custom(fontName(font), size));
}

AnyView orreryFont(const AnyView& content, OrreryFont font, CGFloat size) {
    return CustomFontModifier{font, size}.body(content);
}

AnyView rocketFont(const AnyView& content, CGFloat size) {
    return orreryFont(content, OrreryFont::rocket, size);
}
