// Writes the about view's textures into a catalogue folder (the argument):
//   wickett-logo.png, wickett-logo@2x.png   the mark (wickett-logo.svg) at 1x and 2x
//   wickett-noise.png, wickett-noise@2x.png tileable fractal value noise, 256 and 512
//                                           pixels square, grey, opaque
// The same program always writes the same pixels.

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "CoreGraphics/CGImage.h"
#include "Shaders/ShaderCommon.h"

using QuarroShaderCode::hash;

namespace {

// Value noise on a lattice of `cells` per side that wraps, so the image tiles.
double lattice(int x, int y, int cells, uint32_t octave) {
    x = ((x % cells) + cells) % cells;
    y = ((y % cells) + cells) % cells;
    return double(hash(uint32_t(x) * 73856093u ^ uint32_t(y) * 19349663u ^ octave * 83492791u) &
                  0xFFFF) /
           65535.0;
}

double smooth(double t) {
    return t * t * t * (t * (t * 6 - 15) + 10);
}

double valueNoise(double u, double v, int cells, uint32_t octave) {
    double x = u * cells, y = v * cells;
    int ix = int(std::floor(x)), iy = int(std::floor(y));
    double fx = smooth(x - ix), fy = smooth(y - iy);
    double a = lattice(ix, iy, cells, octave), b = lattice(ix + 1, iy, cells, octave);
    double c = lattice(ix, iy + 1, cells, octave), d = lattice(ix + 1, iy + 1, cells, octave);
    return (a + (b - a) * fx) * (1 - fy) + (c + (d - c) * fx) * fy;
}

bool writeNoise(const std::string& path, int size) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double u = (x + 0.5) / size, v = (y + 0.5) / size, sum = 0, weight = 0, amplitude = 1;
            for (int octave = 0; octave < 5; ++octave) {
                sum += amplitude * valueNoise(u, v, 4 << octave, uint32_t(octave));
                weight += amplitude;
                amplitude *= 0.5;
            }
            // Stretched around its middle so that the smoke has bright and dark parts.
            double n = std::clamp((sum / weight - 0.5) * 1.8 + 0.5, 0.0, 1.0);
            auto grey = uint32_t(std::lround(n * 255));
            reinterpret_cast<uint32_t*>(data + y * stride)[x] =
                0xFF000000u | grey << 16 | grey << 8 | grey;
        }
    cairo_surface_mark_dirty(surface);
    return CGImage(surface).writePNG(path);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quarro-textures ASSETS-FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    auto logo = CGSVGDocument::fromFile(QUARRO_LOGO_SVG);
    if (!logo) {
        std::fprintf(stderr, "cannot read %s\n", QUARRO_LOGO_SVG);
        return 1;
    }
    bool ok = logo->rasterize(1).writePNG(folder + "/wickett-logo.png") &&
              logo->rasterize(2).writePNG(folder + "/wickett-logo@2x.png") &&
              writeNoise(folder + "/wickett-noise.png", 256) &&
              writeNoise(folder + "/wickett-noise@2x.png", 512);
    if (!ok)
        std::fprintf(stderr, "cannot write the textures into %s\n", folder.c_str());
    return ok ? 0 : 1;
}
