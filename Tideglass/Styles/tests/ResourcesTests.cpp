// The library's bundle, its asset catalogue, the palettes and image sets, and the
// shared style constants. A missing bundle ends the program: a copy of this test
// program, run from a folder without bundles, shows it.

#include "Styles/Styles.h"
#include "Styles/TideglassResources.h"

#include "AppKit/NSAssetCatalog.h"
#include "AppKit/NSColor.h"
#include "AppKit/NSFont.h"
#include "AppKit/NSImage.h"
#include "Foundation/Bundle.h"

#include <gtest/gtest.h>

#include "Styles/tests/ProbeCopy.h"
#include "TestSupport/TemporaryDirectory.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Run only in the copy started below.
TEST(TideglassBundleProbe, AskForTheBundle) {
    if (!std::getenv("TIDEGLASS_BUNDLE_PROBE"))
        GTEST_SKIP() << "runs only in the copy started by the missing-bundle test";
    tideglassBundle();
}

TEST(TideglassBundle, FoundOnceAndHoldsEveryAssetOfTheCatalogue) {
    const auto& bundle = tideglassBundle();
    ASSERT_NE(bundle, nullptr);
    EXPECT_EQ(fs::path(bundle->bundlePath()).filename(), "Tideglass_Tideglass.bundle");
    EXPECT_EQ(&tideglassBundle(), &bundle);
    // The first place searched is the main bundle's resources, where the build puts it.
    EXPECT_EQ(fs::path(bundle->bundlePath()).parent_path(),
              fs::path(Bundle::main()->resourceURL().path()).lexically_normal());

    auto catalogue = NSAssetCatalog::of(bundle);
    EXPECT_EQ(TideglassResources::colorNames.size(), 21u);
    EXPECT_EQ(TideglassResources::imageNames.size(), 52u);
    for (auto name : TideglassResources::colorNames) {
        SCOPED_TRACE(name);
        auto colour = catalogue->color(std::string(name));
        ASSERT_TRUE(colour.has_value());
        EXPECT_EQ(colour->alpha(), 1.0);
        EXPECT_EQ(TideglassResources::nsColor(name)->name(), name);
    }
    for (auto name : TideglassResources::imageNames) {
        SCOPED_TRACE(name);
        auto made = TideglassResources::nsImage(name);
        EXPECT_TRUE(made->isVector());
        EXPECT_GT(made->size().width, 0);
        EXPECT_NE(TideglassResources::nsImage(name), made) << "a new image each call";
    }
    // The descriptors are made once and name the library's bundle.
    const auto& descriptor = TideglassResources::color("Quarro/Aqua");
    EXPECT_EQ(&TideglassResources::color("Quarro/Aqua"), &descriptor);
    EXPECT_EQ(descriptor.bundle, bundle);
    EXPECT_EQ(TideglassResources::image("window-korvane").name, "window-korvane");
}

