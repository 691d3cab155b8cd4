#include "AudioToolbox/HostTime.h"

#include <chrono>

std::uint64_t AudioGetCurrentHostTime() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count());
}
