#include "ContentView.h"
#include "EmberfallApp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "AppKit/NSWindow.h"
#include "AppKit/NSWorkspace.h"
#include "Foundation/Bundle.h"
#include "Foundation/RunLoop.h"
#include "Metal/Metal.h"
#include "SwiftUI/Effects.h"
#include "SwiftUI/NSHostingView.h"
#include "TestSupport/TemporaryDirectory.h"
#include "Utilities/Utilities.h"

namespace {

struct Quiet : SPUUserDriver {
    void showUserInitiatedUpdateCheck() override {}
    void showUpdateFound(const std::string&) override {}
    void showUpdateNotFound() override {}
    void showUpdaterError(const std::string&) override {}
};

class ContentViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = SwiftUI::makeWindow(app.body());
        host = SwiftUI::NSHostingView::firstIn(window->contentView());
        ASSERT_TRUE(host);
    }
    CGRect frame(const char* id) { return host->graph().frame(id).value_or(CGRect{}); }

    RunLoopTestScope loop;
    EmberfallApp app{std::make_shared<Quiet>()};
    std::shared_ptr<NSWindow> window;
    std::shared_ptr<SwiftUI::NSHostingView> host;
};

TEST_F(ContentViewTest, TheWindowIsAFixedDarkWindowWithTheBandAcrossTheTop) {
    EXPECT_EQ(window->contentSize(), (CGSize{400, 572}));
    EXPECT_EQ(window->title, "Emberfall");
    EXPECT_EQ(window->identifier, "main");
    EXPECT_FALSE(window->styleMask & NSWindow::resizable);
    EXPECT_TRUE(window->styleMask & NSWindow::fullSizeContentView);
    ASSERT_TRUE(window->appearance);
    EXPECT_EQ(window->appearance->name(), NSAppearanceName::darkAqua);
    EXPECT_EQ(frame("band"), (CGRect{0, 0, 400, 300}));
    // The title stands in the middle of the band.
    CGRect title = frame("title");
    EXPECT_NEAR(title.origin.x + title.size.width / 2, 200, 1);
    EXPECT_NEAR(title.origin.y + title.size.height / 2, 150, 1);
    // Then the texts, the logo and the buttons, top to bottom, all inside the window.
    const char* order[] = {"availability", "instructions", "version", "logo", "help"};
    CGFloat bottom = 300;
    for (const char* id : order) {
        SCOPED_TRACE(id);
        CGRect r = frame(id);
        EXPECT_GE(r.origin.y, bottom - 0.5);
        EXPECT_GE(r.origin.x, 0);
        EXPECT_LE(r.origin.x + r.size.width, 400);
        bottom = r.origin.y + r.size.height;
    }
    EXPECT_NEAR(bottom, 572 - 14, 0.5);
    // The info block's three lines stand 16 points apart, and its padding of 16 parts
    // it from the logo.
    const CGFloat gaps[] = {
        frame("instructions").minY() - frame("availability").maxY(),
        frame("version").minY() - frame("instructions").maxY(),
        frame("logo").minY() - frame("version").maxY(),
    };
    for (CGFloat gap : gaps)
        EXPECT_NEAR(gap, 16, 0.01);
    EXPECT_EQ(frame("help").size.width, frame("website").size.width);
    // Each button is its 180-point label less the style's -2 points a side, 16 apart.
    EXPECT_EQ(frame("help").size.width, 180 - 2 * 2);
    EXPECT_EQ(frame("website").origin.x - frame("help").origin.x - frame("help").size.width, 16);
    EXPECT_EQ(frame("help").origin.y, frame("website").origin.y);
}

TEST_F(ContentViewTest, EveryLineOfTextFitsOnOneLine) {
    const CGFloat line15 = CGTextMeasure("Ag", CGFont::system(15, CGFont::bold)).height;
    const CGFloat line12 = CGTextMeasure("Ag", CGFont::system(12, CGFont::medium)).height;
    EXPECT_NEAR(frame("availability").size.height, 2 * line15 + 1, 1);
    EXPECT_NEAR(frame("instructions").size.height, 2 * line12 + 1, 1);
    EXPECT_NEAR(frame("version").size.height, line12, 1);
}

