// PNG encoding at 16 bits per channel in a chosen colour space, with libpng.
#include "CoreGraphics/CGImage.h"

#include <png.h>

#include <array>
#include <cmath>

namespace {

// The sRGB transfer curve and its inverse (Display P3 uses the same curve).
double toLinear(double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
double fromLinear(double l) {
    return l <= 0.0031308 ? l * 12.92 : 1.055 * std::pow(l, 1 / 2.4) - 0.055;
}

// Linear sRGB → linear Display P3 (both D65): p = M s.
constexpr std::array<std::array<double, 3>, 3> srgbToP3{{{0.8224621, 0.1775380, 0.0000000},
                                                         {0.0331941, 0.9668058, 0.0000000},
                                                         {0.0170827, 0.0723974, 0.9105199}}};

struct Chromaticities {
    double wx, wy, rx, ry, gx, gy, bx, by;
};
Chromaticities chromaticities(CGColorSpace space) {
    if (space == CGColorSpace::displayP3)
        return {0.3127, 0.3290, 0.680, 0.320, 0.265, 0.690, 0.150, 0.060};
    return {0.3127, 0.3290, 0.640, 0.330, 0.300, 0.600, 0.150, 0.060};
}

} // namespace

std::vector<uint8_t> CGImage::pngData(CGColorSpace space, int bitsPerComponent) const {
    if (bitsPerComponent != 8 && bitsPerComponent != 16)
        return {};
    if (space != CGColorSpace::sRGB && space != CGColorSpace::displayP3)
        return {};
    size_t w = width(), h = height();
    if (w == 0 || h == 0)
        return {};
    const size_t bytesPerSample = size_t(bitsPerComponent) / 8;
    std::vector<uint8_t> pixels(w * h * 4 * bytesPerSample);
    for (size_t y = 0; y < h; ++y)
        for (size_t x = 0; x < w; ++x) {
            Pixel p = pixel(x, y);
            std::array<double, 4> out{p.r / 255.0, p.g / 255.0, p.b / 255.0, p.a / 255.0};
            if (space == CGColorSpace::displayP3) {
                std::array<double, 3> lin{toLinear(out[0]), toLinear(out[1]), toLinear(out[2])};
                for (int c = 0; c < 3; ++c)
                    out[size_t(c)] = fromLinear(srgbToP3[size_t(c)][0] * lin[0] +
                                                srgbToP3[size_t(c)][1] * lin[1] +
                                                srgbToP3[size_t(c)][2] * lin[2]);
            }
            uint8_t* dst = &pixels[(y * w + x) * 4 * bytesPerSample];
            for (size_t c = 0; c < 4; ++c) {
                double v = std::clamp(out[c], 0.0, 1.0);
                if (bytesPerSample == 2) {
                    auto s = uint16_t(std::lround(v * 65535));
                    dst[c * 2] = uint8_t(s >> 8); // PNG samples are big-endian
                    dst[c * 2 + 1] = uint8_t(s & 0xff);
                } else {
                    dst[c] = uint8_t(std::lround(v * 255));
                }
            }
        }

    std::vector<uint8_t> encoded;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(
        png, &encoded,
        [](png_structp p, png_bytep data, png_size_t length) {
            auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
            out->insert(out->end(), data, data + length);
        },
        nullptr);
    png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), bitsPerComponent,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    Chromaticities k = chromaticities(space);
    png_set_cHRM(png, info, k.wx, k.wy, k.rx, k.ry, k.gx, k.gy, k.bx, k.by);
    png_set_gAMA(png, info, 1 / 2.2);
    png_write_info(png, info);
    for (size_t y = 0; y < h; ++y)
        png_write_row(png, &pixels[y * w * 4 * bytesPerSample]);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return encoded;
}
