#include "Foundation/URLSession.h"

#include "Runtime/Runtime.h"

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

// Starts a program (no shell) with its standard output on `stdoutFd` (or
// nowhere) and returns its process id, or -1.
pid_t spawn(std::vector<std::string> args, int stdoutFd = -1, int closeFd = -1) {
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (stdoutFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, stdoutFd, 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    if (closeFd >= 0)
        posix_spawn_file_actions_addclose(&actions, closeFd);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Runs a program to its end and returns its exit status.
int runProgram(std::vector<std::string> args) {
    pid_t pid = spawn(std::move(args));
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) < 0)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A certificate authority, a server certificate for 127.0.0.1 signed by it, and
// the test server, all made fresh for this test program.
class URLSessionTest : public ::testing::Test {
  protected:
    static inline fs::path folder;
    static inline pid_t server = 0;
    static inline int port = 0;

    static void SetUpTestSuite() {
        folder = fs::temp_directory_path() / ("urlsession-test-" + std::to_string(getpid()));
        fs::create_directories(folder);
        auto at = [](const char* name) { return (folder / name).string(); };
        std::ofstream(at("ext.cnf")) << "subjectAltName=IP:127.0.0.1\nbasicConstraints=CA:FALSE\n"
                                        "extendedKeyUsage=serverAuth\n";
        const std::string ec = "ec", curve = "ec_paramgen_curve:prime256v1";
        ASSERT_EQ(runProgram({"openssl", "req", "-x509", "-newkey", ec, "-pkeyopt", curve, "-nodes",
                              "-keyout", at("ca.key"), "-out", at("ca.pem"), "-days", "2", "-subj",
                              "/CN=Test Authority"}),
                  0);
        ASSERT_EQ(
            runProgram({"openssl", "req", "-newkey", ec, "-pkeyopt", curve, "-nodes", "-keyout",
                        at("server.key"), "-out", at("server.csr"), "-subj", "/CN=127.0.0.1"}),
            0);
        ASSERT_EQ(runProgram({"openssl", "x509", "-req", "-in", at("server.csr"), "-CA",
                              at("ca.pem"), "-CAkey", at("ca.key"), "-CAcreateserial", "-out",
                              at("server.pem"), "-days", "2", "-extfile", at("ext.cnf")}),
                  0);

        int pipeFds[2];
        ASSERT_EQ(pipe(pipeFds), 0);
        server = spawn({"python3", HTTPS_SERVER_SCRIPT, at("server.pem"), at("server.key")},
                       pipeFds[1], pipeFds[0]);
        ASSERT_GT(server, 0);
        close(pipeFds[1]);
        FILE* out = fdopen(pipeFds[0], "r");
        ASSERT_TRUE(out);
        ASSERT_EQ(std::fscanf(out, "%d", &port), 1);
        std::fclose(out);
    }

    // A failure in the suite's set-up only skips its tests; each test fails instead.
    void SetUp() override { ASSERT_GT(port, 0) << "the test server did not start"; }

    static void TearDownTestSuite() {
        if (server > 0) {
            kill(server, SIGTERM);
            waitpid(server, nullptr, 0);
        }
        fs::remove_all(folder);
    }

    static URLSessionConfiguration trusting() {
        URLSessionConfiguration config;
        config.additionalTrustedCertificatesFile = (folder / "ca.pem").string();
        config.timeoutInterval = 1;
        config.maximumBodySize = 100000;
        return config;
    }

    static URL at(const std::string& path, const char* scheme = "https") {
        return *URL::string(std::string(scheme) + "://127.0.0.1:" + std::to_string(port) + path);
    }
};

TEST_F(URLSessionTest, DownloadsAndReportsEachFailure) {
    auto session = URLSession::withConfiguration(trusting());
    using Code = URLError::Code;
    struct Case {
        URL url;
        std::optional<Code> error;
        int status;
        const char* body;
    };
    const Case cases[] = {
        {at("/ok"), std::nullopt, 200, "hello"},
        {at("/to-ok"), std::nullopt, 200, "hello"},
        {at("/nothing-here"), std::nullopt, 404, "missing"},
        {at("/big"), Code::dataLengthExceedsMaximum, 0, ""},
        {at("/stream"), Code::dataLengthExceedsMaximum, 0, ""},
        {at("/slow"), Code::timedOut, 0, ""},
        {at("/ok", "http"), Code::insecureConnectionRefused, 0, ""},
        {at("/to-http"), Code::insecureConnectionRefused, 0, ""},
        {at("/loop"), Code::tooManyRedirects, 0, ""},
        {*URL::string("ftp://127.0.0.1/x"), Code::unsupportedURL, 0, ""},
        {URL::fileURL("/etc/hostname"), Code::unsupportedURL, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url.absoluteString());
        auto result = session->data(c.url);
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
    EXPECT_EQ(session->data(at("/to-ok")).response->url.path(), "/ok");
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
    ASSERT_TRUE(done.wait_for(lock, std::chrono::seconds(5), [&] { return results.size() == 2; }));
    std::sort(results.begin(), results.end());
    EXPECT_EQ(results[0], (std::pair<std::string, bool>{"error", false}));
    EXPECT_EQ(results[1], (std::pair<std::string, bool>{"hello", false}));
}

} // namespace
