#include "AppKit/NSWorkspace.h"

#include "AppKit/NSImage.h"
#include "AppKit/NSImageRep.h"

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

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

// Standard error written to a file for the scope, read back while it lasts.
class StandardErrorCapture {
  public:
    explicit StandardErrorCapture(const std::filesystem::path& file) : path(file) {
        std::fflush(stderr);
        saved = dup(STDERR_FILENO);
        int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        dup2(fd, STDERR_FILENO);
        close(fd);
    }
    ~StandardErrorCapture() {
        std::fflush(stderr);
        dup2(saved, STDERR_FILENO);
        close(saved);
    }
    std::string text() const {
        std::fflush(stderr);
        std::ifstream in(path);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
    // Waits (generously) until the text holds `part`.
    bool eventuallySays(const std::string& part) const {
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (text().find(part) == std::string::npos) {
            if (std::chrono::steady_clock::now() > until)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }

  private:
    std::filesystem::path path;
    int saved = -1;
};

TEST(Workspace, AnOpenerThatIsMissingOrFailsIsReportedOnStandardError) {
    TemporaryDirectory dir("workspace-opener");
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    auto workspace = NSWorkspace::shared();
    workspace->setLauncher(nullptr); // the real one
    const URL help = *URL::string("https://example.com/help/");
    struct Case {
        const char* what;
        const char* opener; // the script on PATH as xdg-open; none: no opener at all
        bool started;
        const char* says;
    };
    const Case cases[] = {
        {"no opener", nullptr, false,
         "Cannot open https://example.com/help/: the desktop's opener"},
        {"an opener that finds nothing to open with", "#!/bin/sh\nexit 3\n", true,
         "xdg-open https://example.com/help/ failed (exit status 3)"},
        {"an opener that works", "#!/bin/sh\nexit 0\n", true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::path bin = dir / c.what;
        std::filesystem::create_directories(bin);
        if (c.opener) {
            std::ofstream(bin / "xdg-open") << c.opener;
            chmod((bin / "xdg-open").c_str(), 0755);
        }
        setenv("PATH", bin.c_str(), 1);
        {
            StandardErrorCapture said(dir / "stderr.txt");
            EXPECT_EQ(workspace->open(help), c.started);
            if (*c.says) {
                EXPECT_TRUE(said.eventuallySays(c.says)) << said.text();
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                EXPECT_EQ(said.text(), "");
            }
        }
        setenv("PATH", path.c_str(), 1);
    }
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
