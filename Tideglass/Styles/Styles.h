#pragma once
// Styles: the library's shared look-and-feel constants, one namespace per kind of
// element: fonts, corner radius, row and header heights and the colours every style
// object and several controls start from. Colours come from the library's colour
// assets, fonts from the system font.
//
// The members are data (AssetConstants.h): each names its asset or font and is called
// like a function. A shared member (AssetColor, SystemFont, ClearColor) is made once,
// on first use, and then the same object is handed to every reader; a member that
// aliases another (Control::font, the groups' fonts) hands out that member's very
// object. The FreshAssetColor members are computed: a new colour from the asset on
// every read. Colours are AppKit colours, except Label::textColor, a view-layer colour.
// Thread: any for the first read (one-time initialisation); fonts and colours are
// then used on the main thread.

#include <memory>

#include "CoreGraphics/CGGeometry.h"
#include "Styles/TideglassResources.h"
#include "SwiftUI/Views.h"

class NSColor;

// The platform's fully transparent colour.
struct ClearColor {
    const std::shared_ptr<NSColor>& operator()() const;
};

namespace Styles {

inline constexpr ClearColor clear{};

namespace BaseStyles {
inline constexpr SystemFont<10, CGFont::regular> normalFont{};
inline constexpr SystemFont<10, CGFont::regular, true> normalMonoFont{}; // digits of equal width
inline constexpr SystemFont<10, CGFont::medium> mediumFont{};
inline constexpr SystemFont<12, CGFont::medium> headerFont{};
inline constexpr SystemFont<12, CGFont::regular> menuFont{}; // the default weight
inline constexpr SystemFont<14, CGFont::medium> titleFont{};
inline constexpr SystemFont<20, CGFont::medium> largeTitleFont{};
inline constexpr CGFloat smallCorner = 3; // corner radius, points
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
inline constexpr const auto& font = BaseStyles::normalFont;
inline constexpr AssetColor<"Grey 85%"> textColor{};
inline constexpr const auto& background = clear;
inline constexpr AssetColor<"Grey 100%"> selectedTextColor{};
inline constexpr FreshAssetColor<"Highlight/System"> selectedBackground{};
inline constexpr AssetColor<"Grey 40%"> disabledTextColor{};
inline constexpr const auto& disabledBackground = clear;
inline constexpr AssetColor<"Grey 50%"> highlightedTextColor{};
inline constexpr const auto& highlightedBackground = clear;
inline constexpr AssetColor<"Grey 100%"> errorTextColor{};
inline constexpr AssetColor<"Error"> errorBackground{};
inline constexpr AssetColor<"Grey 20%"> placeholderTextColor{};
inline constexpr const auto& placeholderBackground = clear;
inline constexpr FreshAssetColor<"Highlight/System"> focusRingColor{};
inline constexpr AssetColor<"Error"> errorFocusRingColor{};
} // namespace Control

namespace TextInput {
// As a control's, but for the highlighted and error text and the placeholders.
using Control::font, Control::textColor, Control::background, Control::selectedTextColor,
    Control::selectedBackground, Control::disabledTextColor, Control::disabledBackground,
    Control::highlightedBackground, Control::errorBackground, Control::placeholderBackground;
inline constexpr AssetColor<"Grey 100%"> highlightedTextColor{};
inline constexpr AssetColor<"Error"> errorTextColor{};
inline constexpr AssetColor<"Grey 50%"> placeholderTextColor{};
inline constexpr AssetColor<"Quarro/Blue"> placeholderHighlightedTextColor{};
} // namespace TextInput

namespace OutlineHeader {
inline constexpr const auto& font = BaseStyles::headerFont;
inline constexpr AssetColor<"Grey 50%"> textColor{};
} // namespace OutlineHeader

namespace OutlineRow {
inline constexpr const auto& font = BaseStyles::normalMonoFont;
inline constexpr const auto& selectedFont = BaseStyles::mediumFont;
inline constexpr AssetColor<"Grey 85%"> textColor{};
inline constexpr AssetColor<"Grey 100%"> selectedTextColor{};
inline constexpr AssetColor<"Background/Darker"> background{};
inline constexpr FreshAssetColor<"Highlight/System"> selectedBackground{};
} // namespace OutlineRow

namespace TableView {
inline constexpr AssetColor<"Background/Darker"> background{};
} // namespace TableView

namespace TableHeader {
inline constexpr const auto& font = BaseStyles::headerFont;
inline constexpr AssetColor<"Grey 50%"> textColor{};
inline constexpr AssetColor<"Background/Darkest"> background{};
} // namespace TableHeader

namespace TableRow {
// As an outline row, in grey 70%.
using OutlineRow::font, OutlineRow::selectedFont, OutlineRow::selectedTextColor,
    OutlineRow::selectedBackground;
inline constexpr AssetColor<"Grey 70%"> textColor{};
} // namespace TableRow

namespace TableGroupRow {
// As an outline row in the plain font, in grey 50%.
using OutlineRow::selectedFont, OutlineRow::selectedTextColor, OutlineRow::selectedBackground;
inline constexpr const auto& font = BaseStyles::normalFont;
inline constexpr AssetColor<"Grey 50%"> textColor{};
} // namespace TableGroupRow

namespace Label {
inline constexpr const auto& font = BaseStyles::normalFont;
inline constexpr AssetColor<"Grey 60%"> nsTextColor{};
inline constexpr ViewAssetColor<"Grey 60%"> textColor{}; // a view-layer colour
inline constexpr AssetColor<"Grey 30%"> disabledTextColor{};
} // namespace Label

namespace PropertiesTab {
inline constexpr const auto& font = BaseStyles::headerFont;
inline constexpr AssetColor<"Grey 70%"> textColor{};
inline constexpr AssetColor<"Grey 85%"> selectedTextColor{};
inline constexpr AssetColor<"Grey 50%"> highlightedTextColor{};
} // namespace PropertiesTab

namespace CanvasInfo {
inline constexpr const auto& font = BaseStyles::normalFont;
inline constexpr AssetColor<"Grey 85%"> textColor{};
inline constexpr AssetColor<"Background/Normal"> background{};
} // namespace CanvasInfo

namespace ScrollView {
inline constexpr AssetColor<"Background/Darker"> background{};
} // namespace ScrollView

namespace Window {
inline constexpr AssetColor<"Background/Normal"> background{};
} // namespace Window

namespace CustomTags {} // namespace CustomTags

} // namespace Styles
