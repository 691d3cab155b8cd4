#include "AppKit/URLSchemeChannel.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "Foundation/RunLoop.h"

namespace URLSchemeChannel {
namespace {

// Valid UTF-8 without control characters (C0, DEL and C1).
bool validText(std::string_view s) {
    static const uint32_t least[] = {0, 0x80, 0x800, 0x10000};
    for (size_t i = 0; i < s.size();) {
        auto c = static_cast<unsigned char>(s[i]);
        size_t extra;
        uint32_t code;
        if (c < 0x80) {
            if (c < 0x20 || c == 0x7F)
                return false;
            ++i;
            continue;
        }
        if ((c >> 5) == 0x6)
            extra = 1, code = c & 0x1Fu;
        else if ((c >> 4) == 0xE)
            extra = 2, code = c & 0x0Fu;
        else if ((c >> 3) == 0x1E)
            extra = 3, code = c & 0x07u;
        else
            return false;
        if (i + extra >= s.size())
            return false;
        for (size_t k = 1; k <= extra; ++k) {
            auto next = static_cast<unsigned char>(s[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = code << 6 | (next & 0x3Fu);
        }
        // Overlong forms, surrogates, values beyond Unicode and C1 controls are refused.
        if (code < least[extra] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF ||
            (code >= 0x80 && code <= 0x9F))
            return false;
        i += extra + 1;
    }
    return true;
}

using Clock = std::chrono::steady_clock;

std::string errorText(int error) {
    return std::strerror(error);
}

void fillAddress(const std::string& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
}

// Whether the process at the other end of a connected socket runs as this user.
bool peerIsThisUser(int fd) {
    ucred credentials{};
    socklen_t length = sizeof credentials;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0 &&
           credentials.uid == ::geteuid();
}

// Whether a listener holds the lock file (it takes it exclusively for its life).
bool listenerHoldsLock(const std::string& lockPath) {
    int fd = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd); // lets go of the shared lock, if it was taken
    return held;
}

class Descriptor {
  public:
    explicit Descriptor(int fd = -1) : fd(fd) {}
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd; }
    int release() { return std::exchange(fd, -1); }
    void reset(int other) {
        if (fd >= 0)
            ::close(fd);
        fd = other;
    }

  private:
    int fd;
};

int millisecondsUntil(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return int(std::max<long long>(0, left.count()));
}

} // namespace

std::optional<Paths> paths(const std::string& scheme, std::string* whyNot, bool create) {
    auto refuse = [&](std::string why) -> std::optional<Paths> {
        if (whyNot)
            *whyNot = std::move(why);
        return std::nullopt;
    };
    std::string folder;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime) {
        if (*runtime != '/')
            return refuse("XDG_RUNTIME_DIR (" + std::string(runtime) + ") is not an absolute path");
        folder = runtime;
    } else {
        // The shared temporary folder, which every user may write: a folder of our own
        // in it, which nobody else may enter.
        std::error_code error;
        std::string temporary = std::filesystem::temp_directory_path(error).string();
        if (error || temporary.empty())
            temporary = "/tmp";
        folder = temporary + "/" + scheme + "-url-scheme-" + std::to_string(::geteuid());
        if (create && ::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
            return refuse("cannot make " + folder + ": " + errorText(errno));
    }
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0)
        return refuse(folder + ": " + errorText(errno));
    if (!S_ISDIR(info.st_mode))
        return refuse(folder + " is not a folder");
    if (info.st_uid != ::geteuid())
        return refuse(folder + " belongs to another user");
    if ((info.st_mode & 077) != 0)
        return refuse(folder + " is open to other users");
    if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        return refuse(folder + " is not writable");
    Paths p{folder, folder + "/" + scheme + "-url-scheme.sock",
            folder + "/" + scheme + "-url-scheme.lock"};
    if (p.socket.size() >= sizeof(sockaddr_un::sun_path))
        return refuse("the socket's path is too long (" + std::to_string(p.socket.size()) +
                      " bytes): " + p.socket);
    return p;
}

