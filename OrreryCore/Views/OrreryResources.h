#pragma once
// The framework's resources: its bundle "Orrery_OrreryCore.bundle" (found once by the
// shared resource-bundle lookup, fatal when missing), one descriptor per colour and
// image asset of its catalogue, the named plug-in colours, and the font modifier of
// the editors' views.
// Thread: the bundle and the descriptors may be first asked for on any thread (made
// once, thread-safely); views and colours are used on the main thread.

#include "SwiftUI/SwiftUI.h"
#include "Utilities/OrreryFont.h"

#include <memory>
#include <string>
#include <string_view>

class Bundle;

// The module's resource bundle.
const std::shared_ptr<Bundle>& orreryCoreBundle();

namespace OrreryResources {
// The catalogue's asset names.
extern const std::vector<std::string_view> colorNames; // nine
extern const std::vector<std::string_view> imageNames; // twenty-nine
// The process-wide descriptor of a colour or image asset of the catalogue, made on
// first use. A name that is not in the catalogue is a programming error and ends
// the program.
const SwiftUI::ColorResource& color(std::string_view name);
const SwiftUI::ImageResource& image(std::string_view name);
} // namespace OrreryResources

// The asset as a view-layer colour or image.
SwiftUI::Color orreryColor(std::string_view name);
SwiftUI::Image orreryImage(std::string_view name);

// The plug-in colours of the framework's catalogue.
SwiftUI::Color orreryPluginGrey();    // "pluginGrey"
SwiftUI::Color orreryPluginBlue();    // "pluginBlue"
SwiftUI::Color orreryPluginYellow();  // "pluginYellow"
SwiftUI::Color orreryPluginRed();     // "pluginRed"
SwiftUI::Color orreryPluginPurple();  // "pluginPurple"
SwiftUI::Color orreryTinyDialLabel(); // "tinyDialLabel"

// Sets the content's font to the custom face of `font` at `size` points.
struct CustomFontModifier {
    OrreryFont font;
    CGFloat size;
    SwiftUI::AnyView body(const SwiftUI::AnyView& content) const;
};
SwiftUI::AnyView orreryFont(const SwiftUI::AnyView& content, OrreryFont font, CGFloat size);
SwiftUI::AnyView rocketFont(const SwiftUI::AnyView& content, CGFloat size);
