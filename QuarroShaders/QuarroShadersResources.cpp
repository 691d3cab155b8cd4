#include "QuarroShadersResources.h"

#include <mutex>
#include <random>

#include "AppKit/ResourceBundle.h"
#include "Foundation/Bundle.h"
#include "Shaders/ShaderFunctions.h"

namespace QuarroShaders {

const std::shared_ptr<Bundle>& bundle() {
    static const std::shared_ptr<Bundle> found = [] {
        QuarroShaderCode::registerShaderFunctions();
        return findResourceBundle("QuarroShaders_QuarroShaders", (const void*)&bundle);
    }();
    return found;
}

namespace {
std::mutex sourceLock;
std::function<uint64_t()>& source() {
    static std::function<uint64_t()> s;
    return s;
}
} // namespace

uint64_t randomBytes() {
    {
        std::lock_guard guard(sourceLock);
        if (source())
            return source()();
    }
    std::random_device device; // the system's random source
    return uint64_t(device()) << 32 | device();
}

RandomSourceScope::RandomSourceScope(std::function<uint64_t()> replacement) {
    std::lock_guard guard(sourceLock);
    previous = std::exchange(source(), std::move(replacement));
}

RandomSourceScope::~RandomSourceScope() {
    std::lock_guard guard(sourceLock);
    source() = std::move(previous);
}

} // namespace QuarroShaders