std::optional<std::string> acceptableMessage(std::string_view raw) {
    if (!raw.empty() && raw.back() == '\n')
        raw.remove_suffix(1);
    if (raw.empty() || raw.size() > maximumMessageLength || !validText(raw))
        return std::nullopt;
    return std::string(raw);
}

bool send(const std::string& scheme, const std::string& url, std::string* whyNot) {
    auto fail = [&](std::string why) {
        if (whyNot)
            *whyNot = std::move(why);
        return false;
    };
    std::string why;
    auto p = paths(scheme, &why);
    if (!p)
        return fail(why);
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(sendTimeout));
    sockaddr_un address;
    fillAddress(p->socket, address);
    Descriptor connection;
    for (;;) {
        Descriptor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
        if (fd.get() < 0)
            return fail("no socket: " + errorText(errno));
        if (::connect(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
            connection.reset(fd.release());
            break;
        }
        const int error = errno;
        // A listener that holds the lock is there, starting or busy: it is tried again.
        if (!listenerHoldsLock(p->lock))
            return fail("nothing listens for " + scheme + " URLs (" + errorText(error) + ")");
        if (Clock::now() >= deadline)
            return fail("the running copy took no connection within " +
                        std::to_string(int(sendTimeout)) + " s");
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    const int fd = connection.get();
    if (!peerIsThisUser(fd))
        return fail("what listens at " + p->socket + " runs as another user");
    const std::string message = url + "\n";
    for (size_t written = 0; written < message.size();) {
        pollfd writable{fd, POLLOUT, 0};
        if (::poll(&writable, 1, millisecondsUntil(deadline)) <= 0)
            return fail("the running copy did not read the URL within " +
                        std::to_string(int(sendTimeout)) + " s");
        ssize_t n = ::send(fd, message.data() + written, message.size() - written, MSG_NOSIGNAL);
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (n <= 0)
            return fail("the running copy closed the connection: " + errorText(errno));
        written += size_t(n);
    }
    std::string answer;
    while (answer.find('\n') == std::string::npos && answer.size() < 16) {
        pollfd readable{fd, POLLIN, 0};
        if (::poll(&readable, 1, millisecondsUntil(deadline)) <= 0)
            return fail("the running copy did not answer within " +
                        std::to_string(int(sendTimeout)) + " s");
        char buffer[16];
        ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (n <= 0)
            break;
        answer.append(buffer, size_t(n));
    }
    if (answer != "ok\n")
        return fail("the running copy refused the URL");
    return true;
}

std::unique_ptr<Listener> Listener::start(const std::string& scheme,
                                          std::function<void(std::string)> received,
                                          Refusal* refusal) {
    auto refuse = [&](bool another, std::string why) -> std::unique_ptr<Listener> {
        if (refusal)
            *refusal = {another, std::move(why)};
        return nullptr;
    };
    std::string why;
    auto p = paths(scheme, &why, true);
    if (!p)
        return refuse(false, why);
    Descriptor lock(::open(p->lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (lock.get() < 0)
        return refuse(false, "cannot open " + p->lock + ": " + errorText(errno));
    if (::flock(lock.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK)
            return refuse(true, "another copy listens at " + p->socket);
        return refuse(false, "cannot lock " + p->lock + ": " + errorText(errno));
    }
    // The lock is ours: a socket still there was left by a listener that has gone.
    if (::unlink(p->socket.c_str()) != 0 && errno != ENOENT)
        return refuse(false, "cannot remove the old socket " + p->socket + ": " + errorText(errno));
    Descriptor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (fd.get() < 0)
        return refuse(false, "no socket: " + errorText(errno));
    sockaddr_un address;
    fillAddress(p->socket, address);
    // The folder admits nobody else, so the moment before chmod exposes nothing.
    if (::bind(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(p->socket.c_str(), 0600) != 0 || ::listen(fd.get(), SOMAXCONN) != 0) {
        const int error = errno;
        ::unlink(p->socket.c_str());
        return refuse(false, "cannot listen at " + p->socket + ": " + errorText(error));
    }
    return std::unique_ptr<Listener>(
        new Listener(fd.release(), lock.release(), p->socket, std::move(received)));
}

Listener::Listener(int fd, int lockFd, std::string path, std::function<void(std::string)> callback)
    : socket(fd), lock(lockFd), path_(std::move(path)),
      received(std::make_shared<std::function<void(std::string)>>(std::move(callback))) {
    if (::pipe2(stopPipe, O_CLOEXEC) != 0)
        stopPipe[0] = stopPipe[1] = -1;
    reader = std::thread([this] { serve(); });
}

Listener::~Listener() {
    if (stopPipe[1] >= 0) {
        char byte = 0;
        (void)!::write(stopPipe[1], &byte, 1);
    }
    reader.join();
    ::close(socket);
    for (int fd : stopPipe)
        if (fd >= 0)
            ::close(fd);
    // The socket goes before the lock: a listener that takes the lock next makes its own.
    ::unlink(path_.c_str());
    ::close(lock);
    // Messages already handed to the main run loop find the callback gone.
    *received = nullptr;
}

void Listener::serve() {
    struct Connection {
        int fd;
        Clock::time_point deadline;
        std::string message;
    };
    std::deque<Connection> open;
    std::vector<pollfd> waits;
    const auto allowed =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(messageDeadline));
    // Reads what the connection has; true once it is finished (the message complete,
    // too long, or the connection failed).
    auto read = [](Connection& c) {
        char buffer[512];
        for (;;) {
            ssize_t n = ::recv(c.fd, buffer, sizeof buffer, 0);
            if (n > 0) {
                c.message.append(buffer, size_t(n));
                if (c.message.size() > maximumMessageLength + 1 ||
                    c.message.find('\n') != std::string::npos)
                    return true;
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            return n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
        }
    };
    // One message, ended by its line feed: one cut short (the sender closed first) or
    // with more after its line feed is not the message the sender meant.
    auto take = [this](const Connection& c) {
        const size_t end = c.message.find('\n');
        if (end == std::string::npos || end + 1 != c.message.size())
            return;
        auto accepted = acceptableMessage(c.message);
        if (!accepted)
            return;
        auto callback = received;
        RunLoop::main().perform([callback, text = std::move(*accepted)] {
            if (*callback)
                (*callback)(text);
        });
        ::send(c.fd, "ok\n", 3, MSG_NOSIGNAL | MSG_DONTWAIT);
    };
    for (;;) {
        waits.assign({{socket, POLLIN, 0}, {stopPipe[0], POLLIN, 0}});
        int timeout = -1; // no connection: until one comes
        for (const Connection& c : open) {
            waits.push_back({c.fd, POLLIN, 0});
            const int left = millisecondsUntil(c.deadline) + 1;
            timeout = timeout < 0 ? left : std::min(timeout, left);
        }
        if (::poll(waits.data(), waits.size(), timeout) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (waits[1].revents)
            break;
        const auto now = Clock::now();
        // Newest first, so that erasing leaves the older ones' places in `waits` as they are.
        for (size_t i = open.size(); i-- > 0;) {
            Connection& c = open[i];
            const bool finished = waits[2 + i].revents && read(c);
            if (finished)
                take(c);
            if (finished || now >= c.deadline) {
                ::close(c.fd);
                open.erase(open.begin() + long(i));
            }
        }
        if (!(waits[0].revents & POLLIN))
            continue;
        for (int client;
             (client = ::accept4(socket, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0;) {
            // Only this user's programs may hand URLs over.
            if (!peerIsThisUser(client)) {
                ::close(client);
                continue;
            }
            open.push_back({client, now + allowed, {}});
            // The oldest has had the most time: it makes room.
            if (open.size() > maximumConnections) {
                ::close(open.front().fd);
                open.pop_front();
            }
        }
    }
    for (const Connection& c : open)
        ::close(c.fd);
}

} // namespace URLSchemeChannel
