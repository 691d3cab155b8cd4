#include "Sparkle/SPUStandardUserDriver.h"
#include "Sparkle/SPUUpdater.h"
#include "Sparkle/SUAppcast.h"

#include <gtest/gtest.h>

#include <fstream>

#include "AppKit/NSWindow.h"
#include "Foundation/RunLoop.h"
#include "TestSupport/TestHTTPSServer.h"

namespace {

// What the user driver was told, in order.
struct Recorder : SPUUserDriver {
    std::vector<std::string> said;
    void showUserInitiatedUpdateCheck() override { said.push_back("checking"); }
    void showUpdateFound(const std::string& v) override {
        said.push_back("version " + v + " available");
    }
    void showUpdateNotFound() override { said.push_back("up to date"); }
    void showUpdaterError(const std::string&) override { said.push_back("could not check"); }
};

struct Feed : NSObject, SPUUpdaterDelegate {
    std::string url;
    std::optional<std::string> feedURLString(SPUUpdater&) override { return url; }
};

std::string appcast(std::vector<std::string> versions) {
    std::string items;
    for (const auto& v : versions)
        items += "<item><title>Emberfall " + v + "</title><sparkle:shortVersionString> " + v +
                 " </sparkle:shortVersionString></item>";
    return "<?xml version=\"1.0\"?><rss "
           "xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\" "
           "version=\"2.0\"><channel>" +
           items + "</channel></rss>";
}

class UpdaterTest : public ::testing::Test {
  protected:
    static inline TemporaryDirectory* files = nullptr;
    static inline TestHTTPSServer* server = nullptr;
    static void SetUpTestSuite() {
        files = new TemporaryDirectory("updater-feeds");
        std::ofstream(*files / "newer.xml") << appcast({"1.0.1", "1.2.0", "1.1"});
        std::ofstream(*files / "equal.xml") << appcast({"1.1.0", "0.9"});
        std::ofstream(*files / "older.xml") << appcast({"0.9.5"});
        std::ofstream(*files / "malformed.xml") << "<rss><channel><item><sparkle:shortVersion";
        std::ofstream(*files / "empty.xml") << appcast({});
        std::ofstream(*files / "huge.xml") << appcast({"9.0"}) << std::string(1200000, ' ');
        server = new TestHTTPSServer(files->path());
    }
    static void TearDownTestSuite() {
        delete server;
        delete files;
    }

    void SetUp() override {
        ASSERT_TRUE(server->running()) << server->error;
        std::filesystem::create_directories(bundle / "Contents");
        std::ofstream(bundle / "Contents/Info.plist")
            << "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>"
               "<key>CFBundleShortVersionString</key><string>1.1</string>"
               "<key>CFBundleExecutable</key><string>App</string></dict></plist>";
        std::filesystem::create_directories(bundle / "Contents/MacOS");
    }

    // Generous limits: a loaded machine under a sanitizer can take seconds for a
    // handshake; only the case that is meant to time out sets a short one.
    std::shared_ptr<SPUStandardUpdaterController> controller(const std::string& feedURL,
                                                             double timeout = 30) {
        feed->url = feedURL;
        auto c = make<SPUStandardUpdaterController>(false, feed, nullptr, recorder,
                                                    Bundle::atPath(bundle.path().string()));
        c->updater()->sessionConfiguration.additionalTrustedCertificatesFile =
            server->authorityFile();
        c->updater()->sessionConfiguration.timeoutInterval = timeout;
        c->startUpdater();
        return c;
    }
    bool settle() {
        return RunLoop::main().runUntil([&] { return recorder->said.size() >= 2; }, 90);
    }

