#pragma once
// Stands in for MTLBuffer and MTLTexture: memory that the device's shaders read and
// its render passes write. This device has one kind of memory (shared, as on a machine
// whose GPU and CPU share it), so contents are plain bytes the CPU reads and writes.
// Textures are two-dimensional, one mipmap level, rows top first. Shaders sample them
// with normalised coordinates (sample); an sRGB format reads back linear values.
// Left out: private and managed storage, heaps, mipmaps, arrays, 3D and cube textures,
// compressed formats, purgeability.
// Thread: a resource may be read by the worker threads of a render pass while no one
// writes it; the CPU-side members belong to one thread at a time.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "Metal/MTLShaderMath.h"
#include "Metal/MTLTypes.h"
#include "Runtime/Runtime.h"

class MTLDevice;

class MTLBuffer : public NSObject {
  public:
    std::string label;
    size_t length() const { return storage.size(); }
    uint8_t* contents() { return storage.data(); }
    const uint8_t* contents() const { return storage.data(); }
    std::span<const uint8_t> bytes() const { return storage; }

  protected:
    MTLBuffer(const void* bytes, size_t length, MTLResourceOptions options);

  private:
    std::vector<uint8_t> storage;
    MTLResourceOptions options;
};

struct MTLTextureDescriptor {
    MTLPixelFormat pixelFormat = MTLPixelFormat::rgba8Unorm;
    size_t width = 1, height = 1;
    unsigned usage = unsigned(MTLTextureUsage::shaderRead);
    static MTLTextureDescriptor texture2D(MTLPixelFormat format, size_t width, size_t height) {
        return {format, width, height, unsigned(MTLTextureUsage::shaderRead)};
    }
};

struct MTLSamplerDescriptor {
    enum class Filter { nearest, linear };
    enum class AddressMode { clampToEdge, repeat };
    Filter filter = Filter::linear;
    AddressMode addressMode = AddressMode::clampToEdge;
};

class MTLTexture : public NSObject {
  public:
    std::string label;
    MTLPixelFormat pixelFormat() const { return format; }
    size_t width() const { return w; }
    size_t height() const { return h; }
    unsigned usage() const { return usage_; }
    size_t bytesPerRow() const { return w * MTLPixelFormatBytesPerPixel(format); }

    // Copies pixels in (rows of `bytesPerRow` bytes, in the texture's format) / out.
    // A region outside the texture does nothing.
    void replace(MTLRegion region, const void* bytes, size_t bytesPerRow);
    void getBytes(void* bytes, size_t bytesPerRow, MTLRegion region) const;
    // The whole storage, rows top first (for the platform code that shows a texture).
    std::span<const uint8_t> storage() const { return pixels; }
    std::span<uint8_t> mutableStorage() { return pixels; }

    // The colour at normalised coordinates (0, 0 the top-left corner of the image,
    // 1, 1 the bottom-right), red, green, blue, alpha as floats (sRGB formats decoded
    // to linear). For textures with shaderRead usage. Thread: any, while unchanged.
    metal::float4x8 sample(const MTLSamplerDescriptor& sampler, metal::float8 u,
                           metal::float8 v) const;
    // One texel as floats (x, y in pixels; clamped to the texture).
    std::array<float, 4> read(size_t x, size_t y) const;

  protected:
    MTLTexture(const MTLTextureDescriptor& descriptor);

  private:
    void refreshSamples();
    MTLPixelFormat format;
    size_t w, h;
    unsigned usage_;
    std::vector<uint8_t> pixels;
    std::vector<float> samples; // RGBA floats of every texel, for sampling
};
