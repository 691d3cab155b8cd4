#pragma once
// The library's resources: its bundle "Tideglass_Tideglass.bundle" (found once by
// the shared resource-bundle lookup; a missing bundle ends the program with "unable
// to find bundle named Tideglass_Tideglass"), one descriptor per colour and image
// asset of its catalogue, and the palettes and image sets the rest of the system
// uses: TGColors / TGImages as view-layer values, TGColorsAK / TGImagesAK as AppKit
// objects. The palettes and image sets are tables of asset names (AssetConstants.h):
// each member is made once, on first use, and shared.
//
// A missing asset inside the bundle is not an error: its colour is transparent and
// its image empty, as the platform gives them.
// Thread: the bundle, the descriptors and the palette members may be asked for first
// on any thread (made once, thread-safely); colours and images are used on the main
// thread.

#include <memory>
#include <string_view>
#include <type_traits>
#include <vector>

#include "Styles/AssetConstants.h"
#include "SwiftUI/Menu.h"
#include "SwiftUI/Views.h"

class Bundle;
class NSColor;
class NSImage;

// The library's resource bundle; without one the program ends, reported from
// "Tideglass/resource_bundle_accessor" at line 44.
const std::shared_ptr<Bundle>& tideglassBundle();

namespace TideglassResources {
// The catalogue's asset names.
extern const std::vector<std::string_view> colorNames;
extern const std::vector<std::string_view> imageNames;
// The process-wide descriptor of a colour or image asset, made on first use. A name
// that is not in the catalogue is a programming error and ends the program.
const SwiftUI::ColorResource& color(std::string_view name);
const SwiftUI::ImageResource& image(std::string_view name);
// A new AppKit colour or image of the asset (each call makes a new object).
std::shared_ptr<NSColor> nsColor(std::string_view name);
std::shared_ptr<NSImage> nsImage(std::string_view name);
// A new view-layer colour or image of the asset.
SwiftUI::Color viewColor(std::string_view name);
SwiftUI::Image viewImage(std::string_view name);
// A new AppKit colour converted from a view-layer colour.
std::shared_ptr<NSColor> convertedColor(const SwiftUI::Color& color);
} // namespace TideglassResources

// The kinds of member of the library's palettes and image sets.
template <AssetName Name>
using AssetColor =
    SharedAssetConstant<std::shared_ptr<NSColor>, &TideglassResources::nsColor, Name>;
template <AssetName Name>
using FreshAssetColor =
    FreshAssetConstant<std::shared_ptr<NSColor>, &TideglassResources::nsColor, Name>;
template <AssetName Name>
using ViewAssetColor = SharedAssetConstant<SwiftUI::Color, &TideglassResources::viewColor, Name>;
template <const auto& ViewColor>
using AppKitColorOf =
    ConvertedConstant<std::shared_ptr<NSColor>, ViewColor, &TideglassResources::convertedColor>;
template <AssetName Name>
using AssetImage =
    SharedAssetConstant<std::shared_ptr<NSImage>, &TideglassResources::nsImage, Name>;
template <AssetName Name>
using ViewAssetImage = SharedAssetConstant<SwiftUI::Image, &TideglassResources::viewImage, Name>;
// The AppKit image of the asset of a view-layer image member.
template <const auto& ViewImage>
using AppKitImageOf = AssetImage<std::remove_cvref_t<decltype(ViewImage)>::name>;

// The palette as view-layer colours.
namespace TGColors {
namespace Background {
inline constexpr ViewAssetColor<"Background/Normal"> normal{};
inline constexpr ViewAssetColor<"Background/Darker"> darker{};
inline constexpr ViewAssetColor<"Background/Darkest"> darkest{};
} // namespace Background
namespace Quarro {
inline constexpr ViewAssetColor<"Quarro/Aqua"> aqua{};
inline constexpr ViewAssetColor<"Quarro/Blue"> blue{};
inline constexpr ViewAssetColor<"Quarro/DarkPurple"> darkPurple{};
inline constexpr ViewAssetColor<"Quarro/LightBlue"> lightBlue{};
inline constexpr ViewAssetColor<"Quarro/Orange"> orange{};
inline constexpr ViewAssetColor<"Quarro/Purple"> purple{};
inline constexpr ViewAssetColor<"Quarro/Red"> red{};
inline constexpr ViewAssetColor<"Quarro/Yellow"> yellow{};
} // namespace Quarro
inline constexpr ViewAssetColor<"Grey 20%"> grey20{};
inline constexpr ViewAssetColor<"Grey 30%"> grey30{};
inline constexpr ViewAssetColor<"Grey 40%"> grey40{};
inline constexpr ViewAssetColor<"Grey 50%"> grey50{};
inline constexpr ViewAssetColor<"Grey 60%"> grey60{};
inline constexpr ViewAssetColor<"Grey 70%"> grey70{};
inline constexpr ViewAssetColor<"Grey 85%"> grey85{};
inline constexpr ViewAssetColor<"Grey 100%"> grey100{};
} // namespace TGColors

