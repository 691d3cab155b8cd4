#pragma once
// What the application's one window shows, top to bottom: a 300-point band with the
// product name over the animated waveform (ContentViewShader), the two instruction
// paragraphs and the version line, the maker's logo, and the Help and web-site buttons,
// on the window's "background" colour. The version line is "<short version>
// (<build>)" from the main bundle, a missing value left empty.
// ContentViewShader wraps the shader view controller ("Main", the waveform pair) in a
// 300 × 300 view; every update asks the MetalKit view, once it exists, to redraw.
// The application's colours ("background", "buttonText") come from its resource bundle
// "Emberfall_Emberfall.bundle", the bundle of ResourceBundleClass.
// Thread: main thread (helpWelcomeURL and the colours: made once, thread-safely).

#include <memory>
#include <string>

#include "Foundation/URL.h"
#include "ShaderViewController.h"
#include "SwiftUI/SwiftUI.h"

class Bundle;

class ResourceBundleClass {
  public:
    static const std::shared_ptr<Bundle>& bundle();
};

namespace EmberfallColors {
const SwiftUI::ColorResource& background();
const SwiftUI::ColorResource& buttonText();
} // namespace EmberfallColors

// https://<the maker's site>/help/emberfall/welcome/
const URL& helpWelcomeURL();

struct ContentViewShader
    : SwiftUI::NSViewControllerRepresentable<ContentViewShader, MetalShaderViewController> {
    std::shared_ptr<MetalShaderViewController> makeNSViewController(Context& context) const;
    void updateNSViewController(MetalShaderViewController& controller, Context& context) const;
};

struct ContentView : SwiftUI::View<ContentView> {
    CGFloat buttonWidth = 180;
    SwiftUI::AnyView body() const;

    // The pieces, for tests.
    static std::string versionString(const Bundle& bundle);
    static std::string versionString();
    static void openHelp();
    static void openWebsite();
};
