#pragma once
// The small value types of the Metal stand-in: pixel formats (with the platform's raw
// values), viewports, sizes and regions, clear colours, primitive types, resource
// options and the errors that library, pipeline and texture creation throw.
// Plain values: any thread.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

enum class MTLPixelFormat : unsigned {
    invalid = 0,
    rgba8Unorm = 70,
    rgba8Unorm_srgb = 71,
    bgra8Unorm = 80,
    bgra8Unorm_srgb = 81,
    rgba16Float = 115,
    rgba32Float = 125,
};
// Bytes of one pixel of a format (0 for invalid).
size_t MTLPixelFormatBytesPerPixel(MTLPixelFormat format);

enum class MTLPrimitiveType { point, line, lineStrip, triangle, triangleStrip };

// The place of the drawing in the attachment, in pixels from its top-left corner
// (y down), and the depth range.
struct MTLViewport {
    double originX = 0, originY = 0, width = 0, height = 0, znear = 0, zfar = 1;
    friend bool operator==(const MTLViewport&, const MTLViewport&) = default;
};

struct MTLSize {
    size_t width = 0, height = 0, depth = 1;
    friend bool operator==(const MTLSize&, const MTLSize&) = default;
};
struct MTLOrigin {
    size_t x = 0, y = 0, z = 0;
};
struct MTLRegion {
    MTLOrigin origin;
    MTLSize size;
    static MTLRegion make2D(size_t x, size_t y, size_t width, size_t height) {
        return {{x, y, 0}, {width, height, 1}};
    }
};

struct MTLClearColor {
    double red = 0, green = 0, blue = 0, alpha = 1;
    friend bool operator==(const MTLClearColor&, const MTLClearColor&) = default;
};
enum class MTLLoadAction { dontCare, load, clear };
enum class MTLStoreAction { dontCare, store };

// Resource options: 0 is shared storage with the default cache mode, the only kind
// of memory this device has; other values are kept and change nothing.
using MTLResourceOptions = uint64_t;

enum class MTLTextureUsage : unsigned {
    unknown = 0,
    shaderRead = 1,
    shaderWrite = 2,
    renderTarget = 4
};

// What failed when a library, a pipeline state or a texture could not be made.
// Thrown by the creating calls (the platform's NSError outlets).
class MTLError : public std::runtime_error {
  public:
    enum class Domain { library, pipeline, textureLoader };
    MTLError(Domain domain, int code, const std::string& description)
        : std::runtime_error(description), domain(domain), code(code) {}
    const Domain domain;
    const int code;
    std::string localizedDescription() const { return what(); }
};