// The same palette as AppKit colours, each converted from the view-layer colour.
namespace TGColorsAK {
namespace Background {
inline constexpr AppKitColorOf<TGColors::Background::normal> normal{};
inline constexpr AppKitColorOf<TGColors::Background::darker> darker{};
inline constexpr AppKitColorOf<TGColors::Background::darkest> darkest{};
} // namespace Background
namespace Quarro {
inline constexpr AppKitColorOf<TGColors::Quarro::aqua> aqua{};
inline constexpr AppKitColorOf<TGColors::Quarro::blue> blue{};
inline constexpr AppKitColorOf<TGColors::Quarro::darkPurple> darkPurple{};
inline constexpr AppKitColorOf<TGColors::Quarro::lightBlue> lightBlue{};
inline constexpr AppKitColorOf<TGColors::Quarro::orange> orange{};
inline constexpr AppKitColorOf<TGColors::Quarro::purple> purple{};
inline constexpr AppKitColorOf<TGColors::Quarro::red> red{};
inline constexpr AppKitColorOf<TGColors::Quarro::yellow> yellow{};
} // namespace Quarro
inline constexpr AppKitColorOf<TGColors::grey20> grey20{};
inline constexpr AppKitColorOf<TGColors::grey30> grey30{};
inline constexpr AppKitColorOf<TGColors::grey40> grey40{};
inline constexpr AppKitColorOf<TGColors::grey50> grey50{};
inline constexpr AppKitColorOf<TGColors::grey60> grey60{};
inline constexpr AppKitColorOf<TGColors::grey70> grey70{};
inline constexpr AppKitColorOf<TGColors::grey85> grey85{};
inline constexpr AppKitColorOf<TGColors::grey100> grey100{};
} // namespace TGColorsAK

// Control art and the maker's logo as view-layer images.
namespace TGImages {
inline constexpr ViewAssetImage<"tgui-button"> tguiButton{};
inline constexpr ViewAssetImage<"tgui-button-down"> tguiButtonDown{};
inline constexpr ViewAssetImage<"window-korvane"> korvaneLogoBig{};
inline constexpr ViewAssetImage<"tgui-checkerboard"> tguiCheckerboard{};
inline constexpr ViewAssetImage<"tgui-checkerboard-small"> tguiCheckerboardSmall{};
inline constexpr ViewAssetImage<"tgui-textfield"> tguiTextfield{};
inline constexpr ViewAssetImage<"tgui-textfield-error"> tguiTextfieldError{};
inline constexpr ViewAssetImage<"tgui-textfield-focus"> tguiTextfieldFocus{};
inline constexpr ViewAssetImage<"tgui-checkbox"> tguiCheckbox{};
inline constexpr ViewAssetImage<"tgui-checkbox-on"> tguiCheckboxOn{};
inline constexpr ViewAssetImage<"tgui-checkbox-down"> tguiCheckboxDown{};
inline constexpr ViewAssetImage<"tgui-checkbox-on-down"> tguiCheckboxOnDown{};
} // namespace TGImages

// The same as AppKit images, and the tracking slider's cursor art.
namespace TGImagesAK {
inline constexpr AppKitImageOf<TGImages::tguiButton> tguiButton{};
inline constexpr AppKitImageOf<TGImages::tguiButtonDown> tguiButtonDown{};
inline constexpr AppKitImageOf<TGImages::korvaneLogoBig> korvaneLogoBig{};
inline constexpr AppKitImageOf<TGImages::tguiCheckerboard> tguiCheckerboard{};
inline constexpr AppKitImageOf<TGImages::tguiCheckerboardSmall> tguiCheckerboardSmall{};
inline constexpr AppKitImageOf<TGImages::tguiTextfield> tguiTextfield{};
inline constexpr AppKitImageOf<TGImages::tguiTextfieldError> tguiTextfieldError{};
inline constexpr AppKitImageOf<TGImages::tguiTextfieldFocus> tguiTextfieldFocus{};
inline constexpr AppKitImageOf<TGImages::tguiCheckbox> tguiCheckbox{};
inline constexpr AppKitImageOf<TGImages::tguiCheckboxOn> tguiCheckboxOn{};
inline constexpr AppKitImageOf<TGImages::tguiCheckboxDown> tguiCheckboxDown{};
inline constexpr AppKitImageOf<TGImages::tguiCheckboxOnDown> tguiCheckboxOnDown{};
inline constexpr AssetImage<"cursor-trackingslider"> cursorTrackingslider{};
} // namespace TGImagesAK
