#include "ContentView.h"

#include "AppKit/NSWorkspace.h"
#include "AppKit/ResourceBundle.h"
#include "AppKitSupport/FoundationExtensions.h"
#include "Foundation/Bundle.h"
#include "Styles/TideglassResources.h"
#include "SwiftUISupport/ButtonStyles.h"
#include "Utilities/OrreryFont.h"
#include "Utilities/Utilities.h"
#include "Views/OrreryResources.h"

using namespace SwiftUI;

const std::shared_ptr<Bundle>& ResourceBundleClass::bundle() {
    static const std::shared_ptr<Bundle> found = findResourceBundle(
        "Emberfall_Emberfall", reinterpret_cast<const void*>(&ResourceBundleClass::bundle));
    return found;
}

namespace EmberfallColors {
const ColorResource& background() {
    static const ColorResource resource{"background", ResourceBundleClass::bundle()};
    return resource;
}
const ColorResource& buttonText() {
    static const ColorResource resource{"buttonText", ResourceBundleClass::bundle()};
    return resource;
}
} // namespace EmberfallColors

const URL& helpWelcomeURL() {
    static const URL url =
        *URLComponents{"https", companySite().host(), std::nullopt, "/help/emberfall/welcome/"}
             .url();
    return url;
}

std::shared_ptr<MetalShaderViewController> ContentViewShader::makeNSViewController(Context&) const {
    return make<MetalShaderViewController>(make<NSView>(CGRect{0, 0, 300, 300}), "Main",
                                           "audioWaveformVertexShader",
                                           "audioWaveformFragmentShader");
}

void ContentViewShader::updateNSViewController(MetalShaderViewController& controller,
                                               Context&) const {
    if (controller.metalKitView)
        controller.metalKitView->setNeedsDisplay(true);
}

namespace {

const char* product = "Emberfall";

std::string localized(const std::string& key) {
    return Bundle::main()->localizedString(key);
}
// A localised text with the product name in the place of its one argument.
std::string withProduct(const std::string& key) {
    std::string text = localized(key);
    if (size_t at = text.find("%@"); at != std::string::npos)
        text.replace(at, 2, product);
    return text;
}

AnyView styledText(const std::string& first, const std::string& second, CGFloat size,
                   Font::Weight weight, const char* identifier) {
    return VStack(HorizontalAlignment::center(), CGFloat(1), Text(first), Text(second))
        .font(Font::system(size, weight, Font::Design::rounded))
        .foregroundStyle(Color(EmberfallColors::buttonText()))
        .accessibilityIdentifier(identifier);
}

// The product name over the band, white with three purple shadows, each applied to
// what the one before made.
AnyView title() {
    auto shade = [](double opacity) {
        return ColorValue(CGColor::rgb(0.0485, 0.0245, 0.1257, 1, CGColorSpace::displayP3))
            .withOpacity(opacity);
    };
    return Text(product)
        .modifier(CustomFontModifier{OrreryFont::rocket, 36})
        .foregroundStyle(Color::white())
        .shadow(shade(0.4), 0, 0, 1)
        .shadow(shade(0.4), 1, 0, 2)
        .shadow(shade(0.3), 4, 0, 4)
        .accessibilityIdentifier("title");
}

} // namespace

std::string ContentView::versionString(const Bundle& bundle) {
    return shortVersion(bundle).value_or("") + " (" + version(bundle).value_or("") + ")";
}

std::string ContentView::versionString() {
    return versionString(*Bundle::main());
}

void ContentView::openHelp() {
    NSWorkspace::shared()->open(helpWelcomeURL());
}

void ContentView::openWebsite() {
    NSWorkspace::shared()->open(companySite());
}

AnyView ContentView::body() const {
    const CGFloat width = buttonWidth;
    auto buttonLabel = [width](const std::string& titleKey) {
        return Text(localized(titleKey)).frame(width, std::nullopt);
    };
    auto versionText = Text(versionString())
                           .font(Font::system(12, Font::Weight::medium, Font::Design::rounded))
                           .foregroundStyle(Color(EmberfallColors::buttonText()))
                           .accessibilityIdentifier("version");
    return VStack(HorizontalAlignment::center(), CGFloat(0),
                  ZStack(Alignment::center(), ContentViewShader().accessibilityIdentifier("band"),
                         title())
                      .frame(std::nullopt, 300),
                  Spacer(),
                  VStack(HorizontalAlignment::center(), CGFloat(16),
                         styledText(withProduct("%@ is available as an Audio Unit."),
                                    localized("Keep this app in your applications folder."), 15,
                                    Font::Weight::bold, "availability"),
                         styledText(localized("To use ") + product + localized(", insert it as"),
                                    localized("a plugin on an instrument track."), 12,
                                    Font::Weight::medium, "instructions"),
                         versionText)
                      .padding(16),
                  TGImages::korvaneLogoBig()
                      .foregroundStyle(Color(EmberfallColors::buttonText()))
                      .accessibilityIdentifier("logo"),
                  Spacer(),
                  HStack(VerticalAlignment::center(), CGFloat(16),
                         Button(openHelp, buttonLabel("Help"))
                             .buttonStyle(KorvaneButtonStyle())
                             .accessibilityIdentifier("help"),
                         Button(openWebsite, buttonLabel("Korvane Website"))
                             .buttonStyle(KorvaneButtonStyle())
                             .accessibilityIdentifier("website"))
                      .padding(Edge::bottom, 14))
        .ignoresSafeArea();
}
