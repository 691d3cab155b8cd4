#pragma once
// Host time: the monotonic clock that time stamps parameter writes and render
// cycles, in nanoseconds since an arbitrary start. Thread: any; real-time safe.

#include <cstdint>

std::uint64_t AudioGetCurrentHostTime();
