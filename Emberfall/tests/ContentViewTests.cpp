#include "ContentView.h"
#include "EmberfallApp.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "AppKit/NSWindow.h"
#include "AppKit/NSWorkspace.h"
#include "Foundation/Bundle.h"
#include "Foundation/RunLoop.h"
#include "Metal/Metal.h"
#include "SwiftUI/NSHostingView.h"
#include "TestSupport/TemporaryDirectory.h"

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
    EXPECT_EQ(frame("help").size.width, frame("website").size.width);
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