TEST(TideglassBundle, AMissingBundleEndsTheProgramWithItsName) {
    const fs::path folder =
        fs::temp_directory_path() / ("tideglass-no-bundles-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    auto result =
        runProbeCopy(folder, "TideglassBundleProbe.AskForTheBundle", "TIDEGLASS_BUNDLE_PROBE=1");
    EXPECT_FALSE(result.succeeded);
    EXPECT_NE(result.errors.find("unable to find bundle named Tideglass_Tideglass"),
              std::string::npos)
        << result.errors;
    fs::remove_all(folder);
}

// Becomes the copy of this program at `copy`, which asks for the library's bundle
// from a folder without one.
[[noreturn]] void becomeProbe(const fs::path& copy) {
    std::string filter = "--gtest_filter=TideglassBundleProbe.AskForTheBundle";
    std::string environment = "TIDEGLASS_BUNDLE_PROBE=1";
    char* argv[] = {const_cast<char*>(copy.c_str()), filter.data(), nullptr};
    char* envp[] = {environment.data(), nullptr};
    execve(copy.c_str(), argv, envp);
    _exit(127);
}

TEST(TideglassBundleDeathTest, AMissingBundleIsReportedFromTheAccessorsFileAndLine) {
    TemporaryDirectory folder("tideglass-no-bundles");
    fs::copy_file("/proc/self/exe", folder / "probe");
    // The child becomes the copy at once, so forking is safe here.
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_EXIT(becomeProbe(folder / "probe"), testing::KilledBySignal(SIGABRT),
                "Tideglass/resource_bundle_accessor:44: Fatal error: unable to find bundle "
                "named Tideglass_Tideglass\n");
}

TEST(Palettes, EachMemberIsMadeOnceFromItsAsset) {
    struct Member {
        std::function<const SwiftUI::Color&()> view;
        std::function<const std::shared_ptr<NSColor>&()> appKit;
        const char* asset;
    };
    const Member members[] = {
        {TGColors::Background::normal, TGColorsAK::Background::normal, "Background/Normal"},
        {TGColors::Background::darker, TGColorsAK::Background::darker, "Background/Darker"},
        {TGColors::Background::darkest, TGColorsAK::Background::darkest, "Background/Darkest"},
        {TGColors::Quarro::aqua, TGColorsAK::Quarro::aqua, "Quarro/Aqua"},
        {TGColors::Quarro::blue, TGColorsAK::Quarro::blue, "Quarro/Blue"},
        {TGColors::Quarro::darkPurple, TGColorsAK::Quarro::darkPurple, "Quarro/DarkPurple"},
        {TGColors::Quarro::lightBlue, TGColorsAK::Quarro::lightBlue, "Quarro/LightBlue"},
        {TGColors::Quarro::orange, TGColorsAK::Quarro::orange, "Quarro/Orange"},
        {TGColors::Quarro::purple, TGColorsAK::Quarro::purple, "Quarro/Purple"},
        {TGColors::Quarro::red, TGColorsAK::Quarro::red, "Quarro/Red"},
        {TGColors::Quarro::yellow, TGColorsAK::Quarro::yellow, "Quarro/Yellow"},
        {TGColors::grey20, TGColorsAK::grey20, "Grey 20%"},
        {TGColors::grey30, TGColorsAK::grey30, "Grey 30%"},
        {TGColors::grey40, TGColorsAK::grey40, "Grey 40%"},
        {TGColors::grey50, TGColorsAK::grey50, "Grey 50%"},
        {TGColors::grey60, TGColorsAK::grey60, "Grey 60%"},
        {TGColors::grey70, TGColorsAK::grey70, "Grey 70%"},
        {TGColors::grey85, TGColorsAK::grey85, "Grey 85%"},
        {TGColors::grey100, TGColorsAK::grey100, "Grey 100%"},
    };
    for (const auto& m : members) {
        SCOPED_TRACE(m.asset);
        EXPECT_EQ(m.view().name(), m.asset);
        EXPECT_EQ(&m.view(), &m.view());
        const auto& appKit = m.appKit();
        EXPECT_EQ(appKit->name(), m.asset);
        EXPECT_EQ(m.appKit(), appKit);
        EXPECT_EQ(appKit->cgColor(), m.view().resolve()) << "converted from the same colour";
        EXPECT_EQ(appKit->cgColor(), *NSAssetCatalog::of(tideglassBundle())->color(m.asset));
    }
    // The greys get lighter with their percentage.
    EXPECT_LT(TGColorsAK::grey20()->redComponent(), TGColorsAK::grey85()->redComponent());
    EXPECT_LT(TGColorsAK::grey85()->redComponent(), TGColorsAK::grey100()->redComponent());
}

TEST(ImageSets, EachMemberIsMadeOnceFromItsAsset) {
    struct Member {
        std::function<const SwiftUI::Image&()> view;
        std::function<const std::shared_ptr<NSImage>&()> appKit;
        const char* asset;
    };
    const Member members[] = {
        {TGImages::tguiButton, TGImagesAK::tguiButton, "tgui-button"},
        {TGImages::tguiButtonDown, TGImagesAK::tguiButtonDown, "tgui-button-down"},
        {TGImages::korvaneLogoBig, TGImagesAK::korvaneLogoBig, "window-korvane"},
        {TGImages::tguiCheckerboard, TGImagesAK::tguiCheckerboard, "tgui-checkerboard"},
        {TGImages::tguiCheckerboardSmall, TGImagesAK::tguiCheckerboardSmall,
         "tgui-checkerboard-small"},
        {TGImages::tguiTextfield, TGImagesAK::tguiTextfield, "tgui-textfield"},
        {TGImages::tguiTextfieldError, TGImagesAK::tguiTextfieldError, "tgui-textfield-error"},
        {TGImages::tguiTextfieldFocus, TGImagesAK::tguiTextfieldFocus, "tgui-textfield-focus"},
        {TGImages::tguiCheckbox, TGImagesAK::tguiCheckbox, "tgui-checkbox"},
        {TGImages::tguiCheckboxOn, TGImagesAK::tguiCheckboxOn, "tgui-checkbox-on"},
        {TGImages::tguiCheckboxDown, TGImagesAK::tguiCheckboxDown, "tgui-checkbox-down"},
        {TGImages::tguiCheckboxOnDown, TGImagesAK::tguiCheckboxOnDown, "tgui-checkbox-on-down"},
    };
    for (const auto& m : members) {
        SCOPED_TRACE(m.asset);
        EXPECT_EQ(m.view().name(), m.asset);
        EXPECT_EQ(&m.view(), &m.view());
        EXPECT_EQ(m.appKit()->name(), m.asset);
        EXPECT_EQ(m.appKit(), m.appKit());
    }
    EXPECT_EQ(TGImagesAK::cursorTrackingslider()->name(), "cursor-trackingslider");
}

TEST(StyleConstants, SharedObjectsAliasesAndComputedColours) {
    using namespace Styles;
    // Aliases hand out the very object they alias.
    EXPECT_EQ(Control::font(), BaseStyles::normalFont());
    EXPECT_EQ(TableRow::font(), BaseStyles::normalMonoFont());
    EXPECT_EQ(OutlineRow::font(), BaseStyles::normalMonoFont());
    EXPECT_EQ(TableRow::selectedFont(), BaseStyles::mediumFont());
    EXPECT_EQ(TableHeader::font(), BaseStyles::headerFont());
    EXPECT_EQ(PropertiesTab::font(), BaseStyles::headerFont());
    EXPECT_EQ(OutlineHeader::font(), BaseStyles::headerFont());
    EXPECT_EQ(OutlineRow::selectedFont(), BaseStyles::mediumFont());
    EXPECT_EQ(TableGroupRow::font(), BaseStyles::normalFont());
    EXPECT_EQ(Label::font(), BaseStyles::normalFont());
    EXPECT_EQ(CanvasInfo::font(), BaseStyles::normalFont());
    EXPECT_TRUE(BaseStyles::normalMonoFont()->isMonospacedDigits());

    struct FontCase {
        const std::shared_ptr<NSFont>& font;
        CGFloat size;
        NSFont::Weight weight;
    };
    const FontCase fonts[] = {
        {BaseStyles::normalFont(), 10, CGFont::regular},
        {BaseStyles::normalMonoFont(), 10, CGFont::regular},
        {BaseStyles::mediumFont(), 10, CGFont::medium},
        {BaseStyles::headerFont(), 12, CGFont::medium},
        {BaseStyles::menuFont(), 12, CGFont::regular},
        {BaseStyles::titleFont(), 14, CGFont::medium},
        {BaseStyles::largeTitleFont(), 20, CGFont::medium},
    };
    for (const auto& f : fonts) {
        EXPECT_EQ(f.font->pointSize(), f.size);
        EXPECT_EQ(f.font->weight(), f.weight) << f.size;
    }

    // Stored colours are one object; computed ones are new on every read.
    EXPECT_EQ(Control::textColor(), Control::textColor());
    EXPECT_NE(Control::focusRingColor(), Control::focusRingColor());
    EXPECT_EQ(Control::focusRingColor()->name(), "Highlight/System");
    EXPECT_NE(TableRow::selectedBackground(), TableRow::selectedBackground());
    EXPECT_NE(Control::selectedBackground(), Control::selectedBackground());

    struct ColourCase {
        std::shared_ptr<NSColor> colour;
        const char* asset;
    };
    const ColourCase colours[] = {
        {Control::textColor(), "Grey 85%"},
        {Control::selectedTextColor(), "Grey 100%"},
        {Control::selectedBackground(), "Highlight/System"},
        {Control::disabledTextColor(), "Grey 40%"},
        {Control::highlightedTextColor(), "Grey 50%"},
        {Control::errorFocusRingColor(), "Error"},
        {TextInput::placeholderTextColor(), "Grey 50%"},
        {OutlineRow::textColor(), "Grey 85%"},
        {OutlineRow::selectedTextColor(), "Grey 100%"},
        {OutlineRow::selectedBackground(), "Highlight/System"},
        {TableView::background(), "Background/Darker"},
        {TableHeader::textColor(), "Grey 50%"},
        {TableRow::textColor(), "Grey 70%"},
        {PropertiesTab::textColor(), "Grey 70%"},
        {PropertiesTab::selectedTextColor(), "Grey 85%"},
        {PropertiesTab::highlightedTextColor(), "Grey 50%"},
        {CanvasInfo::textColor(), "Grey 85%"},
        {Control::errorTextColor(), "Grey 100%"},
        {Control::errorBackground(), "Error"},
        {Control::placeholderTextColor(), "Grey 20%"},
        {TextInput::errorTextColor(), "Error"},
        {TextInput::errorBackground(), "Error"},
        {TextInput::placeholderHighlightedTextColor(), "Quarro/Blue"},
        {TextInput::highlightedTextColor(), "Grey 100%"},
        {OutlineHeader::textColor(), "Grey 50%"},
        {OutlineRow::background(), "Background/Darker"},
        {TableHeader::background(), "Background/Darkest"},
        {TableGroupRow::textColor(), "Grey 50%"},
        {Label::nsTextColor(), "Grey 60%"},
        {Label::disabledTextColor(), "Grey 30%"},
        {CanvasInfo::background(), "Background/Normal"},
        {ScrollView::background(), "Background/Darker"},
        {Window::background(), "Background/Normal"},
    };
    for (const auto& c : colours)
        EXPECT_EQ(c.colour->name(), c.asset);
    for (const auto& clear : {Control::disabledBackground(), Control::highlightedBackground(),
                              Control::placeholderBackground()})
        EXPECT_EQ(clear, NSColor::clear());
    EXPECT_EQ(Label::textColor().name(), "Grey 60%");
    EXPECT_EQ(Control::background(), NSColor::clear());
    EXPECT_EQ(Control::background()->alphaComponent(), 0);

    EXPECT_EQ(BaseStyles::smallCorner, 3);
    EXPECT_EQ(Layout::rowHeight, 24);
    EXPECT_EQ(Layout::headerHeight, 24);
    EXPECT_EQ(Layout::materialPresetsSize, (CGSize{76, 83}));
    EXPECT_EQ(WelcomeHeadings::topPadding, 32);
    EXPECT_EQ(WelcomeHeadings::bottomPadding, 12);
}

} // namespace
