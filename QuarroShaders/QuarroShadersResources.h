#pragma once
// The shader package's resources: its bundle "QuarroShaders_QuarroShaders.bundle" (the
// shared resource-bundle lookup; a missing bundle ends the program with "unable to find
// bundle named QuarroShaders_QuarroShaders"), whose default library's manifest exports
// the package's shader functions and whose asset catalogue holds the about view's
// textures. Finding the bundle also registers the package's shader functions.
//
// The renderers' seeds come from the system's random source; tests replace it for the
// life of a RandomSourceScope.
// Thread: any (the bundle is found once, thread-safely).

#include <cstdint>
#include <functional>
#include <memory>

class Bundle;

namespace QuarroShaders {

const std::shared_ptr<Bundle>& bundle();

// Eight bytes from the random source (the system's unless a scope replaced it).
uint64_t randomBytes();

class RandomSourceScope {
  public:
    explicit RandomSourceScope(std::function<uint64_t()> source);
    ~RandomSourceScope();
    RandomSourceScope(const RandomSourceScope&) = delete;
    RandomSourceScope& operator=(const RandomSourceScope&) = delete;

  private:
    std::function<uint64_t()> previous;
};

} // namespace QuarroShaders
