#include "AppKit/NSWorkspace.h"

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
