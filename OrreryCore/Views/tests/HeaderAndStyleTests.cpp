// The plug-in header, the button styles and pinning a view to another.

#include "AppKit/NSColor.h"
#include "AppKit/NSImage.h"
#include "AppKit/NSView.h"
#include "AppKit/NSWorkspace.h"
#include "Foundation/Bundle.h"
#include "TestSupport/ControlHarness.h"
#include "TestSupport/ParameterRecorder.h"
#include "Utilities/Utilities.h"
#include "Views/AnchorToAllSides.h"
#include "Views/ButtonStyles.h"
#include "Views/OrreryResources.h"
#include "Views/PluginHeaderView.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace SwiftUI;

namespace {

using Event = ParameterRecorder::Event;
using Writes = std::vector<ParameterRecorder::Write>;

struct Header : ::testing::Test {
    RunLoopTestScope scope;
    std::shared_ptr<NSWorkspace> workspace = NSWorkspace::shared();
    void SetUp() override {
        workspace->setLauncher([](const std::vector<std::string>&) { return true; });
        workspace->clearOpenedURLs();
    }
    void TearDown() override { workspace->setLauncher(nullptr); }

    static URL updateURL() { return *URL::string("emberfall://openAndUpdate"); }
    static std::shared_ptr<AudioParameter> tabs(std::optional<std::vector<std::string>> strings,
                                                float value) {
        return AudioParameter::create(0, "tab", "Tab", AudioUnitParameterUnit::indexed, {0, 1},
                                      value, ValueIncrement::linear(), strings);
    }
    static const CGDisplayItem* run(const std::vector<CGDisplayItem>& runs, const std::string& t) {
        for (const auto& r : runs)
            if (r.text == t)
                return &r;
        return nullptr;
    }
};

TEST_F(Header, TabsShowTheSelectedValueAndAClickWritesOneChange) {
    ParameterRecorder rec(tabs(std::vector<std::string>{"chorus", "delay"}, 1));
    ControlHarness hosted(PluginHeaderView(updateURL(), "1.0.3-beta", rec.binding(),
                                           OrreryFont::dosisLight, std::nullopt),
                          {500, 80});
    // The strip: 46 high across the window, on the "background" colour.
    std::vector<CGRect> strips;
    for (const auto& fill : hosted.items(CGDisplayItem::Kind::fill))
        if (fill.color == orreryColor("background").resolve() && fill.rect.height() < 80)
            strips.push_back(fill.rect);
    ASSERT_EQ(strips.size(), 1u);
    EXPECT_EQ(strips[0].width(), 500);
    EXPECT_EQ(strips[0].height(), 46);
    auto runs = hosted.texts();
    const auto* chorus = run(runs, "CHORUS");
    const auto* delay = run(runs, "DELAY");
    ASSERT_TRUE(chorus && delay);
    EXPECT_EQ(chorus->color, orreryColor("tabUnselected").resolve());
    EXPECT_EQ(delay->color, orreryColor("tabSelected").resolve());
    EXPECT_EQ(chorus->fontName, "Dosis-Light");
    EXPECT_EQ(chorus->fontSize, 16);
    // The tab row is centred between the paddings (8 leading, 16 trailing), 24 points
    // between tabs.
    EXPECT_NEAR((chorus->rect.minX() + delay->rect.maxX()) / 2, 8 + (500 - 24) / 2, 1);
    EXPECT_NEAR(delay->rect.minX() - chorus->rect.maxX(), 24, 0.5);
    // The version as given, in the header's font, against the trailing padding.
    const auto* version = run(runs, "1.0.3-beta");
    ASSERT_TRUE(version);
    EXPECT_EQ(version->color, orreryColor("versionInfo").resolve());
    EXPECT_EQ(version->fontName, "Dosis-Light");
    EXPECT_EQ(version->fontSize, 13);
    EXPECT_NEAR(version->rect.maxX(), 500 - 16, 0.5);
    EXPECT_NEAR(version->rect.midY(), strips[0].midY(), 0.5);

    hosted.click({chorus->rect.midX(), chorus->rect.midY()});
    EXPECT_EQ(rec.writes, (Writes{{Event::value, 0}}));
    runs = hosted.texts();
    EXPECT_EQ(run(runs, "CHORUS")->color, orreryColor("tabSelected").resolve());

    // The logo opens the maker's site.
    auto drawn = hosted.drawn();
    auto logo = std::find_if(drawn.begin(), drawn.end(),
                             [](const CGDisplayItem& i) { return i.imageName == "korvane-logo"; });
    ASSERT_NE(logo, drawn.end());
    EXPECT_EQ(logo->rect.minX(), 8);
    EXPECT_NEAR(logo->rect.midY(), strips[0].midY(), 0.5);
    hosted.click({logo->rect.midX(), logo->rect.midY()});
    EXPECT_EQ(workspace->openedURLs(), (std::vector<std::string>{companySite().absoluteString()}));
}

TEST_F(Header, OnlyAnExactValueSelectsATab) {
    struct Case {
        const char* what;
        float value;
        const char *chorus, *delay;
    } cases[] = {
        {"0", 0, "tabSelected", "tabUnselected"},
        {"1", 1, "tabUnselected", "tabSelected"},
        {"between the two", 0.5f, "tabUnselected", "tabUnselected"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto param = tabs(std::vector<std::string>{"chorus", "delay"}, c.value);
        ControlHarness hosted(PluginHeaderView(updateURL(), "1.0.3",
                                               ParameterBinding::constant(param),
                                               OrreryFont::dosisLight, std::nullopt),
                              {500, 46});
        auto runs = hosted.texts();
        ASSERT_TRUE(run(runs, "CHORUS") && run(runs, "DELAY"));
        EXPECT_EQ(run(runs, "CHORUS")->color, orreryColor(c.chorus).resolve());
        EXPECT_EQ(run(runs, "DELAY")->color, orreryColor(c.delay).resolve());
    }
}

TEST_F(Header, NoValueStringsNoTabsAndAKnownUpdateReplacesTheVersion) {
    ParameterRecorder rec(tabs(std::nullopt, 0));
    ControlHarness hosted(PluginHeaderView(updateURL(), "1.0.3", rec.binding(),
                                           OrreryFont::dosisLight, UpdateAvailableDetails{"1.2.0"},
                                           [] { return AnyView(Text("MENU")); }),
                          {500, 46});
    std::vector<std::string> shown;
    for (const auto& r : hosted.texts())
        shown.push_back(r.text);
    EXPECT_EQ(shown, (std::vector<std::string>{"1.2.0 AVAILABLE", "MENU"}));
    auto images = hosted.images();
    EXPECT_NE(std::find(images.begin(), images.end(), "korvane-logo"), images.end());
    auto runs = hosted.texts();
    const auto* pill = run(runs, "1.2.0 AVAILABLE");
    ASSERT_TRUE(pill);
    // On the update pill, in its own font whatever the header's.
    EXPECT_EQ(pill->fontName, "Rocket");
    EXPECT_EQ(pill->fontSize, 13);
    EXPECT_EQ(pill->color, orreryColor("background").resolve());
    auto fills = hosted.items(CGDisplayItem::Kind::fill);
    EXPECT_TRUE(std::any_of(fills.begin(), fills.end(), [](const CGDisplayItem& i) {
        return i.color == orreryColor("updateBackground").resolve();
    }));
    hosted.click({pill->rect.midX(), pill->rect.midY()});
    EXPECT_EQ(workspace->openedURLs(), (std::vector<std::string>{updateURL().absoluteString()}));
    EXPECT_TRUE(rec.writes.empty());
}

struct Styles : ::testing::Test {
    RunLoopTestScope scope;
};

// A button with a style and a text label, at the top-left of a larger window.
template <class S>
AnyView styled(S style, const std::string& title, std::optional<OrreryFont> font) {
    AnyView label = font ? orreryFont(Text(title), *font, 13) : AnyView(Text(title));
    return Button([] {}, label).buttonStyle(style).frame(300, 80, Alignment::topLeading());
}

const CGDisplayItem& first(const std::vector<CGDisplayItem>& items, CGDisplayItem::Kind kind) {
    static const CGDisplayItem none;
    for (const auto& i : items)
        if (i.kind == kind)
            return i;
    return none;
}

TEST_F(Styles, UpdatePillIsDimmedWhilePressedAndPaddedOnlyAtTheTopAndSides) {
    ControlHarness hosted(styled(UpdateButtonStyle{}, "1.2.0 AVAILABLE", std::nullopt), {300, 80});
    auto items = hosted.drawn();
    const auto& pill = *std::find_if(items.begin(), items.end(), [](const CGDisplayItem& i) {
        return i.kind == CGDisplayItem::Kind::fill &&
               i.color == orreryColor("updateBackground").resolve();
    });
    const auto& label = first(items, CGDisplayItem::Kind::text);
    EXPECT_EQ(pill.color, orreryColor("updateBackground").resolve());
    EXPECT_EQ(label.color, orreryColor("background").resolve());
    EXPECT_EQ(label.fontName, "Rocket");
    EXPECT_EQ(label.fontSize, 13);
    EXPECT_NEAR(label.rect.minY() - pill.rect.minY(), 2, 0.01);
    EXPECT_NEAR(pill.rect.maxY(), label.rect.maxY(), 0.01);
    EXPECT_NEAR(label.rect.minX() - pill.rect.minX(), 4, 0.01);
    EXPECT_NEAR(pill.rect.maxX() - label.rect.maxX(), 4, 0.01);
    EXPECT_EQ(label.alpha, 1);
    hosted.press({pill.rect.midX(), pill.rect.midY()});
    EXPECT_DOUBLE_EQ(first(hosted.drawn(), CGDisplayItem::Kind::text).alpha, 0.8);
    hosted.release({pill.rect.midX(), pill.rect.midY()});
    EXPECT_DOUBLE_EQ(first(hosted.drawn(), CGDisplayItem::Kind::text).alpha, 1.0);
}

TEST_F(Styles, ModernFaceStretchesToTheLabelAndColoursItWhenOn) {
    struct Case {
        bool isOn;
        bool pressed;
        const char* face;
        bool callerColour;
    } cases[] = {{false, false, "modern-button", false},
                 {false, true, "modern-button-down", false},
                 {true, false, "modern-button-on", true},
                 {true, true, "modern-button-on-down", true}};
    for (const auto& c : cases) {
        ControlHarness hosted(styled(ModernButtonStyle{c.isOn, Color(0, 1, 0)},
                                     "A RATHER LONG TITLE", OrreryFont::rocket),
                              {300, 80});
        if (c.pressed)
            hosted.press({20, 10});
        auto items = hosted.drawn();
        const auto& face = first(items, CGDisplayItem::Kind::image);
        const auto& label = first(items, CGDisplayItem::Kind::text);
        EXPECT_EQ(face.imageName, c.face);
        EXPECT_EQ(face.rect.height(), 27);
        EXPECT_NEAR(face.rect.width(), label.rect.width(), 0.01);
        EXPECT_EQ(label.color,
                  c.callerColour ? CGColor::rgb(0, 1, 0) : orreryColor("buttonText").resolve());
        EXPECT_NEAR(label.rect.midY() - face.rect.midY(), 2, 0.01);
        EXPECT_NEAR(label.rect.midX(), face.rect.midX(), 0.01);
        if (c.pressed)
            hosted.release({20, 10});
    }
}

TEST_F(Styles, SettingsFaceMovesOnlyARocketLabelDown) {
    // The font a label has when nobody sets one.
    const std::string plainFont =
        first(ControlHarness(styled(PlainButtonStyle{}, "SET", std::nullopt), {300, 80}).drawn(),
              CGDisplayItem::Kind::text)
            .fontName;
    const CGSize artSize = NSImage::named("settings-button", orreryCoreBundle())->size();
    struct Case {
        const char* what;
        OrreryFont font;
        std::optional<OrreryFont> labelFont; // the caller's
        std::string drawnFont;
    } cases[] = {
        {"dosis", OrreryFont::dosisLight, OrreryFont::dosisLight, "Dosis-Light"},
        {"rocket", OrreryFont::rocket, OrreryFont::rocket, "Rocket"},
        {"rocket named, label unset", OrreryFont::rocket, std::nullopt, plainFont},
    };
    ASSERT_NE(plainFont, "Rocket");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const OrreryFont font = c.font;
        ControlHarness hosted(styled(SettingsButtonStyle{font}, "SET", c.labelFont), {300, 80});
        auto items = hosted.drawn();
        const auto& face = first(items, CGDisplayItem::Kind::image);
        const auto& label = first(items, CGDisplayItem::Kind::text);
        EXPECT_EQ(face.imageName, "settings-button");
        EXPECT_EQ(face.rect.size, artSize); // at its own size, not stretched
        EXPECT_EQ(label.color, orreryColor("buttonText").resolve());
        EXPECT_EQ(label.fontName, c.drawnFont); // the style leaves the font to the caller
        EXPECT_NEAR(label.rect.midX(), face.rect.midX(), 0.01);
        EXPECT_NEAR(label.rect.midY() - face.rect.midY(), font == OrreryFont::rocket ? 2 : 0, 0.01);
        hosted.press({face.rect.midX(), face.rect.midY()});
        EXPECT_EQ(first(hosted.drawn(), CGDisplayItem::Kind::image).imageName,
                  "settings-button-down");
        hosted.release({face.rect.midX(), face.rect.midY()});
    }
}

TEST_F(Styles, FontModifiersSetTheCustomFaceAndSize) {
    struct Case {
        const char* what;
        AnyView view;
        const char* face;
        CGFloat size;
    } cases[] = {
        {"rocketFont", rocketFont(Text("A"), 15), "Rocket", 15},
        {"orreryFont", orreryFont(Text("A"), OrreryFont::dosisMedium, 17), "Dosis-Medium", 17},
        {"modifier", CustomFontModifier{OrreryFont::dosisLight, 11}.body(Text("A")), "Dosis-Light",
         11},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ControlHarness hosted(c.view, {100, 40});
        const CGDisplayItem label = first(hosted.drawn(), CGDisplayItem::Kind::text);
        EXPECT_EQ(label.fontName, c.face);
        EXPECT_EQ(label.fontSize, c.size);
    }
}

TEST(AnchorToAllSides, PinsWithInsetsAndIgnoresAMissingView) {
    RunLoopTestScope scope;
    auto window = make<NSWindow>(CGRect{0, 0, 200, 100});
    auto container = make<NSView>(CGRect{0, 0, 200, 100});
    window->setContentView(container);
    auto pinned = make<NSView>(CGRect{5, 5, 10, 10});
    container->addSubview(pinned);
    anchorToAllSidesOf(pinned, nullptr, {10, 20, 30, 40});
    EXPECT_TRUE(pinned->translatesAutoresizingMaskIntoConstraints);
    anchorToAllSidesOf(pinned, container, {10, 20, 30, 40});
    EXPECT_FALSE(pinned->translatesAutoresizingMaskIntoConstraints);
    window->layoutIfNeeded();
    CGRect inWindow = pinned->convertToView(pinned->bounds(), nullptr);
    EXPECT_EQ(inWindow.minX(), 20);              // leading gap
    EXPECT_EQ(200 - inWindow.maxX(), 40);        // trailing gap
    EXPECT_EQ(inWindow.size, (CGSize{140, 60})); // top 10 and bottom 30 taken off

    // Edge to the same edge of the other view, in the order leading, trailing,
    // bottom, top.
    using A = NSLayoutAttribute;
    const std::vector<std::pair<A, CGFloat>> expected{
        {A::leading, 20}, {A::trailing, -40}, {A::bottom, -30}, {A::top, 10}};
    const auto& made = pinned->constraints();
    ASSERT_EQ(made.size(), expected.size());
    for (std::size_t i = 0; i < made.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(made[i]->firstAttribute(), expected[i].first);
        EXPECT_EQ(made[i]->secondAttribute(), expected[i].first);
        EXPECT_EQ(made[i]->secondItem(), container);
        EXPECT_EQ(made[i]->constant, expected[i].second);
        EXPECT_TRUE(made[i]->isActive());
    }
}

} // namespace

