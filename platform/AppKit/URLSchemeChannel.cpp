#include "AppKit/URLSchemeChannel.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

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

bool fillAddress(const std::string& path, sockaddr_un& address) {
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

int connectTo(const std::string& path) {
    sockaddr_un address;
    if (!fillAddress(path, address))
        return -1;
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

std::string socketPath(const std::string& scheme) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime == '/')
        return std::string(runtime) + "/" + scheme + "-url-scheme.sock";
    return "/tmp/" + scheme + "-url-scheme-" + std::to_string(::getuid()) + ".sock";
}

std::optional<std::string> acceptableMessage(std::string_view raw) {
    if (!raw.empty() && raw.back() == '\n')
        raw.remove_suffix(1);
    if (raw.empty() || raw.size() > maximumMessageLength || !validText(raw))
        return std::nullopt;
    return std::string(raw);
}

bool send(const std::string& scheme, const std::string& url) {
    int fd = connectTo(socketPath(scheme));
    if (fd < 0)
        return false;
    std::string message = url + "\n";
    size_t written = 0;
    while (written < message.size()) {
        ssize_t n = ::send(fd, message.data() + written, message.size() - written, MSG_NOSIGNAL);
        if (n <= 0)
            break;
        written += size_t(n);
    }
    ::close(fd);
    return written == message.size();
}

std::unique_ptr<Listener> Listener::start(const std::string& scheme,
                                          std::function<void(std::string)> received) {
    const std::string path = socketPath(scheme);
    sockaddr_un address;
    if (!fillAddress(path, address))
        return nullptr;
    // A listener that answers is alive: the socket is its. One that does not has gone
    // and left its socket behind.
    if (int live = connectTo(path); live >= 0) {
        ::close(live);
        return nullptr;
    }
    ::unlink(path.c_str());
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return nullptr;
    // Made 0600 from the start: no moment in which others may connect.
    mode_t previous = ::umask(0177);
    int bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::umask(previous);
    if (bound != 0 || ::chmod(path.c_str(), 0600) != 0 || ::listen(fd, 8) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<Listener>(new Listener(fd, path, std::move(received)));
}

Listener::Listener(int fd, std::string path, std::function<void(std::string)> callback)
    : socket(fd), path_(std::move(path)),
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
    ::unlink(path_.c_str());
    // Messages already handed to the main run loop find the callback gone.
    *received = nullptr;
}

void Listener::serve() {
    for (;;) {
        pollfd waits[2] = {{socket, POLLIN, 0}, {stopPipe[0], POLLIN, 0}};
        if (::poll(waits, stopPipe[0] >= 0 ? 2 : 1, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (waits[1].revents)
            return;
        int client = ::accept4(socket, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        // One message per connection, read for at most a second.
        std::string message;
        char buffer[512];
        for (;;) {
            pollfd readable{client, POLLIN, 0};
            if (::poll(&readable, 1, 1000) <= 0)
                break;
            ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            message.append(buffer, size_t(n));
            if (message.size() > maximumMessageLength + 1)
                break;
        }
        ::close(client);
        if (auto accepted = acceptableMessage(message)) {
            auto callback = received;
            RunLoop::main().perform([callback, text = std::move(*accepted)] {
                if (*callback)
                    (*callback)(text);
            });
        }
    }
}

} // namespace URLSchemeChannel
