#include "MetalKit/MTKCompositor.h"

#include <algorithm>
#include <array>
#include <cairo.h>
#include <cmath>
#include <cstring>
#include <vector>

#include "Metal/MTLHalf.h"

namespace {

uint8_t encode(float linear) {
    float v = std::isnan(linear) ? 0 : std::clamp(linear, 0.0f, 1.0f);
    v = v <= 0.0031308f ? v * 12.92f : 1.055f * std::pow(v, 1 / 2.4f) - 0.055f;
    return uint8_t(std::lround(v * 255));
}

// Every half's sRGB-encoded byte and its alpha byte, made once.
struct HalfTables {
    std::array<uint8_t, 65536> encoded, alpha;
    HalfTables() {
        for (uint32_t h = 0; h < 65536; ++h) {
            float v = MTLHalf::toFloat(uint16_t(h));
            encoded[h] = encode(v);
            alpha[h] = uint8_t(std::lround((std::isnan(v) ? 0 : std::clamp(v, 0.0f, 1.0f)) * 255));
        }
    }
};
const HalfTables& halfTables() {
    static const HalfTables tables;
    return tables;
}

// Linear floats on 0...1 to encoded bytes, in steps fine enough for the darks.
struct LinearTable {
    static constexpr int steps = 16384;
    std::array<uint8_t, steps + 1> encoded;
    LinearTable() {
        for (int i = 0; i <= steps; ++i)
            encoded[size_t(i)] = encode(float(i) / steps);
    }
    uint8_t operator()(float v) const {
        v = std::isnan(v) ? 0 : std::clamp(v, 0.0f, 1.0f);
        return encoded[size_t(std::lround(v * steps))];
    }
};
const LinearTable& linearTable() {
    static const LinearTable table;
    return table;
}

// Linear Display P3 to linear sRGB.
constexpr float p3ToSRGB[3][3] = {{1.2249401f, -0.2249404f, 0.0f},
                                  {-0.0420569f, 1.0420571f, 0.0f},
                                  {-0.0196376f, -0.0786361f, 1.0982735f}};

uint32_t premultiplied(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    if (a != 255) {
        r = uint8_t((r * a + 127) / 255);
        g = uint8_t((g * a + 127) / 255);
        b = uint8_t((b * a + 127) / 255);
    }
    return uint32_t(a) << 24 | uint32_t(r) << 16 | uint32_t(g) << 8 | b;
}

} // namespace

namespace MTKCompositor {

CGImage image(const MTLTexture& texture, std::optional<CGColorSpace> colorspace) {
    const int w = int(texture.width()), h = int(texture.height());
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_surface_flush(surface);
    unsigned char* out = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const bool p3 = colorspace == CGColorSpace::extendedLinearDisplayP3;
    const MTLPixelFormat format = texture.pixelFormat();
    const uint8_t* in = texture.storage().data();
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(out + size_t(y) * size_t(stride));
        const uint8_t* source = in + size_t(y) * texture.bytesPerRow();
        if (format == MTLPixelFormat::rgba16Float && !p3) {
            const HalfTables& t = halfTables();
            const auto* half = reinterpret_cast<const uint16_t*>(source);
            for (int x = 0; x < w; ++x, half += 4)
                row[x] = premultiplied(t.encoded[half[0]], t.encoded[half[1]], t.encoded[half[2]],
                                       t.alpha[half[3]]);
        } else if (format == MTLPixelFormat::rgba16Float || format == MTLPixelFormat::rgba32Float) {
            const LinearTable& encoded = linearTable();
            for (int x = 0; x < w; ++x) {
                auto c = texture.read(size_t(x), size_t(y));
                if (p3) {
                    std::array<float, 3> l{c[0], c[1], c[2]};
                    for (int k = 0; k < 3; ++k)
                        c[size_t(k)] =
                            p3ToSRGB[k][0] * l[0] + p3ToSRGB[k][1] * l[1] + p3ToSRGB[k][2] * l[2];
                }
                row[x] = premultiplied(encoded(c[0]), encoded(c[1]), encoded(c[2]),
                                       uint8_t(std::lround(std::clamp(c[3], 0.0f, 1.0f) * 255)));
            }
        } else {
            const bool bgr =
                format == MTLPixelFormat::bgra8Unorm || format == MTLPixelFormat::bgra8Unorm_srgb;
            for (int x = 0; x < w; ++x) {
                const uint8_t* p = source + x * 4;
                row[x] = premultiplied(p[bgr ? 2 : 0], p[1], p[bgr ? 0 : 2], p[3]);
            }
        }
    }
    cairo_surface_mark_dirty(surface);
    return CGImage(surface);
}

} // namespace MTKCompositor
