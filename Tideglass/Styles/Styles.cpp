#include "Styles/Styles.h"

#include "AppKit/NSColor.h"
#include "AppKit/NSFont.h"
#include "Styles/TideglassResources.h"

namespace Styles {

namespace {
std::shared_ptr<NSColor> asset(std::string_view name) {
    return TideglassResources::nsColor(name);
}
} // namespace

namespace BaseStyles {
const std::shared_ptr<NSFont>& normalFont() {
    static const auto made = NSFont::systemFont(10, CGFont::regular);
    return made;
}
const std::shared_ptr<NSFont>& normalMonoFont() {
    static const auto made = NSFont::monospacedDigitSystemFont(10, CGFont::regular);
    return made;
}
const std::shared_ptr<NSFont>& mediumFont() {
    static const auto made = NSFont::systemFont(10, CGFont::medium);
    return made;
}
const std::shared_ptr<NSFont>& headerFont() {
    static const auto made = NSFont::systemFont(12, CGFont::medium);
    return made;
}
const std::shared_ptr<NSFont>& menuFont() {
    static const auto made = NSFont::systemFont(12);
    return made;
}
const std::shared_ptr<NSFont>& titleFont() {
    static const auto made = NSFont::systemFont(14, CGFont::medium);
    return made;
}
const std::shared_ptr<NSFont>& largeTitleFont() {
    static const auto made = NSFont::systemFont(20, CGFont::medium);
    return made;
}
} // namespace BaseStyles

namespace Control {
const std::shared_ptr<NSFont>& font() {
    return BaseStyles::normalFont();
}
const std::shared_ptr<NSColor>& textColor() {
    static const auto made = asset("Grey 85%");
    return made;
}
const std::shared_ptr<NSColor>& background() {
    return NSColor::clear();
}
const std::shared_ptr<NSColor>& selectedTextColor() {
    static const auto made = asset("Grey 100%");
    return made;
}
std::shared_ptr<NSColor> selectedBackground() {
    return asset("Highlight/System");
}
const std::shared_ptr<NSColor>& disabledTextColor() {
    static const auto made = asset("Grey 40%");
    return made;
}
const std::shared_ptr<NSColor>& disabledBackground() {
    return NSColor::clear();
}
const std::shared_ptr<NSColor>& highlightedTextColor() {
    static const auto made = asset("Grey 50%");
    return made;
}
const std::shared_ptr<NSColor>& highlightedBackground() {
    return NSColor::clear();
}
const std::shared_ptr<NSColor>& errorTextColor() {
    static const auto made = asset("Grey 100%");
    return made;
}
const std::shared_ptr<NSColor>& errorBackground() {
    static const auto made = asset("Error");
    return made;
}
const std::shared_ptr<NSColor>& placeholderTextColor() {
    static const auto made = asset("Grey 20%");
    return made;
}
const std::shared_ptr<NSColor>& placeholderBackground() {
    return NSColor::clear();
}
std::shared_ptr<NSColor> focusRingColor() {
    return asset("Highlight/System");
}
const std::shared_ptr<NSColor>& errorFocusRingColor() {
    static const auto made = asset("Error");
    return made;
}
} // namespace Control

namespace TextInput {
const std::shared_ptr<NSFont>& font() {
    return BaseStyles::normalFont();
}
const std::shared_ptr<NSColor>& textColor() {
    static const auto made = asset("Grey 85%");
    return made;
}
const std::shared_ptr<NSColor>& background() {
    return NSColor::clear();
}
const std::shared_ptr<NSColor>& selectedTextColor() {
    static const auto made = asset("Grey 100%");
    return made;
}
std::shared_ptr<NSColor> selectedBackground() {
    return asset("Highlight/System");
}
const std::shared_ptr<NSColor>& disabledTextColor() {
    static const auto made = asset("Grey 40%");
    return made;
}
const std::shared_ptr<NSColor>& disabledBackground() {
    return NSColor::clear();
}
const std::shared_ptr<NSColor>& highlightedTextColor() {
    static const auto made = asset("Grey 100%");
    return made;
}
const std::shared_ptr<NSColor>& highlightedBackground() {
    return NSColor::clear();
}
const std::shared_ptr<NSColor>& errorTextColor() {
    static const auto made = asset("Error");
    return made;
}
const std::shared_ptr<NSColor>& errorBackground() {
    static const auto made = asset("Error");
    return made;
}
const std::shared_ptr<NSColor>& placeholderTextColor() {
    static const auto made = asset("Grey 50%");
    return made;
}
const std::shared_ptr<NSColor>& placeholderHighlightedTextColor() {
    static const auto made = asset("Quarro/Blue");
    return made;
}
const std::shared_ptr<NSColor>& placeholderBackground() {
    return NSColor::clear();
}
} // namespace TextInput

namespace OutlineHeader {
const std::shared_ptr<NSFont>& font() {
    return BaseStyles::headerFont();
}
const std::shared_ptr<NSColor>& textColor() {
    static const auto made = asset("Grey 50%");
    return made;
}
} // namespace OutlineHeader

namespace OutlineRow {
const std::shared_ptr<NSFont>& font() {
    return BaseStyles::normalMonoFont();
}
const std::shared_ptr<NSFont>& selectedFont() {
    return BaseStyles::mediumFont();
}
const std::shared_ptr<NSColor>& textColor() {
    static const auto made = asset("Grey 85%");
    return made;
}
const std::shared_ptr<NSColor>& selectedTextColor() {
    static const auto made = asset("Grey 100%");
    return made;
}
const std::shared_ptr<NSColor>& background() {
    static const auto made = asset("Background/Darker");
    return made;
}
std::shared_ptr<NSColor> selectedBackground() {
    return asset("Highlight/System");
}
} // namespace OutlineRow

namespace TableView {
const std::shared_ptr<NSColor>& background() {
    static const auto made = asset("Background/Darker");
    return made;
}
} // namespace TableView

namespace TableHeader {
const std::shared_ptr<NSFont>& font() {
    return BaseStyles::headerFont();
}
const std::shared_ptr<NSColor>& textColor() {
    static const auto made = asset("Grey 50%");
    return made;
}
const std::shared_ptr<NSColor>& background() {
    static const auto made = asset("Background/Darkest");
    return made;
}
} // namespace TableHeader

namespace TableRow {
const std::shared_ptr<NSFont>& font() {
    return BaseStyles::normalMonoFont();
}
const std::shared_ptr<NSFont>& selectedFont() {
    return BaseStyles::mediumFont();
}
const std::shared_ptr<NSColor>& textColor() {
    static const auto made = asset("Grey 70%");
    return made;
}
const std::shared_ptr<NSColor>& selectedTextColor() {
    static const auto made = asset("Grey 100%");
    return made;
}
std::shared_ptr<NSColor> selectedBackground() {
    return asset("Highlight/System");
}
} // namespace TableRow

namespace TableGroupRow {
const std::shared_ptr<NSFont>& font() {
    return BaseStyles::normalFont();
}
const std::shared_ptr<NSFont>& selectedFont() {
    return BaseStyles::mediumFont();
}
const std::shared_ptr<NSColor>& textColor() {
    static const auto made = asset("Grey 50%");
    return made;
}
const std::shared_ptr<NSColor>& selectedTextColor() {
    static const auto made = asset("Grey 100%");
    return made;
}
std::shared_ptr<NSColor> selectedBackground() {
    return asset("Highlight/System");
}
} // namespace TableGroupRow

namespace Label {
const std::shared_ptr<NSFont>& font() {
    return BaseStyles::normalFont();
}
const std::shared_ptr<NSColor>& nsTextColor() {
    static const auto made = asset("Grey 60%");
    return made;
}
const SwiftUI::Color& textColor() {
    static const SwiftUI::Color made(TideglassResources::color("Grey 60%"));
    return made;
}
const std::shared_ptr<NSColor>& disabledTextColor() {
    static const auto made = asset("Grey 30%");
    return made;
}
} // namespace Label

namespace PropertiesTab {
const std::shared_ptr<NSFont>& font() {
    return BaseStyles::headerFont();
}
const std::shared_ptr<NSColor>& textColor() {
    static const auto made = asset("Grey 70%");
    return made;
}
const std::shared_ptr<NSColor>& selectedTextColor() {
    static const auto made = asset("Grey 85%");
    return made;
}
const std::shared_ptr<NSColor>& highlightedTextColor() {
    static const auto made = asset("Grey 50%");
    return made;
}
} // namespace PropertiesTab

namespace CanvasInfo {
const std::shared_ptr<NSFont>& font() {
    return BaseStyles::normalFont();
}
const std::shared_ptr<NSColor>& textColor() {
    static const auto made = asset("Grey 85%");
    return made;
}
const std::shared_ptr<NSColor>& background() {
    static const auto made = asset("Background/Normal");
    return made;
}
} // namespace CanvasInfo

namespace ScrollView {
const std::shared_ptr<NSColor>& background() {
    static const auto made = asset("Background/Darker");
    return made;
}
} // namespace ScrollView

namespace Window {
const std::shared_ptr<NSColor>& background() {
    static const auto made = asset("Background/Normal");
    return made;
}
} // namespace Window

} // namespace Styles
