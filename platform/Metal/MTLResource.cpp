#include "Metal/MTLResource.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "Metal/MTLHalf.h"

size_t MTLPixelFormatBytesPerPixel(MTLPixelFormat format) {
    switch (format) {
    case MTLPixelFormat::rgba8Unorm:
    case MTLPixelFormat::rgba8Unorm_srgb:
    case MTLPixelFormat::bgra8Unorm:
    case MTLPixelFormat::bgra8Unorm_srgb:
        return 4;
    case MTLPixelFormat::rgba16Float:
        return 8;
    case MTLPixelFormat::rgba32Float:
        return 16;
    case MTLPixelFormat::invalid:
        return 0;
    }
    return 0;
}

MTLBuffer::MTLBuffer(const void* bytes, size_t length, MTLResourceOptions options)
    : storage(length), options(options) {
    if (bytes)
        std::memcpy(storage.data(), bytes, length);
}

MTLTexture::MTLTexture(const MTLTextureDescriptor& d)
    : format(d.pixelFormat), w(d.width), h(d.height), usage_(d.usage),
      pixels(d.width * d.height * MTLPixelFormatBytesPerPixel(d.pixelFormat)) {
    refreshSamples();
}

void MTLTexture::replace(MTLRegion region, const void* bytes, size_t sourceBytesPerRow) {
    const size_t bpp = MTLPixelFormatBytesPerPixel(format);
    if (region.origin.x + region.size.width > w || region.origin.y + region.size.height > h)
        return;
    const auto* source = static_cast<const uint8_t*>(bytes);
    for (size_t row = 0; row < region.size.height; ++row)
        std::memcpy(pixels.data() + (region.origin.y + row) * bytesPerRow() + region.origin.x * bpp,
                    source + row * sourceBytesPerRow, region.size.width * bpp);
    refreshSamples();
}

void MTLTexture::getBytes(void* bytes, size_t targetBytesPerRow, MTLRegion region) const {
    const size_t bpp = MTLPixelFormatBytesPerPixel(format);
    if (region.origin.x + region.size.width > w || region.origin.y + region.size.height > h)
        return;
    auto* target = static_cast<uint8_t*>(bytes);
    for (size_t row = 0; row < region.size.height; ++row)
        std::memcpy(target + row * targetBytesPerRow,
                    pixels.data() + (region.origin.y + row) * bytesPerRow() + region.origin.x * bpp,
                    region.size.width * bpp);
}

namespace {
float srgbToLinear(float c) {
    return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
}
} // namespace

std::array<float, 4> MTLTexture::read(size_t x, size_t y) const {
    x = std::min(x, w - 1);
    y = std::min(y, h - 1);
    const uint8_t* p = pixels.data() + y * bytesPerRow() + x * MTLPixelFormatBytesPerPixel(format);
    switch (format) {
    case MTLPixelFormat::rgba16Float: {
        uint16_t half[4];
        std::memcpy(half, p, 8);
        return {MTLHalf::toFloat(half[0]), MTLHalf::toFloat(half[1]), MTLHalf::toFloat(half[2]),
                MTLHalf::toFloat(half[3])};
    }
    case MTLPixelFormat::rgba32Float: {
        std::array<float, 4> v;
        std::memcpy(v.data(), p, 16);
        return v;
    }
    case MTLPixelFormat::invalid:
        return {0, 0, 0, 0};
    default: {
        bool bgr =
            format == MTLPixelFormat::bgra8Unorm || format == MTLPixelFormat::bgra8Unorm_srgb;
        bool srgb =
            format == MTLPixelFormat::rgba8Unorm_srgb || format == MTLPixelFormat::bgra8Unorm_srgb;
        std::array<float, 4> v{p[bgr ? 2 : 0] / 255.0f, p[1] / 255.0f, p[bgr ? 0 : 2] / 255.0f,
                               p[3] / 255.0f};
        if (srgb)
            for (int c = 0; c < 3; ++c)
                v[c] = srgbToLinear(v[c]);
        return v;
    }
    }
}

void MTLTexture::refreshSamples() {
    if (!(usage_ & unsigned(MTLTextureUsage::shaderRead)) || w == 0 || h == 0) {
        samples.clear();
        return;
    }
    samples.resize(w * h * 4);
    for (size_t y = 0; y < h; ++y)
        for (size_t x = 0; x < w; ++x) {
            auto v = read(x, y);
            std::copy(v.begin(), v.end(), samples.begin() + (y * w + x) * 4);
        }
}

metal::float4x8 MTLTexture::sample(const MTLSamplerDescriptor& sampler, metal::float8 u,
                                   metal::float8 v) const {
    metal::float4x8 out;
    if (samples.empty())
        return out;
    const bool repeat = sampler.addressMode == MTLSamplerDescriptor::AddressMode::repeat;
    const long width = long(w), height = long(h);
    auto texel = [&](long x, long y) {
        if (repeat) {
            x = ((x % width) + width) % width;
            y = ((y % height) + height) % height;
        } else {
            x = std::clamp(x, 0L, width - 1);
            y = std::clamp(y, 0L, height - 1);
        }
        return &samples[size_t(y * width + x) * 4];
    };
    for (int lane = 0; lane < metal::simdWidth; ++lane) {
        // Texel centres lie at (i + 0.5) / size.
        float x = u[lane] * float(width) - 0.5f, y = v[lane] * float(height) - 0.5f;
        if (!std::isfinite(x) || !std::isfinite(y))
            continue;
        x = std::clamp(x, -1.0e6f, 1.0e6f);
        y = std::clamp(y, -1.0e6f, 1.0e6f);
        float c[4];
        if (sampler.filter == MTLSamplerDescriptor::Filter::nearest) {
            const float* t = texel(long(std::floor(x + 0.5f)), long(std::floor(y + 0.5f)));
            std::copy(t, t + 4, c);
        } else {
            float fx = std::floor(x), fy = std::floor(y);
            float ax = x - fx, ay = y - fy;
            long ix = long(fx), iy = long(fy);
            const float *t00 = texel(ix, iy), *t10 = texel(ix + 1, iy);
            const float *t01 = texel(ix, iy + 1), *t11 = texel(ix + 1, iy + 1);
            for (int k = 0; k < 4; ++k) {
                float top = t00[k] + (t10[k] - t00[k]) * ax;
                float bottom = t01[k] + (t11[k] - t01[k]) * ax;
                c[k] = top + (bottom - top) * ay;
            }
        }
        out.r[lane] = c[0];
        out.g[lane] = c[1];
        out.b[lane] = c[2];
        out.a[lane] = c[3];
    }
    return out;
}
