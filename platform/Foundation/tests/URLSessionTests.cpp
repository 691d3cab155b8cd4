#include "Foundation/URLSession.h"

#include "Runtime/Runtime.h"
#include "TestSupport/TestHTTPSServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

// The test server, made fresh for this test program.
class URLSessionTest : public ::testing::Test {
  protected:
    static inline TestHTTPSServer* server = nullptr;

    static void SetUpTestSuite() { server = new TestHTTPSServer(); }
    static void TearDownTestSuite() {
        delete server;
        server = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(server->running()) << server->error; }

    // Generous: a loaded machine under a sanitizer can take seconds for a handshake.
    // Only the case that is meant to time out sets a short limit of its own.
    static URLSessionConfiguration trusting(double timeout = 30) {
        URLSessionConfiguration config;
        config.additionalTrustedCertificatesFile = server->authorityFile();
        config.timeoutInterval = timeout;
        config.maximumBodySize = 100000;
        return config;
    }

    static URL at(const std::string& path, const char* scheme = "https") {
        return *URL::string(server->url(path, scheme));
    }
};

TEST_F(URLSessionTest, DownloadsAndReportsEachFailure) {
    using Code = URLError::Code;
    struct Case {
        URL url;
        std::optional<Code> error;
        int status;
        const char* body;
        double timeout = 30;
    };
    const Case cases[] = {
        {at("/ok"), std::nullopt, 200, "hello"},
        {at("/to-ok"), std::nullopt, 200, "hello"},
        {at("/nothing-here"), std::nullopt, 404, "missing"},
        {at("/big"), Code::dataLengthExceedsMaximum, 0, ""},
        {at("/stream"), Code::dataLengthExceedsMaximum, 0, ""},
        {at("/slow"), Code::timedOut, 0, "", 1}, // the server answers after 5 s
        {at("/ok", "http"), Code::insecureConnectionRefused, 0, ""},
        {at("/to-http"), Code::insecureConnectionRefused, 0, ""},
        {at("/loop"), Code::tooManyRedirects, 0, ""},
        {*URL::string("ftp://127.0.0.1/x"), Code::unsupportedURL, 0, ""},
        {URL::fileURL("/etc/hostname"), Code::unsupportedURL, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url.absoluteString());
        auto result = URLSession::withConfiguration(trusting(c.timeout))->data(c.url);
        if (c.error) {
            ASSERT_TRUE(result.error);
            EXPECT_EQ(result.error->code, *c.error) << result.error->message;
            EXPECT_FALSE(result.error->message.empty());
            EXPECT_TRUE(result.data.empty());
        } else {
            ASSERT_TRUE(result.ok()) << result.error->message;
            ASSERT_TRUE(result.response);
            EXPECT_EQ(result.response->statusCode, c.status);
            EXPECT_EQ(result.response->headers["x-test"], "yes");
            EXPECT_EQ(stringFromData(result.data), c.body);
        }
    }
    EXPECT_EQ(URLSession::withConfiguration(trusting())->data(at("/to-ok")).response->url.path(),
              "/ok");
}

TEST_F(URLSessionTest, AnUnknownAuthorityOrAClosedPortIsRefused) {
    URLSessionConfiguration untrusting = trusting();
    untrusting.additionalTrustedCertificatesFile.clear();
    auto result = URLSession::withConfiguration(untrusting)->data(at("/ok"));
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->code, URLError::Code::serverCertificateUntrusted);
    // The shared session knows only the system's authorities.
    EXPECT_EQ(URLSession::shared()->data(at("/ok")).error->code,
              URLError::Code::serverCertificateUntrusted);

    // A port nobody listens on: take a free one and close it again.
    int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    socklen_t length = sizeof address;
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    close(probe);
    auto closed =
        *URL::string("https://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/");
    EXPECT_EQ(URLSession::withConfiguration(trusting())->data(closed).error->code,
              URLError::Code::cannotConnectToHost);
}

TEST_F(URLSessionTest, DataTasksCompleteOnABackgroundThread) {
    auto session = URLSession::withConfiguration(trusting());
    std::mutex mutex;
    std::condition_variable done;
    std::vector<std::pair<std::string, bool>> results; // body or error, ran on main
    auto record = [&](URLSessionResult r) {
        std::lock_guard lock(mutex);
        results.emplace_back(r.ok() ? stringFromData(r.data) : "error", Runtime::isMainThread());
        done.notify_all();
    };
    auto ok = session->dataTask(at("/ok"), record);
    auto slow = session->dataTask(at("/slow"), record);
    {
        std::lock_guard lock(mutex);
        EXPECT_TRUE(results.empty()); // nothing starts before resume()
    }
    ok->resume();
    ok->resume();
    slow->resume();
    slow->cancel();
    std::unique_lock lock(mutex);
    ASSERT_TRUE(done.wait_for(lock, std::chrono::seconds(60), [&] { return results.size() == 2; }));
    std::sort(results.begin(), results.end());
    EXPECT_EQ(results[0], (std::pair<std::string, bool>{"error", false}));
    EXPECT_EQ(results[1], (std::pair<std::string, bool>{"hello", false}));
}

} // namespace
