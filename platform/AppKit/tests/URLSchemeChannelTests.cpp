// The scheme's channel: what it lets through, where its socket may lie, whom it talks
// to, and that no client — slow, idle or many — keeps another's URL from arriving.
#include "AppKit/URLSchemeChannel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <linux/securebits.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "Foundation/RunLoop.h"
#include "TestSupport/LocalSockets.h"
#include "TestSupport/TemporaryDirectory.h"

namespace {

namespace fs = std::filesystem;
constexpr uid_t otherUser = 65534; // nobody

// Sets an environment variable for the scope (none: unset), and puts back what was.
class EnvironmentScope {
  public:
    EnvironmentScope(const char* name, std::optional<std::string> value) : name(name) {
        if (const char* old = std::getenv(name))
            previous = old;
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~EnvironmentScope() {
        if (previous)
            setenv(name, previous->c_str(), 1);
        else
            unsetenv(name);
    }

  private:
    const char* name;
    std::optional<std::string> previous;
};

// A listener for the test's scheme in a private runtime folder of its own.
class ChannelTest : public ::testing::Test {
  protected:
    static constexpr const char* scheme = "emberfalltest";
    std::unique_ptr<URLSchemeChannel::Listener> listen() {
        return URLSchemeChannel::Listener::start(
            scheme, [this](std::string t) { received.push_back(std::move(t)); });
    }
    // A connection to the listener's socket that sends nothing.
    int connectIdle() { return LocalSockets::connectTo(URLSchemeChannel::paths(scheme)->socket); }
    bool arrives(const std::string& url) {
        return RunLoop::main().runUntil(
            [&] { return std::find(received.begin(), received.end(), url) != received.end(); }, 20);
    }

