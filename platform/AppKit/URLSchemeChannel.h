#pragma once
// How a URL of an application's own scheme reaches that application while it runs: the
// running application listens on a local socket named after the scheme, and whoever
// opens such a URL (NSWorkspace, or a second launch of the application) writes it
// there. The socket lies in $XDG_RUNTIME_DIR (else the temporary folder, with the user's
// id in its name), is made 0600, and takes one URL per connection, at most
// maximumMessageLength bytes. What arrives is untrusted: a message that is too long, not
// valid UTF-8, or holds a control character is dropped; nothing arrives unless the
// listener's callback takes it.
// Thread: send from any thread; a listener reads on a thread of its own and hands each
// message to the main run loop.

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace URLSchemeChannel {

inline constexpr size_t maximumMessageLength = 2048;

std::string socketPath(const std::string& scheme);
// The message when it may be passed on: not empty, within the length, valid UTF-8, no
// control characters (a trailing line feed is taken off first).
std::optional<std::string> acceptableMessage(std::string_view raw);
// Writes the URL to the scheme's listener; false when nobody listens.
bool send(const std::string& scheme, const std::string& url);

class Listener {
  public:
    // Listens for the scheme; null when the socket cannot be made (another live
    // listener has it, or the folder refuses). A socket left by a listener that is
    // gone is replaced. `received` runs on the main run loop.
    static std::unique_ptr<Listener> start(const std::string& scheme,
                                           std::function<void(std::string)> received);
    // Stops reading and removes the socket.
    ~Listener();
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;
    const std::string& path() const { return path_; }

  private:
    Listener(int socket, std::string path, std::function<void(std::string)> received);
    void serve();
    int socket;
    int stopPipe[2] = {-1, -1};
    std::string path_;
    std::shared_ptr<std::function<void(std::string)>> received;
    std::thread reader;
};

} // namespace URLSchemeChannel