namespace {

TEST(OrreryResources, NamedColoursAndAssetsComeFromTheFrameworksBundle) {
    RunLoopTestScope scope;
    ASSERT_NE(orreryCoreBundle(), nullptr);
    EXPECT_EQ(&orreryCoreBundle(), &orreryCoreBundle());
    EXPECT_NE(orreryCoreBundle()->bundlePath().find("Orrery_OrreryCore.bundle"), std::string::npos);
    struct Case {
        SwiftUI::Color color;
        const char* asset;
    } cases[] = {{orreryPluginGrey(), "pluginGrey"},     {orreryPluginBlue(), "pluginBlue"},
                 {orreryPluginYellow(), "pluginYellow"}, {orreryPluginRed(), "pluginRed"},
                 {orreryPluginPurple(), "pluginPurple"}, {orreryTinyDialLabel(), "tinyDialLabel"}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.color.name(), c.asset);
        auto expected = NSColor::named(c.asset, orreryCoreBundle());
        ASSERT_NE(expected, nullptr) << c.asset;
        EXPECT_EQ(c.color.resolve().rgba(), expected->cgColor().rgba()) << c.asset;
    }
    // The catalogue the framework's views draw from, name for name: nine colours, and
    // every face with its pressed face besides the logo.
    auto sorted = [](auto names) {
        std::vector<std::string> out(names.begin(), names.end());
        std::sort(out.begin(), out.end());
        return out;
    };
    const std::vector<std::string> colours = {"ChaosYellowText",
                                              "background",
                                              "buttonText",
                                              "chaosToggleText",
                                              "chaosToggleTextPressed",
                                              "tabSelected",
                                              "tabUnselected",
                                              "updateBackground",
                                              "versionInfo"};
    std::vector<std::string> images = {"korvane-logo"};
    for (std::string face :
         {"chaos-button-yellow", "chaos-button-grey-off", "chaos-button-grey-on-yellow",
          "chaos-button-grey-on-blue", "chaos-button-grey-on-red", "chaos-button-grey-on-white",
          "chaos-button-narrow-grey-off", "chaos-button-narrow-grey-on-yellow",
          "chaos-button-small-yellow-left", "chaos-button-small-yellow-right", "modern-button",
          "modern-button-on", "retro-button", "settings-button"}) {
        images.push_back(face);
        images.push_back(face + "-down");
    }
    EXPECT_EQ(sorted(OrreryResources::colorNames), sorted(colours));
    EXPECT_EQ(sorted(OrreryResources::imageNames), sorted(images));
    // Every catalogue name has its asset, and one descriptor for the process.
    for (auto name : OrreryResources::colorNames)
        EXPECT_NE(NSColor::named(std::string(name), orreryCoreBundle()), nullptr) << name;
    for (auto name : OrreryResources::imageNames)
        EXPECT_NE(NSImage::named(std::string(name), orreryCoreBundle()), nullptr) << name;
    EXPECT_EQ(&OrreryResources::image("korvane-logo"), &OrreryResources::image("korvane-logo"));
}

TEST(OrreryResourcesDeathTest, AnAssetOutsideTheCatalogueIsAProgrammingError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(OrreryResources::image("no-such-face"), "no image asset named no-such-face");
}

} // namespace
