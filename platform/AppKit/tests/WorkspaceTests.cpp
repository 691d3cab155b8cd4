#include "AppKit/NSWorkspace.h"

#include "AppKit/NSImage.h"
#include "AppKit/NSImageRep.h"

#include <filesystem>
#include <fstream>

#include "TestSupport/TemporaryDirectory.h"

#include <gtest/gtest.h>

namespace {

TEST(Workspace, WebLinksGoToTheDesktopOpenerAsOneArgumentAndSchemesToTheirHandler) {
    auto workspace = NSWorkspace::shared();
    workspace->clearOpenedURLs();
    std::vector<std::vector<std::string>> launched;
    workspace->setLauncher([&](const std::vector<std::string>& argv) {
        launched.push_back(argv);
        return true;
    });
    std::vector<std::string> handed;
    workspace->registerURLSchemeHandler("testapp", [&](const URL& url) {
        handed.push_back(url.host());
        return true;
    });

    const std::string web = "https://example.com/plugins/?a=1&b=$(reboot);x";
    EXPECT_TRUE(workspace->open(*URL::string(web)));
    EXPECT_TRUE(workspace->open(*URL::string("testapp://open-update")));
    // A scheme nobody claims opens nothing.
    EXPECT_FALSE(workspace->open(*URL::string("unclaimed://x")));

    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0], (std::vector<std::string>{"xdg-open", web}));
    EXPECT_EQ(handed, (std::vector<std::string>{"open-update"}));
    EXPECT_EQ(workspace->openedURLs(),
              (std::vector<std::string>{web, "testapp://open-update", "unclaimed://x"}));

    // Removing the claim: the scheme opens nothing again.
    workspace->registerURLSchemeHandler("testapp", nullptr);
    EXPECT_FALSE(workspace->open(*URL::string("testapp://open-update")));
    workspace->setLauncher(nullptr);
    workspace->clearOpenedURLs();
}

} // namespace

namespace {

TEST(WorkspaceIcons, AFileShowsItsOwnIconOrTheGenericOneWithItsRenditions) {
    TemporaryDirectory dir("appkit-icons");
    auto file = (dir / "a.txt").string();
    std::ofstream(file) << "a";
    EXPECT_FALSE(effectiveIconResourceValues(URL::fileURL((dir / "gone.txt").string())));
    auto generic = effectiveIconResourceValues(URL::fileURL(file));
    ASSERT_TRUE(generic && generic->effectiveIcon);
    std::vector<CGFloat> widths;
    for (auto& rep : generic->effectiveIcon->representations())
        widths.push_back(rep->size.width);
    EXPECT_EQ(widths, (std::vector<CGFloat>{16, 32, 128}));
    EXPECT_EQ(generic->effectiveIcon->representations()[0]->pixelsWide, 32);

    auto custom = NSImage::empty();
    NSWorkspace::shared()->setIcon(custom, file);
    EXPECT_EQ(effectiveIconResourceValues(URL::fileURL(file))->effectiveIcon, custom);
    NSWorkspace::shared()->setIcon(nullptr, file);
    EXPECT_NE(effectiveIconResourceValues(URL::fileURL(file))->effectiveIcon, custom);
}

} // namespace