    RunLoopTestScope loop;
    TemporaryDirectory bundle{"updater-host"};
    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
    std::shared_ptr<Feed> feed = make<Feed>();
};

TEST_F(UpdaterTest, ACheckReportsWhatTheFeedSaysAndEveryFailureAsCouldNotCheck) {
    struct Case {
        const char* what;
        std::string url;
        std::string outcome;
        double timeout = 30;
    };
    const Case cases[] = {
        {"newer", server->url("/files/newer.xml"), "version 1.2.0 available"},
        {"equal (1.1.0 is 1.1)", server->url("/files/equal.xml"), "up to date"},
        {"older", server->url("/files/older.xml"), "up to date"},
        {"malformed", server->url("/files/malformed.xml"), "could not check"},
        {"no items", server->url("/files/empty.xml"), "could not check"},
        {"404", server->url("/files/none.xml"), "could not check"},
        {"oversized", server->url("/files/huge.xml"), "could not check"},
        {"timeout", server->url("/slow"), "could not check", 1},
        {"plain-HTTP feed", server->url("/files/newer.xml", "http"), "could not check"},
        {"redirect to HTTP", server->url("/to-http"), "could not check"},
        {"not a feed address", "newer.xml", "could not check"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        recorder->said.clear();
        auto updater = controller(c.url, c.timeout);
        updater->checkForUpdates(nullptr);
        ASSERT_TRUE(settle());
        EXPECT_EQ(recorder->said, (std::vector<std::string>{"checking", c.outcome}));
    }
}

TEST_F(UpdaterTest, RequestsDuringACheckJoinItAndNothingStartsByItself) {
    auto updater = controller(server->url("/files/newer.xml"));
    RunLoop::main().run(0.2);
    EXPECT_TRUE(recorder->said.empty()); // started: automatic checks are off
    EXPECT_FALSE(updater->updater()->automaticallyChecksForUpdates());
    for (int i = 0; i < 50; ++i)
        updater->checkForUpdates(nullptr);
    ASSERT_TRUE(settle());
    RunLoop::main().run(0.2);
    EXPECT_EQ(recorder->said, (std::vector<std::string>{"checking", "version 1.2.0 available"}));
    EXPECT_EQ(updater->updater()->sessionsStarted(), 1u);

    // A session cancelled (the application quitting) reports nothing.
    recorder->said.clear();
    updater->checkForUpdates(nullptr);
    updater->updater()->cancel();
    RunLoop::main().runUntil([] { return false; }, 0.5);
    EXPECT_EQ(recorder->said, (std::vector<std::string>{"checking"}));

    // An updater that was never started cannot check.
    recorder->said.clear();
    auto unstarted = make<SPUStandardUpdaterController>(false, feed, nullptr, recorder,
                                                        Bundle::atPath(bundle.path().string()));
    unstarted->checkForUpdates(nullptr);
    EXPECT_EQ(recorder->said, (std::vector<std::string>{"checking", "could not check"}));
}

TEST(Appcast, VersionsCompareByTheirParts) {
    struct Case {
        const char* a;
        const char* b;
        int order;
    };
    const Case cases[] = {{"1.0", "1.0.0", 0},  {"1.10", "1.9", 1},      {"2", "1.9.9", 1},
                          {"1.0b1", "1.0", -1}, {"1.0b2", "1.0b10", -1}, {"01.2", "1.2", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
        EXPECT_EQ(SUAppcast::compareVersions(c.a, c.b), c.order);
        EXPECT_EQ(SUAppcast::compareVersions(c.b, c.a), -c.order);
    }
    auto parsed = SUAppcast::parse(dataFromString(appcast({"1.0", "1.3", "1.2"})));
    EXPECT_TRUE(parsed.wellFormed);
    EXPECT_EQ(parsed.items, 3u);
    EXPECT_EQ(SUAppcast::newest(parsed.versions), "1.3");
}

TEST(StandardUserDriver, ShowsOneDialogThatSaysWhatHappened) {
    SPUStandardUserDriver driver;
    driver.showUserInitiatedUpdateCheck();
    auto window = driver.window();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->title, "Software Update");
    EXPECT_EQ(driver.headline(), "Checking for updates…");
    driver.showUpdateFound("2.0");
    EXPECT_EQ(driver.window(), window);
    EXPECT_NE(driver.detail().find("Version 2.0"), std::string::npos);
    driver.showUpdaterError("The update server answered with status 404.");
    EXPECT_EQ(driver.headline(), "Update check failed");
    EXPECT_TRUE(window->isVisible());
}

} // namespace
