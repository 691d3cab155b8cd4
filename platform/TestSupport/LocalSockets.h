// Test support: local (Unix-domain) sockets as the URL channel's tests need them — a
// connection that sends nothing until told, and a stalled listener: one that holds the
// channel's lock file and listens, but never takes a connection (a hung program).
// Thread: the test's.
#pragma once

#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace LocalSockets {

inline sockaddr_un address(const std::string& path) {
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::strncpy(a.sun_path, path.c_str(), sizeof a.sun_path - 1);
    return a;
}

// A non-blocking connection to `path` (-1 when no socket could be made); the caller
// closes it.
inline int connectTo(const std::string& path) {
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    sockaddr_un a = address(path);
    if (fd >= 0)
        (void)!::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    return fd;
}

class StalledListener {
  public:
    StalledListener(const std::string& socketPath, const std::string& lockPath) {
        lock = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un a = address(socketPath);
        ready = lock >= 0 && ::flock(lock, LOCK_EX) == 0 && socket >= 0 &&
                ::bind(socket, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
                ::listen(socket, 4) == 0;
    }
    ~StalledListener() {
        if (socket >= 0)
            ::close(socket);
        if (lock >= 0)
            ::close(lock);
    }
    StalledListener(const StalledListener&) = delete;
    StalledListener& operator=(const StalledListener&) = delete;
    bool ready = false;

  private:
    int lock = -1, socket = -1;
};

} // namespace LocalSockets
