// The program started as a person or the desktop starts it, without a screen: a copy
// that cannot hand its URL over, or finds nobody to take it, says so and does not end
// as if all went well; a copy that finds the running one hands its URL over, even while
// other clients crowd the channel.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <optional>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "AppKit/URLSchemeChannel.h"
#include "Foundation/RunLoop.h"
#include "TestSupport/LocalSockets.h"
#include "TestSupport/TemporaryDirectory.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
constexpr uid_t otherUser = 65534; // nobody

struct Ended {
    int status = -1;  // the exit status; -1 when it did not end by itself
    std::string said; // its standard error
};

// Runs the application with `arguments` and the environment changed by `changes` (a
// value of none removes the variable), with no screen to show a window on; as another
// user when `asOther` (root only). Killed after a minute.
Ended runApplication(std::vector<std::string> arguments,
                     std::map<std::string, std::optional<std::string>> changes,
                     bool asOther = false) {
    changes["DISPLAY"] = std::nullopt;
    changes["WAYLAND_DISPLAY"] = std::nullopt;
    changes["SDL_VIDEODRIVER"] = std::nullopt;
    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e) {
        std::string entry = *e;
        if (!changes.count(entry.substr(0, entry.find('='))))
            environment.push_back(entry);
    }
    for (const auto& [name, value] : changes)
        if (value)
            environment.push_back(name + "=" + *value);
    arguments.insert(arguments.begin(), EMBERFALL_APP);
    std::vector<char*> argv, envp;
    for (auto& a : arguments)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : environment)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    int err[2];
    if (pipe2(err, O_CLOEXEC) != 0)
        return {};
    pid_t pid = fork();
    if (pid == 0) {
        dup2(err[1], STDERR_FILENO);
        int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        if (asOther && (setresgid(otherUser, otherUser, otherUser) != 0 ||
                        setresuid(otherUser, otherUser, otherUser) != 0))
            _exit(126);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(err[1]);
    Ended ended;
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (;;) {
        pollfd readable{err[0], POLLIN, 0};
        if (poll(&readable, 1, 100) > 0) {
            char buffer[512];
            ssize_t n = read(err[0], buffer, sizeof buffer);
            if (n <= 0)
                break;
            ended.said.append(buffer, size_t(n));
        }
        if (std::chrono::steady_clock::now() > until) {
            kill(pid, SIGKILL);
            break;
        }
    }
    close(err[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status))
        ended.status = WEXITSTATUS(status);
    return ended;
}

// A private runtime folder (0700, the user's own) under a temporary one.
fs::path privateFolder(const fs::path& parent, const std::string& name) {
    fs::path folder = parent / name;
    fs::create_directories(folder);
    chmod(folder.c_str(), 0700);
    return folder;
}

