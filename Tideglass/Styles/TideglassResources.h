#pragma once
// The library's resources: its bundle "Tideglass_Tideglass.bundle" (found once by
// the shared resource-bundle lookup; a missing bundle ends the program with "unable
// to find bundle named Tideglass_Tideglass"), one descriptor per colour and image
// asset of its catalogue, and the palettes and image sets the rest of the system
// uses: TGColors / TGImages as view-layer values, TGColorsAK / TGImagesAK as AppKit
// objects. Each palette and image-set member is made once, on first use, and shared.
//
// A missing asset inside the bundle is not an error: its colour is transparent and
// its image empty, as the platform gives them.
// Thread: the bundle, the descriptors and the palette members may be asked for first
// on any thread (made once, thread-safely); colours and images are used on the main
// thread.

#include <memory>
#include <string_view>
#include <vector>

#include "SwiftUI/Menu.h"
#include "SwiftUI/Views.h"

class Bundle;
class NSColor;
class NSImage;

// The library's resource bundle.
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
} // namespace TideglassResources

// The palette as view-layer colours.
namespace TGColors {
namespace Background {
const SwiftUI::Color& normal();  // "Background/Normal"
const SwiftUI::Color& darker();  // "Background/Darker"
const SwiftUI::Color& darkest(); // "Background/Darkest"
} // namespace Background
namespace Quarro {
const SwiftUI::Color& aqua();
const SwiftUI::Color& blue();
const SwiftUI::Color& darkPurple();
const SwiftUI::Color& lightBlue();
const SwiftUI::Color& orange();
const SwiftUI::Color& purple();
const SwiftUI::Color& red();
const SwiftUI::Color& yellow();
} // namespace Quarro
const SwiftUI::Color& grey20(); // "Grey 20%", and so on
const SwiftUI::Color& grey30();
const SwiftUI::Color& grey40();
const SwiftUI::Color& grey50();
const SwiftUI::Color& grey60();
const SwiftUI::Color& grey70();
const SwiftUI::Color& grey85();
const SwiftUI::Color& grey100();
} // namespace TGColors

// The same palette as AppKit colours, each converted from the view-layer colour.
namespace TGColorsAK {
namespace Background {
const std::shared_ptr<NSColor>& normal();
const std::shared_ptr<NSColor>& darker();
const std::shared_ptr<NSColor>& darkest();
} // namespace Background
namespace Quarro {
const std::shared_ptr<NSColor>& aqua();
const std::shared_ptr<NSColor>& blue();
const std::shared_ptr<NSColor>& darkPurple();
const std::shared_ptr<NSColor>& lightBlue();
const std::shared_ptr<NSColor>& orange();
const std::shared_ptr<NSColor>& purple();
const std::shared_ptr<NSColor>& red();
const std::shared_ptr<NSColor>& yellow();
} // namespace Quarro
const std::shared_ptr<NSColor>& grey20();
const std::shared_ptr<NSColor>& grey30();
const std::shared_ptr<NSColor>& grey40();
const std::shared_ptr<NSColor>& grey50();
const std::shared_ptr<NSColor>& grey60();
const std::shared_ptr<NSColor>& grey70();
const std::shared_ptr<NSColor>& grey85();
const std::shared_ptr<NSColor>& grey100();
} // namespace TGColorsAK

// Control art and the maker's logo as view-layer images.
namespace TGImages {
const SwiftUI::Image& tguiButton();            // "tgui-button"
const SwiftUI::Image& tguiButtonDown();        // "tgui-button-down"
const SwiftUI::Image& korvaneLogoBig();        // "window-korvane"
const SwiftUI::Image& tguiCheckerboard();      // "tgui-checkerboard"
const SwiftUI::Image& tguiCheckerboardSmall(); // "tgui-checkerboard-small"
const SwiftUI::Image& tguiTextfield();         // "tgui-textfield"
const SwiftUI::Image& tguiTextfieldError();    // "tgui-textfield-error"
const SwiftUI::Image& tguiTextfieldFocus();    // "tgui-textfield-focus"
const SwiftUI::Image& tguiCheckbox();          // "tgui-checkbox"
const SwiftUI::Image& tguiCheckboxOn();        // "tgui-checkbox-on"
const SwiftUI::Image& tguiCheckboxDown();      // "tgui-checkbox-down"
const SwiftUI::Image& tguiCheckboxOnDown();    // "tgui-checkbox-on-down"
} // namespace TGImages

// The same as AppKit images, and the tracking slider's cursor art.
namespace TGImagesAK {
const std::shared_ptr<NSImage>& tguiButton();
const std::shared_ptr<NSImage>& tguiButtonDown();
const std::shared_ptr<NSImage>& korvaneLogoBig();
const std::shared_ptr<NSImage>& tguiCheckerboard();
const std::shared_ptr<NSImage>& tguiCheckerboardSmall();
const std::shared_ptr<NSImage>& tguiTextfield();
const std::shared_ptr<NSImage>& tguiTextfieldError();
const std::shared_ptr<NSImage>& tguiTextfieldFocus();
const std::shared_ptr<NSImage>& tguiCheckbox();
const std::shared_ptr<NSImage>& tguiCheckboxOn();
const std::shared_ptr<NSImage>& tguiCheckboxDown();
const std::shared_ptr<NSImage>& tguiCheckboxOnDown();
const std::shared_ptr<NSImage>& cursorTrackingslider(); // "cursor-trackingslider"
} // namespace TGImagesAK
