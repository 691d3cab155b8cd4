#pragma once
// What the editor's views share: the extension's own asset catalogue (colours and
// images, one descriptor per asset, made once on first use), the class that finds
// the extension's resource bundle, the two links the editor opens and the style of
// the header's update notice.
// Thread: the bundle, the descriptors and the links may first be asked for on any
// thread (made once, thread-safely); views, styles and opening links: main thread.

#include "Foundation/URL.h"
#include "SwiftUI/SwiftUI.h"

#include <memory>

class Bundle;

// Finds the bundle of the extension's code and resources ("EmberfallExtension_EmberfallExtension"
// by the shared resource-bundle lookup), once for the process; fatal when missing.
class ResourceBundleClass {
  public:
    static const std::shared_ptr<Bundle>& bundle();
};

namespace EmberfallAssets {
// Colours.
const SwiftUI::ColorResource& meterFilled();   // lit meter segments below the limit zone
const SwiftUI::ColorResource& meterLimit();    // lit segments among a meter's top four
const SwiftUI::ColorResource& meterUnfilled(); // unlit segments
const SwiftUI::ColorResource& values();        // dial titles and values, mode labels
// Images.
const SwiftUI::ImageResource& background();           // the 472 × 672 canvas
const SwiftUI::ImageResource& korvaneLogo();          // the maker's logo in the header
const SwiftUI::ImageResource& headerPreset();         // the preset box
const SwiftUI::ImageResource& headerPresetPrevious(); // previous-preset button
const SwiftUI::ImageResource& headerPresetNext();     // next-preset button
const SwiftUI::ImageResource& headerPresetRevert();   // revert button of a modified preset
const SwiftUI::ImageResource& gridDot();              // the pad's dot at rest
const SwiftUI::ImageResource& gridDotDown();          // the pad's dot while dragging
const SwiftUI::ImageResource& morphNote();            // the pad in note mode
const SwiftUI::ImageResource& morphMs();              // the pad in ms mode
} // namespace EmberfallAssets

namespace EmberfallLinks {
// "emberfall://openAndUpdate": asks the container application to run its updater.
const URL& updateRequest();
// The maker's catalogue of plug-ins (its web site, path "/plugins/").
const URL& pluginCatalogue();
// Opens a link through the shared workspace; the result is not checked (no handler
// for the scheme simply opens nothing). Thread: main.
void open(const URL& url);
} // namespace EmberfallLinks

// The header's update notice: the label in Dosis Light 13 and the plug-in blue,
// padded 6 at the sides and 4 above and below, framed by a rounded outline of that
// blue at 0.3 opacity; 0.8 opaque while pressed; the whole rectangle takes clicks.
struct EmberfallUpdateButtonStyle {
    SwiftUI::AnyView makeBody(const SwiftUI::ButtonStyleConfiguration& configuration) const;
};