TEST(EmberfallLaunch, ACopyThatCannotHandItsURLOverSaysSoAndDoesNotEndAsIfItHad) {
    TemporaryDirectory temporary("emberfall-launch");
    chmod(temporary.path().c_str(), 0755); // another user may reach the folders in it
    const bool root = geteuid() == 0;
    const std::string url = "emberfall://openAndUpdate";
    struct Case {
        const char* what;
        std::function<std::optional<std::string>()> runtimeFolder;
        const char* because;
        bool asOther = false; // a user for whom the folder is not writable
    };
    const Case cases[] = {
        {"XDG_RUNTIME_DIR names a folder that is missing",
         [&] { return (temporary / "missing").string(); }, "No such file"},
        {"XDG_RUNTIME_DIR is not writable",
         [&] {
             fs::path folder = privateFolder(temporary.path(), "readonly");
             chmod(folder.c_str(), 0500);
             if (root) // root writes anywhere: the folder is another user's, read-only to them
                 (void)!chown(folder.c_str(), otherUser, otherUser);
             return folder.string();
         },
         "not writable", root},
        {"the socket's path is too long",
         [&] { return privateFolder(temporary.path(), std::string(120, 'd')).string(); },
         "too long"},
        {"XDG_RUNTIME_DIR is open to other users",
         [&] {
             fs::path folder = privateFolder(temporary.path(), "open");
             chmod(folder.c_str(), 0755);
             return folder.string();
         },
         "open to other users"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Ended ended = runApplication({url}, {{"XDG_RUNTIME_DIR", c.runtimeFolder()}}, c.asOther);
        if (ended.status == 126 || ended.status == 127)
            GTEST_SKIP() << "cannot start the application as another user here";
        // It runs on its own, with the warning; with no screen here it then ends with
        // the message of that, and not with 0.
        EXPECT_NE(ended.status, 0) << ended.said;
        EXPECT_NE(ended.said.find("URLs cannot be handed over"), std::string::npos) << ended.said;
        EXPECT_NE(ended.said.find(c.because), std::string::npos) << ended.said;
        EXPECT_NE(ended.said.find("no display"), std::string::npos) << ended.said;
    }
}

class HandOver : public ::testing::Test {
  protected:
    std::unique_ptr<URLSchemeChannel::Listener> listen() {
        setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
        return URLSchemeChannel::Listener::start(
            "emberfall", [this](std::string t) { received.push_back(std::move(t)); });
    }
    void TearDown() override { unsetenv("XDG_RUNTIME_DIR"); }
    Ended secondCopy(std::vector<std::string> urls) {
        return runApplication(std::move(urls), {{"XDG_RUNTIME_DIR", runtime.path().string()}});
    }
    bool receivedEventually(size_t count) {
        return RunLoop::main().runUntil([&] { return received.size() >= count; }, 20);
    }
    RunLoopTestScope loop;
    TemporaryDirectory runtime{"emberfall-runtime"};
    std::vector<std::string> received;
};

TEST_F(HandOver, ACopyThatFindsNobodyTakingItsURLNamesItAndFails) {
    // A copy that holds the channel but never reads it (hung, say).
    setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    auto p = URLSchemeChannel::paths("emberfall", nullptr, true);
    ASSERT_TRUE(p);
    LocalSockets::StalledListener stalled(p->socket, p->lock);
    ASSERT_TRUE(stalled.ready);
    Ended ended = secondCopy({"emberfall://openAndUpdate"});
    EXPECT_EQ(ended.status, 5) << ended.said;
    EXPECT_NE(ended.said.find("did not take emberfall://openAndUpdate"), std::string::npos)
        << ended.said;
}

TEST_F(HandOver, ASecondCopyHandsItsURLOverPastASlowClientAndAFullQueue) {
    auto listener = listen();
    ASSERT_TRUE(listener);
    auto connectTo = [&] { return LocalSockets::connectTo(listener->path()); };
    // A client that sends a byte a second, and many that send nothing.
    std::atomic<bool> stop{false};
    std::thread dripper([&] {
        int fd = connectTo();
        for (int i = 0; i < 30 && !stop; ++i) {
            if (::send(fd, "e", 1, MSG_NOSIGNAL) < 0 && errno != EAGAIN)
                break;
            for (int k = 0; k < 10 && !stop; ++k)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        close(fd);
    });
    std::vector<int> idle;
    for (size_t i = 0; i < 4 * URLSchemeChannel::maximumConnections; ++i)
        idle.push_back(connectTo());
    Ended ended = secondCopy({"emberfall://openAndUpdate", "emberfall://openAndUpdate"});
    stop = true;
    dripper.join();
    for (int fd : idle)
        close(fd);
    EXPECT_EQ(ended.status, 0) << ended.said;
    EXPECT_EQ(ended.said, "");
    ASSERT_TRUE(receivedEventually(2));
    EXPECT_EQ(received,
              (std::vector<std::string>{"emberfall://openAndUpdate", "emberfall://openAndUpdate"}));
}

} // namespace
