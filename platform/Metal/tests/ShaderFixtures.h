#pragma once
// Shader functions for the Metal tests: a quad from vertex buffer 0 (float2 positions,
// optional float per vertex in buffer 1 as its one value), a fragment that counts how
// often each pixel is shaded, and one that paints a pattern of position and values.

#include <atomic>
#include <memory>
#include <vector>

#include "Metal/Metal.h"

namespace MetalTestShaders {

// Registers the functions below (once) and returns a library exporting them.
void registerAll();

// The pixels shaded by "countingFragment", row-major over `width`.
struct Coverage {
    int width = 0, height = 0;
    std::unique_ptr<std::atomic<int>[]> counts;
    void reset(int w, int h);
    int at(int x, int y) const { return counts[size_t(y * width + x)].load(); }
};
Coverage& coverage();

} // namespace MetalTestShaders
