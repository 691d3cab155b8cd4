#include "VirtualScreen.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

namespace VirtualScreen {

namespace {
// Forks and runs `argv`; the child dies with the test process and keeps quiet.
pid_t spawn(const std::vector<std::string>& argv, int keepFd = -1) {
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        for (int fd = 3; fd < 256; ++fd)
            if (fd != keepFd)
                close(fd);
        execvp(args[0], args.data());
        _exit(127);
    }
    return pid;
}

struct Server {
    pid_t pid = -1;
    std::string display;
    std::string failure;
    Server() {
        int fds[2];
        if (pipe(fds) != 0) {
            failure = "no pipe";
            return;
        }
        pid = spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x1024x24",
                     "-nolisten", "tcp", "-noreset"},
                    fds[1]);
        close(fds[1]);
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        while (number.find('\n') == std::string::npos &&
               std::chrono::steady_clock::now() < deadline) {
            if (poll(&p, 1, 100) > 0) {
                char buf[32];
                ssize_t n = read(fds[0], buf, sizeof buf);
                if (n <= 0)
                    break;
                number.append(buf, size_t(n));
            }
        }
        close(fds[0]);
        if (number.find('\n') == std::string::npos) {
            failure = "Xvfb did not start";
            return;
        }
        number.erase(number.find('\n'));
        display = ":" + number;
        setenv("DISPLAY", display.c_str(), 1);
        unsetenv("WAYLAND_DISPLAY");
        setenv("SDL_VIDEODRIVER", "x11", 1);
    }
    ~Server() {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
};
} // namespace

bool haveProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "");
    std::string dir;
    while (std::getline(dirs, dir, ':'))
        if (!dir.empty() && access((std::filesystem::path(dir) / name).c_str(), X_OK) == 0)
            return true;
    return false;
}

std::optional<std::string> start(std::string* whyNot) {
    if (!haveProgram("Xvfb")) {
        *whyNot = "Xvfb is not installed";
        return std::nullopt;
    }
    static Server server;
    if (server.display.empty()) {
        *whyNot = server.failure;
        return std::nullopt;
    }
    return server.display;
}

int run(const std::vector<std::string>& argv, double timeout) {
    pid_t pid = spawn(argv);
    if (pid < 0)
        return -1;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout);
    for (;;) {
        int status = 0;
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

std::optional<CGImage> capture() {
    auto path = std::filesystem::temp_directory_path() /
                ("display-test-" + std::to_string(getpid()) + ".png");
    if (run({"import", "-window", "root", "png:" + path.string()}) != 0)
        return std::nullopt;
    auto image = CGImage::fromPNGFile(path.string());
    std::filesystem::remove(path);
    return image;
}

std::optional<Cursor> cursor() {
    ::Display* x = XOpenDisplay(nullptr);
    if (!x)
        return std::nullopt;
    std::optional<Cursor> shown;
    if (XFixesCursorImage* image = XFixesGetCursorImage(x)) {
        shown = Cursor{image->width, image->height, image->xhot, image->yhot};
        XFree(image);
    }
    XCloseDisplay(x);
    return shown;
}

} // namespace VirtualScreen