TEST_F(ContentViewTest, TheVersionLineReadsTheBundlesKeys) {
    struct Case {
        const char* what;
        const char* keys;
        const char* line;
    };
    const Case cases[] = {
        {"both",
         "<key>CFBundleShortVersionString</key><string>1.2</string><key>CFBundleVersion</"
         "key><string>345</string>",
         "1.2 (345)"},
        {"no build", "<key>CFBundleShortVersionString</key><string>1.2</string>", "1.2 ()"},
        {"not strings", "<key>CFBundleShortVersionString</key><integer>3</integer>", " ()"},
        {"neither", "", " ()"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TemporaryDirectory folder("version-line");
        std::filesystem::create_directories(folder / "Contents/MacOS");
        std::ofstream(folder / "Contents/Info.plist")
            << "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>" << c.keys
            << "</dict></plist>";
        EXPECT_EQ(ContentView::versionString(*Bundle::atPath(folder.path().string())), c.line);
    }
}

TEST_F(ContentViewTest, TheButtonsOpenTheHelpPageAndTheWebSite) {
    auto workspace = NSWorkspace::shared();
    std::vector<std::vector<std::string>> launched;
    workspace->setLauncher([&](const std::vector<std::string>& argv) {
        launched.push_back(argv);
        return true;
    });
    ContentView::openHelp();
    ContentView::openWebsite();
    workspace->setLauncher(nullptr);
    ASSERT_EQ(launched.size(), 2u);
    EXPECT_EQ(launched[0].size(), 2u); // the opener and the URL, no shell
    EXPECT_EQ(launched[0][1].rfind("https://", 0), 0u);
    EXPECT_NE(launched[0][1].find("/help/emberfall/welcome/"), std::string::npos);
    EXPECT_EQ(launched[1][1].rfind("https://", 0), 0u);
    // The help page lies on the maker's site; the other button opens the site itself.
    EXPECT_EQ(launched[0][1], "https://" + companySite().host() + "/help/emberfall/welcome/");
    EXPECT_EQ(launched[1][1], companySite().absoluteString());
}

TEST_F(ContentViewTest, TheWindowDrawsItsTextsInTheirFontsAndColours) {
    auto drawn = window->snapshot(true);
    const CGColor text = SwiftUI::Color(EmberfallColors::buttonText()).resolve();
    struct Case {
        const char* text;
        CGFloat size;
        bool buttonText; // in "buttonText" (else the title's white)
    };
    const Case cases[] = {
        {"Emberfall is available as an Audio Unit.", 15, true},
        {"Keep this app in your applications folder.", 15, true},
        {"To use Emberfall, insert it as", 12, true},
        {"a plugin on an instrument track.", 12, true},
        {"Emberfall", 36, false},
        {"Help", 12, false},
        {"Korvane Website", 12, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<CGDisplayItem> runs;
        for (const auto& item : drawn->displayList())
            if (item.kind == CGDisplayItem::Kind::text && item.text == c.text)
                runs.push_back(item);
        ASSERT_FALSE(runs.empty());
        EXPECT_EQ(runs.back().fontSize, c.size);
        if (c.buttonText)
            EXPECT_EQ(runs.back().color, text);
    }
    // The window's ground is the "background" colour.
    const CGColor ground = SwiftUI::Color(EmberfallColors::background()).resolve();
    EXPECT_TRUE(std::any_of(
        drawn->displayList().begin(), drawn->displayList().end(), [&](const CGDisplayItem& item) {
            return item.kind == CGDisplayItem::Kind::fill && item.color == ground &&
                   item.rect.size.width >= 400 && item.rect.size.height >= 572;
        }));
}

// The nodes under `node`, depth first, the node itself first.
void walk(const SwiftUI::Node& node, const std::function<void(const SwiftUI::Node&)>& visit) {
    visit(node);
    for (const auto& child : node.children)
        walk(*child, visit);
}

TEST_F(ContentViewTest, TheTextsHaveTheirFontsAndTheTitleItsThreeShadows) {
    using SwiftUI::Font;
    const SwiftUI::ColorValue buttonText = SwiftUI::Color(EmberfallColors::buttonText());
    struct Case {
        const char* id;
        Font font;
        std::optional<SwiftUI::ColorValue> colour;
    };
    const Case cases[] = {
        {"availability", Font::system(15, Font::Weight::bold, Font::Design::rounded), buttonText},
        {"instructions", Font::system(12, Font::Weight::medium, Font::Design::rounded), buttonText},
        {"version", Font::system(12, Font::Weight::medium, Font::Design::rounded), buttonText},
        {"title", Font::custom("Rocket", 36), SwiftUI::Color::white()},
        {"help", Font::system(12, Font::Weight::bold, Font::Design::rounded), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const SwiftUI::Node* node = host->graph().find(c.id);
        ASSERT_TRUE(node);
        int texts = 0;
        walk(*node, [&](const SwiftUI::Node& n) {
            if (!n.children.empty() || n.view.viewType() != typeid(SwiftUI::Text))
                return;
            ++texts;
            EXPECT_EQ(n.environment.font, c.font);
            if (c.colour)
                EXPECT_EQ(n.environment.foregroundColor, c.colour);
        });
        EXPECT_GT(texts, 0);
    }
    // The logo takes "buttonText" as its foreground style.
    walk(*host->graph().find("logo"), [&](const SwiftUI::Node& n) {
        if (n.children.empty())
            EXPECT_EQ(n.environment.foregroundColor, buttonText);
    });
    // The title's shadows, each around what the one before made (outermost first).
    using Shadow = std::array<double, 4>; // opacity, radius, x, y
    std::vector<Shadow> shadows;
    std::vector<CGColor> colours;
    walk(*host->graph().find("title"), [&](const SwiftUI::Node& n) {
        if (auto* s = dynamic_cast<const SwiftUI::detail::ShadowModifier*>(&n.view.primitive())) {
            const CGColor c = s->color.resolve();
            shadows.push_back({std::round(c.alpha() * 100) / 100, s->radius, s->x, s->y});
            colours.push_back(c.withAlpha(1));
        }
    });
    EXPECT_EQ(shadows, (std::vector<Shadow>{{0.3, 4, 0, 4}, {0.4, 1, 0, 2}, {0.4, 0, 0, 1}}));
    for (const CGColor& c : colours)
        EXPECT_EQ(c, CGColor::rgb(0.0485, 0.0245, 0.1257, 1, CGColorSpace::displayP3));
}

TEST_F(ContentViewTest, TheBandAsksItsViewToRedrawOnlyOnceItHasOne) {
    ContentViewShader shader;
    SwiftUI::EnvironmentValues environment;
    SwiftUI::RepresentableContext context{environment};
    auto controller = shader.makeNSViewController(context);
    EXPECT_EQ(controller->view()->frame(), (CGRect{0, 0, 300, 300}));
    EXPECT_EQ(controller->vertxShaderName, "audioWaveformVertexShader");
    shader.updateNSViewController(*controller, context); // no view yet: nothing
    EXPECT_FALSE(controller->metalKitView);
    controller->viewWillAppear();
    ASSERT_TRUE(controller->metalKitView);
    controller->metalKitView->setNeedsDisplay(false);
    EXPECT_FALSE(controller->metalKitView->needsDisplay());
    shader.updateNSViewController(*controller, context);
    EXPECT_TRUE(controller->metalKitView->needsDisplay());
}

TEST_F(ContentViewTest, TheBandHoldsTheWaveformShaderView) {
    std::function<std::shared_ptr<NSViewController>(const SwiftUI::Node&)> hosted =
        [&](const SwiftUI::Node& node) {
            if (auto c = SwiftUI::hostedController(node))
                return c;
            for (const auto& child : node.children)
                if (auto c = hosted(*child))
                    return c;
            return std::shared_ptr<NSViewController>();
        };
    auto controller =
        std::dynamic_pointer_cast<MetalShaderViewController>(hosted(*host->graph().find("band")));
    ASSERT_TRUE(controller);
    EXPECT_EQ(controller->rendererName, "Main");
    EXPECT_EQ(controller->fragmentShaderName, "audioWaveformFragmentShader");
    ASSERT_TRUE(controller->metalKitView); // the window is there: it has appeared
    EXPECT_EQ(controller->metalKitView->frame().size, (CGSize{400, 300}));
    // The window's drawing shows the waveform: the band is not flat.
    window->setBackingScaleFactor(2);
    CGImage shot = window->snapshot()->makeImage();
    int distinct = 0;
    auto last = shot.pixel(400, 300);
    for (size_t x = 0; x < 800; x += 8)
        for (size_t y = 100; y < 500; y += 20) {
            auto p = shot.pixel(x, y);
            distinct += !(p == last);
            last = p;
        }
    EXPECT_GT(distinct, 200);
}

} // namespace