    RunLoopTestScope loop;
    TemporaryDirectory runtime{"scheme-channel"};
    EnvironmentScope runtimeDir{"XDG_RUNTIME_DIR", runtime.path().string()};
    std::vector<std::string> received;
};

TEST(SchemeChannel, OnlyShortCleanTextReachesTheApplication) {
    struct Case {
        const char* what;
        std::string message;
        bool accepted;
    };
    const Case cases[] = {
        {"a URL", "emberfall://openAndUpdate", true},
        {"a URL with its line feed", "emberfall://openAndUpdate\n", true},
        {"UTF-8 text", "emberfall://ö", true},
        {"empty", "", false},
        {"too long", "emberfall://" + std::string(URLSchemeChannel::maximumMessageLength, 'a'),
         false},
        {"invalid UTF-8", "emberfall://\xC3", false},
        {"an overlong form", "emberfall://\xC0\xAF", false},
        {"a control character", std::string("emberfall://open\x01", 17), false},
        {"a line feed inside", "emberfall://a\nb", false},
        {"a C1 control", "emberfall://\xC2\x85", false},
        {"a NUL", std::string("emberfall://\0x", 14), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(URLSchemeChannel::acceptableMessage(c.message).has_value(), c.accepted);
    }
}

TEST_F(ChannelTest, AListenerTakesWhatIsSentAnswersItAndHandsItToTheMainThread) {
    auto listener = listen();
    ASSERT_TRUE(listener);
    URLSchemeChannel::Listener::Refusal refusal;
    EXPECT_FALSE(URLSchemeChannel::Listener::start(
        scheme, [](std::string) {}, &refusal));
    EXPECT_TRUE(refusal.anotherListens);
    struct stat info {};
    ASSERT_EQ(stat(listener->path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    std::string why;
    EXPECT_TRUE(URLSchemeChannel::send(scheme, "emberfall://openAndUpdate", &why)) << why;
    // What the listener refuses, the sender hears of.
    EXPECT_FALSE(URLSchemeChannel::send(scheme, std::string(5000, 'x'), &why));
    EXPECT_NE(why.find("refused"), std::string::npos) << why;
    EXPECT_FALSE(URLSchemeChannel::send(scheme, "emberfall://a\nb", &why));
    EXPECT_TRUE(URLSchemeChannel::send(scheme, "emberfall://two"));
    ASSERT_TRUE(arrives("emberfall://two"));
    RunLoop::main().runUntil([] { return false; }, 0.2);
    EXPECT_EQ(received, (std::vector<std::string>{"emberfall://openAndUpdate", "emberfall://two"}));
    listener.reset();
    EXPECT_FALSE(URLSchemeChannel::send(scheme, "emberfall://late", &why));
    EXPECT_NE(why.find("nothing listens"), std::string::npos) << why;
    // A socket left behind by a listener that is gone is replaced.
    EXPECT_TRUE(listen());
}

TEST_F(ChannelTest, TheSocketLiesOnlyInAFolderThatIsTheUsersOwn) {
    TemporaryDirectory temporary("scheme-temporary");
    EnvironmentScope tmp("TMPDIR", temporary.path().string());
    const fs::path fallback =
        temporary / (std::string(scheme) + "-url-scheme-" + std::to_string(geteuid()));
    const bool root = geteuid() == 0;
    struct Case {
        const char* what;
        std::function<std::optional<std::string>()> arrange; // XDG_RUNTIME_DIR
        const char* refusedBecause;                          // nullptr: it works
        bool needsRoot = false;
    };
    const Case cases[] = {
        {"the runtime folder", [&] { return runtime.path().string(); }, nullptr},
        {"no runtime folder: one of the user's own in the temporary folder",
         [] { return std::nullopt; }, nullptr},
        {"a runtime folder that is missing", [&] { return (runtime / "missing").string(); },
         "No such file"},
        {"a relative runtime folder", [] { return std::string("run/user"); }, "absolute"},
        {"a runtime folder others may enter",
         [&] {
             fs::create_directory(runtime / "open");
             chmod((runtime / "open").c_str(), 0755);
             return (runtime / "open").string();
         },
         "open to other users"},
        {"a runtime folder that is a file",
         [&] {
             std::ofstream(runtime / "file") << "x";
             return (runtime / "file").string();
         },
         "not a folder"},
        {"a socket path too long",
         [&] {
             fs::path deep = runtime / std::string(100, 'd');
             fs::create_directory(deep);
             chmod(deep.c_str(), 0700);
             return deep.string();
         },
         "too long"},
        {"a fallback folder laid out by someone else, open to all",
         [&] {
             fs::create_directory(fallback);
             chmod(fallback.c_str(), 0777);
             return std::nullopt;
         },
         "open to other users"},
        {"a fallback that is a link to another folder",
         [&] {
             fs::create_directory_symlink(runtime.path(), fallback);
             return std::nullopt;
         },
         "not a folder"},
        {"a runtime folder of another user",
         [&] {
             fs::create_directory(runtime / "theirs");
             chmod((runtime / "theirs").c_str(), 0700);
             (void)!chown((runtime / "theirs").c_str(), otherUser, otherUser);
             return (runtime / "theirs").string();
         },
         "belongs to another user", true},
        {"a fallback folder of another user",
         [&] {
             fs::create_directory(fallback);
             chmod(fallback.c_str(), 0700);
             (void)!chown(fallback.c_str(), otherUser, otherUser);
             return std::nullopt;
         },
         "belongs to another user", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.needsRoot && !root)
            continue; // only root can give a folder away
        std::error_code ignored;
        fs::remove_all(fallback, ignored);
        EnvironmentScope runtimeFolder("XDG_RUNTIME_DIR", c.arrange());
        URLSchemeChannel::Listener::Refusal refusal;
        auto listener = URLSchemeChannel::Listener::start(
            scheme, [this](std::string t) { received.push_back(std::move(t)); }, &refusal);
        std::string why;
        const bool sent = URLSchemeChannel::send(scheme, "emberfall://openAndUpdate", &why);
        if (!c.refusedBecause) {
            ASSERT_TRUE(listener) << refusal.reason;
            EXPECT_TRUE(sent) << why;
            struct stat folder {};
            ASSERT_EQ(stat(fs::path(listener->path()).parent_path().c_str(), &folder), 0);
            EXPECT_EQ(folder.st_mode & 077, 0u);
            continue;
        }
        EXPECT_FALSE(listener);
        EXPECT_FALSE(refusal.anotherListens);
        EXPECT_NE(refusal.reason.find(c.refusedBecause), std::string::npos) << refusal.reason;
        EXPECT_FALSE(sent);
        EXPECT_NE(why.find(c.refusedBecause), std::string::npos) << why;
    }
}

// A listener of another user at the socket's place (root only: a test can be another
// user only so). It holds the lock, as a copy would, and says how many bytes reached it.
TEST_F(ChannelTest, AListenerOfAnotherUserGetsNothing) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to listen as another user";
    auto p = URLSchemeChannel::paths(scheme, nullptr, true);
    ASSERT_TRUE(p);
    int report[2];
    ASSERT_EQ(pipe(report), 0);
    pid_t child = fork();
    if (child == 0) {
        int lock = open(p->lock.c_str(), O_RDWR | O_CREAT, 0600);
        flock(lock, LOCK_EX);
        int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address = LocalSockets::address(p->socket);
        bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        // The credentials a connection sees are the listener's when it listens.
        if (setresgid(otherUser, otherUser, otherUser) != 0 ||
            setresuid(otherUser, otherUser, otherUser) != 0 || ::listen(fd, 4) != 0)
            _exit(1);
        (void)!write(report[1], "L", 1);
        int client = accept(fd, nullptr, nullptr);
        char buffer[256];
        ssize_t total = 0, n;
        while ((n = read(client, buffer, sizeof buffer)) > 0)
            total += n;
        (void)!write(report[1], total ? "B" : "0", 1);
        _exit(0);
    }
    close(report[1]);
    char ready = 0;
    ASSERT_EQ(read(report[0], &ready, 1), 1);
    std::string why;
    EXPECT_FALSE(URLSchemeChannel::send(scheme, "emberfall://openAndUpdate", &why));
    EXPECT_NE(why.find("another user"), std::string::npos) << why;
    char got = 0;
    EXPECT_EQ(read(report[0], &got, 1), 1);
    EXPECT_EQ(got, '0') << "the URL reached the other user's listener";
    close(report[0]);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

// A program of another user that reaches the socket (root keeping its powers under
// another user's id, as only root can) is not answered and hands nothing over.
TEST_F(ChannelTest, AClientOfAnotherUserIsNotAnswered) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to connect as another user";
    auto listener = listen();
    ASSERT_TRUE(listener);
    pid_t child = fork();
    if (child == 0) {
        if (prctl(PR_SET_SECUREBITS, SECBIT_NO_SETUID_FIXUP) != 0 ||
            setresuid(otherUser, otherUser, otherUser) != 0)
            _exit(2);
        int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address = LocalSockets::address(listener->path());
        if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            _exit(3);
        (void)!write(fd, "emberfall://foreign\n", 20);
        char answer[8];
        _exit(read(fd, answer, sizeof answer) > 0 ? 4 : 0);
    }
    int status = -1;
    waitpid(child, &status, 0);
    // A child that could not take another user's id, or reach the socket so (a sanitizer's
    // runtime may stop it), proves nothing either way.
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 2 || WEXITSTATUS(status) == 3)
        GTEST_SKIP() << "cannot reach the socket as another user here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the listener answered another user";
    EXPECT_TRUE(URLSchemeChannel::send(scheme, "emberfall://ours"));
    ASSERT_TRUE(arrives("emberfall://ours"));
    EXPECT_EQ(received, (std::vector<std::string>{"emberfall://ours"}));
}

TEST_F(ChannelTest, ASlowClientAndAFloodOfIdleOnesDelayNobodysURL) {
    auto listener = listen();
    ASSERT_TRUE(listener);
    // A client that sends a byte a tenth of a second: the listener ends it once its
    // message's time is up.
    std::atomic<bool> dripperClosed{false};
    std::thread dripper([&] {
        int fd = connectIdle();
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < until) {
            if (::send(fd, "e", 1, MSG_NOSIGNAL) < 0 && errno != EAGAIN) {
                dripperClosed = true;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        ::close(fd);
    });
    std::string why;
    EXPECT_TRUE(URLSchemeChannel::send(scheme, "emberfall://beside-the-drip", &why)) << why;
    // Many more idle connections than the listener reads at once.
    std::vector<int> idle;
    for (size_t i = 0; i < 4 * URLSchemeChannel::maximumConnections; ++i)
        idle.push_back(connectIdle());
    EXPECT_TRUE(URLSchemeChannel::send(scheme, "emberfall://after-the-flood", &why)) << why;
    EXPECT_TRUE(arrives("emberfall://beside-the-drip"));
    EXPECT_TRUE(arrives("emberfall://after-the-flood"));
    dripper.join();
    EXPECT_TRUE(dripperClosed) << "a client that never finishes its message keeps its connection";
    for (int fd : idle)
        ::close(fd);
}

TEST_F(ChannelTest, ACopyThatDoesNotAnswerIsNotTakenForOneThatDid) {
    // A copy that holds the channel but never reads it (hung, say).
    auto p = URLSchemeChannel::paths(scheme, nullptr, true);
    ASSERT_TRUE(p);
    LocalSockets::StalledListener stalled(p->socket, p->lock);
    ASSERT_TRUE(stalled.ready);
    std::string why;
    EXPECT_FALSE(URLSchemeChannel::send(scheme, "emberfall://openAndUpdate", &why));
    EXPECT_NE(why.find("did not answer"), std::string::npos) << why;
    URLSchemeChannel::Listener::Refusal refusal;
    EXPECT_FALSE(URLSchemeChannel::Listener::start(
        scheme, [](std::string) {}, &refusal));
    EXPECT_TRUE(refusal.anotherListens);
}

} // namespace
