#pragma once
// Styles: the library's shared look-and-feel constants, one namespace per kind of
// element: fonts, corner radius, row and header heights and the colours every style
// object and several controls start from. Colours come from the library's colour
// assets, fonts from the system font.
//
// A member returning a reference is made once, on first use, and then the same
// object is handed to every reader; a member that aliases another (Control::font,
// the groups' fonts) hands out that member's very object. The members returning a
// colour by value are computed: a new colour from the asset on every read.
// Colours are AppKit colours, except Label::textColor, a view-layer colour.
// Thread: any for the first read (one-time initialisation); fonts and colours are
// then used on the main thread.

#include <memory>

#include "CoreGraphics/CGGeometry.h"
#include "SwiftUI/Views.h"

class NSColor;
class NSFont;

namespace Styles {

namespace BaseStyles {
const std::shared_ptr<NSFont>& normalFont();     // system font, 10 pt, regular
const std::shared_ptr<NSFont>& normalMonoFont(); // digits of equal width, 10 pt, regular
const std::shared_ptr<NSFont>& mediumFont();     // 10 pt, medium
const std::shared_ptr<NSFont>& headerFont();     // 12 pt, medium
const std::shared_ptr<NSFont>& menuFont();       // 12 pt, the default weight
const std::shared_ptr<NSFont>& titleFont();      // 14 pt, medium
const std::shared_ptr<NSFont>& largeTitleFont(); // 20 pt, medium
inline constexpr CGFloat smallCorner = 3;        // corner radius, points
} // namespace BaseStyles

namespace Layout {
inline constexpr CGFloat rowHeight = 24;
inline constexpr CGFloat headerHeight = 24;
inline constexpr CGSize materialPresetsSize{76, 83};
} // namespace Layout

namespace WelcomeHeadings {
inline constexpr CGFloat topPadding = 32;
inline constexpr CGFloat bottomPadding = 12;
} // namespace WelcomeHeadings

namespace Control {
const std::shared_ptr<NSFont>& font();                   // BaseStyles::normalFont
const std::shared_ptr<NSColor>& textColor();             // "Grey 85%"
const std::shared_ptr<NSColor>& background();            // clear
const std::shared_ptr<NSColor>& selectedTextColor();     // "Grey 100%"
std::shared_ptr<NSColor> selectedBackground();           // "Highlight/System", computed
const std::shared_ptr<NSColor>& disabledTextColor();     // "Grey 40%"
const std::shared_ptr<NSColor>& disabledBackground();    // clear
const std::shared_ptr<NSColor>& highlightedTextColor();  // "Grey 50%"
const std::shared_ptr<NSColor>& highlightedBackground(); // clear
const std::shared_ptr<NSColor>& errorTextColor();        // "Grey 100%"
const std::shared_ptr<NSColor>& errorBackground();       // "Error"
const std::shared_ptr<NSColor>& placeholderTextColor();  // "Grey 20%"
const std::shared_ptr<NSColor>& placeholderBackground(); // clear
std::shared_ptr<NSColor> focusRingColor();               // "Highlight/System", computed
const std::shared_ptr<NSColor>& errorFocusRingColor();   // "Error"
} // namespace Control

namespace TextInput {
const std::shared_ptr<NSFont>& font();                             // BaseStyles::normalFont
const std::shared_ptr<NSColor>& textColor();                       // "Grey 85%"
const std::shared_ptr<NSColor>& background();                      // clear
const std::shared_ptr<NSColor>& selectedTextColor();               // "Grey 100%"
std::shared_ptr<NSColor> selectedBackground();                     // "Highlight/System", computed
const std::shared_ptr<NSColor>& disabledTextColor();               // "Grey 40%"
const std::shared_ptr<NSColor>& disabledBackground();              // clear
const std::shared_ptr<NSColor>& highlightedTextColor();            // "Grey 100%"
const std::shared_ptr<NSColor>& highlightedBackground();           // clear
const std::shared_ptr<NSColor>& errorTextColor();                  // "Error"
const std::shared_ptr<NSColor>& errorBackground();                 // "Error"
const std::shared_ptr<NSColor>& placeholderTextColor();            // "Grey 50%"
const std::shared_ptr<NSColor>& placeholderHighlightedTextColor(); // "Quarro/Blue"
const std::shared_ptr<NSColor>& placeholderBackground();           // clear
} // namespace TextInput

namespace OutlineHeader {
const std::shared_ptr<NSFont>& font();       // BaseStyles::headerFont
const std::shared_ptr<NSColor>& textColor(); // "Grey 50%"
} // namespace OutlineHeader

namespace OutlineRow {
const std::shared_ptr<NSFont>& font();               // BaseStyles::normalMonoFont
const std::shared_ptr<NSFont>& selectedFont();       // BaseStyles::mediumFont
const std::shared_ptr<NSColor>& textColor();         // "Grey 85%"
const std::shared_ptr<NSColor>& selectedTextColor(); // "Grey 100%"
const std::shared_ptr<NSColor>& background();        // "Background/Darker"
std::shared_ptr<NSColor> selectedBackground();       // "Highlight/System", computed
} // namespace OutlineRow

namespace TableView {
const std::shared_ptr<NSColor>& background(); // "Background/Darker"
} // namespace TableView

namespace TableHeader {
const std::shared_ptr<NSFont>& font();        // BaseStyles::headerFont
const std::shared_ptr<NSColor>& textColor();  // "Grey 50%"
const std::shared_ptr<NSColor>& background(); // "Background/Darkest"
} // namespace TableHeader

namespace TableRow {
const std::shared_ptr<NSFont>& font();               // BaseStyles::normalMonoFont
const std::shared_ptr<NSFont>& selectedFont();       // BaseStyles::mediumFont
const std::shared_ptr<NSColor>& textColor();         // "Grey 70%"
const std::shared_ptr<NSColor>& selectedTextColor(); // "Grey 100%"
std::shared_ptr<NSColor> selectedBackground();       // "Highlight/System", computed
} // namespace TableRow

namespace TableGroupRow {
const std::shared_ptr<NSFont>& font();               // BaseStyles::normalFont
const std::shared_ptr<NSFont>& selectedFont();       // BaseStyles::mediumFont
const std::shared_ptr<NSColor>& textColor();         // "Grey 50%"
const std::shared_ptr<NSColor>& selectedTextColor(); // "Grey 100%"
std::shared_ptr<NSColor> selectedBackground();       // "Highlight/System", computed
} // namespace TableGroupRow

namespace Label {
const std::shared_ptr<NSFont>& font();               // BaseStyles::normalFont
const std::shared_ptr<NSColor>& nsTextColor();       // "Grey 60%"
const SwiftUI::Color& textColor();                   // "Grey 60%", a view-layer colour
const std::shared_ptr<NSColor>& disabledTextColor(); // "Grey 30%"
} // namespace Label

namespace PropertiesTab {
const std::shared_ptr<NSFont>& font();                  // BaseStyles::headerFont
const std::shared_ptr<NSColor>& textColor();            // "Grey 70%"
const std::shared_ptr<NSColor>& selectedTextColor();    // "Grey 85%"
const std::shared_ptr<NSColor>& highlightedTextColor(); // "Grey 50%"
} // namespace PropertiesTab

namespace CanvasInfo {
const std::shared_ptr<NSFont>& font();        // BaseStyles::normalFont
const std::shared_ptr<NSColor>& textColor();  // "Grey 85%"
const std::shared_ptr<NSColor>& background(); // "Background/Normal"
} // namespace CanvasInfo

namespace ScrollView {
const std::shared_ptr<NSColor>& background(); // "Background/Darker"
} // namespace ScrollView

namespace Window {
const std::shared_ptr<NSColor>& background(); // "Background/Normal"
} // namespace Window

namespace CustomTags {} // namespace CustomTags

} // namespace Styles
