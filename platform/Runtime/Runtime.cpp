#include "Runtime/Runtime.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {
// Captured while the process loads, on the thread that starts it.
std::atomic<std::thread::id> mainThreadId{std::this_thread::get_id()};
} // namespace

[[noreturn]] void fatalError(std::string_view message, std::string_view file, unsigned line) {
    std::fprintf(stderr, "%.*s:%u: ", static_cast<int>(file.size()), file.data(), line);
    fatalError(message);
}

[[noreturn]] void fatalError(std::string_view message) {
    std::fprintf(stderr, "Fatal error: %.*s\n", static_cast<int>(message.size()), message.data());
    std::fflush(stderr);
    std::abort();
}

namespace Runtime {

bool isMainThread() {
    return std::this_thread::get_id() == mainThreadId.load();
}

void registerCurrentThreadAsMain() {
    mainThreadId.store(std::this_thread::get_id());
}

void assertMainThread(std::string_view what) {
    if (!isMainThread())
        fatalError(std::string(what) + " must be used from the main thread only");
}

} // namespace Runtime

void NSObject::setAssociatedObject(const void* key, std::shared_ptr<void> value) {
    if (value)
        associated[key] = std::move(value);
    else
        associated.erase(key);
}

std::shared_ptr<void> NSObject::associatedObject(const void* key) const {
    auto it = associated.find(key);
    return it == associated.end() ? nullptr : it->second;
}

void unimplementedInitializer(std::string_view className, std::string_view initializer) {
    fatalError("Use of unimplemented initializer '" + std::string(initializer) + "' for class '" +
               std::string(className) + "'");
}
