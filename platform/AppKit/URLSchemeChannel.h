#pragma once
// How a URL of an application's own scheme reaches that application while it runs: the
// running application listens on a local socket named after the scheme, and whoever
// opens such a URL (NSWorkspace, or a second launch of the application) writes it
// there and waits for the listener's answer that it took it.
//
// Privacy: the socket lies in a folder only its user can enter — $XDG_RUNTIME_DIR when
// it is set, else "<scheme>-url-scheme-<uid>" in the temporary folder, made 0700 when
// missing — whose owner and mode are checked before each use (a folder of another user,
// or one that others may enter, is refused). Both ends check the other's credentials
// (SO_PEERCRED): a listener answers only its own user, a sender writes only to its own
// user's listener. The socket is made 0600.
// One listener per scheme: it holds a lock file beside the socket for its life, so a
// second one knows that a copy runs (even while that copy is still starting).
// Wire: the URL and a line feed, at most maximumMessageLength bytes (a message cut
// short before its line feed is dropped); the listener answers "ok" and a line feed
// when it took the message. A listener reads every
// connection at once, each against one deadline for its whole message
// (messageDeadline), so a slow client delays nobody else's; a sender gives up after
// sendTimeout. What arrives is untrusted: a message that is too long, not valid UTF-8,
// or holds a control character is refused; nothing arrives unless the listener's
// callback takes it.
// Thread: send from any thread; a listener reads on a thread of its own and hands each
// message to the main run loop.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace URLSchemeChannel {

inline constexpr size_t maximumMessageLength = 2048;
// Seconds a listener gives one connection for its whole message.
inline constexpr double messageDeadline = 2;
// Seconds a sender waits at most for the listener to take its URL.
inline constexpr double sendTimeout = 5;
// Connections a listener reads at once; a newer one closes the oldest.
inline constexpr size_t maximumConnections = 32;

struct Paths {
    std::string folder, socket, lock;
};
// The scheme's folder, socket and lock file; none (with the reason) when the folder is
// not private to this user, is missing (and not to be made, or cannot be), or the
// socket's path is too long. Only the temporary folder's own folder is ever made.
std::optional<Paths> paths(const std::string& scheme, std::string* whyNot = nullptr,
                           bool create = false);

// The message when it may be passed on: not empty, within the length, valid UTF-8, no
// control characters (a trailing line feed is taken off first).
std::optional<std::string> acceptableMessage(std::string_view raw);

// Writes the URL to the scheme's listener and waits for it to take it; false (with the
// reason) when nobody listens, the listener is another user's, refuses the URL, or has
// not taken it within sendTimeout.
bool send(const std::string& scheme, const std::string& url, std::string* whyNot = nullptr);

class Listener {
  public:
    // Why a listener could not start: another copy listens for the scheme, or the
    // socket cannot be made here (the reason says why).
    struct Refusal {
        bool anotherListens = false;
        std::string reason;
    };
    // Listens for the scheme; null (with the refusal) when another listener runs or
    // the socket cannot be made. A socket left by a listener that is gone is replaced.
    // `received` runs on the main run loop.
    static std::unique_ptr<Listener> start(const std::string& scheme,
                                           std::function<void(std::string)> received,
                                           Refusal* refusal = nullptr);
    // Stops reading, removes the socket and lets go of the lock.
    ~Listener();
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;
    const std::string& path() const { return path_; }

  private:
    Listener(int socket, int lock, std::string path, std::function<void(std::string)> received);
    void serve();
    int socket;
    int lock;
    int stopPipe[2] = {-1, -1};
    std::string path_;
    std::shared_ptr<std::function<void(std::string)>> received;
    std::thread reader;
};

} // namespace URLSchemeChannel
