#include "MTLRasterizer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "MTLWorkerPool.h"
#include "Metal/MTLHalf.h"

namespace MTLRaster {
namespace {

using metal::float8;

// Window positions in fixed point with 8 bits of sub-pixel precision.
constexpr int64_t subpixel = 256;
constexpr int64_t half = subpixel / 2;
// Vertices farther out than this (in pixels) are not drawn: there is no clipping.
constexpr double guardBand = double(1 << 20);

int64_t floorDiv(int64_t a, int64_t b) { // b > 0
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}
int64_t ceilDiv(int64_t a, int64_t b) { // b > 0
    return -floorDiv(-a, b);
}

struct Vertex {
    int64_t x, y;  // fixed point
    double wx, wy; // window position
    float varyings[MTLMaxVaryings];
    bool valid;
};

Vertex toWindow(const MTLVertexOutput& out, const MTLViewport& vp) {
    Vertex v{};
    float w = out.position[3];
    v.valid = w > 0 && std::isfinite(w);
    if (!v.valid)
        return v;
    double nx = out.position[0] / w, ny = out.position[1] / w;
    v.wx = vp.originX + (nx + 1) * 0.5 * vp.width;
    v.wy = vp.originY + (1 - ny) * 0.5 * vp.height;
    v.valid = std::isfinite(v.wx) && std::isfinite(v.wy) && std::abs(v.wx) < guardBand &&
              std::abs(v.wy) < guardBand;
    v.x = std::llround(v.wx * subpixel);
    v.y = std::llround(v.wy * subpixel);
    std::copy(out.varyings, out.varyings + MTLMaxVaryings, v.varyings);
    return v;
}

// The pixels a draw may touch: the viewport within the attachment.
struct Clip {
    int x0, y0, x1, y1; // [x0, x1) × [y0, y1)
};

Clip clipOf(const MTLTexture& target, const MTLViewport& vp) {
    Clip c;
    c.x0 = int(std::clamp(std::floor(vp.originX), 0.0, double(target.width())));
    c.y0 = int(std::clamp(std::floor(vp.originY), 0.0, double(target.height())));
    c.x1 = int(std::clamp(std::ceil(vp.originX + vp.width), 0.0, double(target.width())));
    c.y1 = int(std::clamp(std::ceil(vp.originY + vp.height), 0.0, double(target.height())));
    return c;
}

// A triangle with its edge functions. Edge i runs opposite vertex i; its function
// E(p) = dx·(p.y − a.y) − dy·(p.x − a.x) is positive inside (the vertices are put in
// that order). A pixel centre on an edge belongs to the triangle only on a top edge
// (horizontal, interior below) or a left edge (interior to its right): bias −1 on the
// others turns "≥ 0" into "> 0" in integers.
struct Triangle {
    const Vertex* v[3];
    int64_t area;
    struct Edge {
        int64_t dx, dy, ax, ay, bias;
        int64_t at(int64_t px, int64_t py) const { return dx * (py - ay) - dy * (px - ax); }
    } edge[3];
    int64_t minY, maxY;

    bool set(const Vertex& a, const Vertex& b, const Vertex& c) {
        v[0] = &a, v[1] = &b, v[2] = &c;
        auto e = [](const Vertex& p, const Vertex& q) {
            Edge r{q.x - p.x, q.y - p.y, p.x, p.y, 0};
            bool topLeft = (r.dy == 0 && r.dx > 0) || r.dy < 0;
            r.bias = topLeft ? 0 : -1;
            return r;
        };
        area = e(a, b).at(c.x, c.y);
        if (area == 0)
            return false;
        if (area < 0) {
            std::swap(v[1], v[2]);
            area = -area;
        }
        edge[0] = e(*v[1], *v[2]);
        edge[1] = e(*v[2], *v[0]);
        edge[2] = e(*v[0], *v[1]);
        minY = std::min({a.y, b.y, c.y});
        maxY = std::max({a.y, b.y, c.y});
        return true;
    }

    // The covered pixel columns [first, last] of row `y` (empty when first > last).
    void span(int64_t y, int64_t& first, int64_t& last) const {
        const int64_t py = y * subpixel + half;
        int64_t lo = INT64_MIN / 4, hi = INT64_MAX / 4; // in fixed point x
        for (const Edge& e : edge) {
            // E(px) = k·px + c; inside when k·px + c + bias ≥ 0.
            int64_t k = -e.dy, c = e.dx * (py - e.ay) + e.dy * e.ax + e.bias;
            if (k > 0)
                lo = std::max(lo, ceilDiv(-c, k));
            else if (k < 0)
                hi = std::min(hi, floorDiv(c, -k));
            else if (c < 0)
                lo = INT64_MAX / 4;
        }
        first = ceilDiv(lo - half, subpixel);
        last = floorDiv(hi - half, subpixel);
    }
};

void shadeTriangleSpan(MTLTexture& target, const Triangle& t, int y, int x0, int x1,
                       const DrawCall& call) {
    MTLFragmentGroup group;
    const int64_t py = int64_t(y) * subpixel + half;
    const double invArea = 1.0 / double(t.area);
    for (int x = x0; x < x1; x += metal::simdWidth) {
        group.count = std::min(metal::simdWidth, x1 - x);
        for (int lane = 0; lane < metal::simdWidth; ++lane) {
            int px = x + std::min(lane, group.count - 1);
            int64_t pxf = int64_t(px) * subpixel + half;
            double w0 = double(t.edge[0].at(pxf, py)) * invArea;
            double w1 = double(t.edge[1].at(pxf, py)) * invArea;
            double w2 = 1 - w0 - w1;
            group.x[lane] = float(px) + 0.5f;
            group.y[lane] = float(y) + 0.5f;
            for (int k = 0; k < MTLMaxVaryings; ++k)
                group.varyings[k][lane] = float(
                    w0 * t.v[0]->varyings[k] + w1 * t.v[1]->varyings[k] + w2 * t.v[2]->varyings[k]);
        }
        writeColors(target, x, y, group.count, call.fragment(group, *call.fragmentArguments));
    }
}

// The full-view quad's shape: a strip of four vertices whose window positions are the
// corners of an axis-aligned rectangle, v1–v2 its diagonal, and whose values vary
// affinely (v3 = v1 + v2 − v0), so the two triangles fill it exactly as one
// rectangle: pixel centres with x0 ≤ x < x1 and y0 ≤ y < y1.
struct Rectangle {
    int64_t x0, y0, x1, y1;  // fixed point
    double originX, originY; // window position of v0
    double gx[MTLMaxVaryings], gy[MTLMaxVaryings], base[MTLMaxVaryings];
};

bool asRectangle(const Vertex (&v)[4], Rectangle& r) {
    for (const Vertex& p : v)
        if (!p.valid)
            return false;
    bool columns = v[0].x == v[1].x && v[2].x == v[3].x && v[0].y == v[2].y && v[1].y == v[3].y;
    bool rows = v[0].y == v[1].y && v[2].y == v[3].y && v[0].x == v[2].x && v[1].x == v[3].x;
    if (!columns && !rows)
        return false;
    r.x0 = std::min(v[0].x, v[3].x), r.x1 = std::max(v[0].x, v[3].x);
    r.y0 = std::min(v[0].y, v[3].y), r.y1 = std::max(v[0].y, v[3].y);
    if (r.x0 == r.x1 || r.y0 == r.y1)
        return false;
    // Along x: from v0 to the vertex that differs from it in x only; along y likewise.
    const Vertex& alongX = columns ? v[2] : v[1];
    const Vertex& alongY = columns ? v[1] : v[2];
    double dx = alongX.wx - v[0].wx, dy = alongY.wy - v[0].wy;
    for (int k = 0; k < MTLMaxVaryings; ++k) {
        double predicted = double(v[1].varyings[k]) + v[2].varyings[k] - v[0].varyings[k];
        if (std::abs(predicted - v[3].varyings[k]) > 1e-5 * (1 + std::abs(predicted)))
            return false;
        r.gx[k] = (alongX.varyings[k] - v[0].varyings[k]) / dx;
        r.gy[k] = (alongY.varyings[k] - v[0].varyings[k]) / dy;
        r.base[k] = v[0].varyings[k];
    }
    r.originX = v[0].wx, r.originY = v[0].wy;
    return true;
}

void shadeRectangleRow(MTLTexture& target, const Rectangle& r, int y, int x0, int x1,
                       const DrawCall& call) {
    MTLFragmentGroup group;
    const float8 lanes = metal::laneIndex();
    const double cy = y + 0.5 - r.originY;
    group.y = metal::splat(float(y) + 0.5f);
    for (int x = x0; x < x1; x += metal::simdWidth) {
        group.count = std::min(metal::simdWidth, x1 - x);
        const float8 columns = metal::min(lanes, metal::splat(float(group.count - 1)));
        group.x = float(x) + 0.5f + columns;
        const double cx = x + 0.5 - r.originX;
        for (int k = 0; k < MTLMaxVaryings; ++k)
            group.varyings[k] =
                float(r.base[k] + r.gx[k] * cx + r.gy[k] * cy) + float(r.gx[k]) * columns;
        writeColors(target, x, y, group.count, call.fragment(group, *call.fragmentArguments));
    }
}

// Rows [0, rows) in chunks, so that threads share the work evenly.
template <class Rows> void forRows(MTLWorkerPool& pool, int y0, int y1, Rows&& rows) {
    if (y1 <= y0)
        return;
    const int count = y1 - y0;
    const int chunk = std::max(1, count / int(pool.threadCount() * 8));
    const size_t jobs = size_t((count + chunk - 1) / chunk);
    pool.run(jobs, [&](size_t job) {
        int from = y0 + int(job) * chunk;
        rows(from, std::min(y1, from + chunk));
    });
}

} // namespace

void writeColors(MTLTexture& target, int x, int y, int count, const metal::float4x8& c) {
    const size_t bpp = MTLPixelFormatBytesPerPixel(target.pixelFormat());
    uint8_t* row =
        target.mutableStorage().data() + size_t(y) * target.bytesPerRow() + size_t(x) * bpp;
    float rgba[metal::simdWidth * 4];
    for (int i = 0; i < count; ++i) {
        rgba[i * 4 + 0] = c.r[i];
        rgba[i * 4 + 1] = c.g[i];
        rgba[i * 4 + 2] = c.b[i];
        rgba[i * 4 + 3] = c.a[i];
    }
    switch (target.pixelFormat()) {
    case MTLPixelFormat::rgba16Float:
        MTLHalf::fromFloats(rgba, reinterpret_cast<uint16_t*>(row), size_t(count) * 4);
        return;
    case MTLPixelFormat::rgba32Float:
        std::memcpy(row, rgba, size_t(count) * 16);
        return;
    case MTLPixelFormat::invalid:
        return;
    default: {
        const MTLPixelFormat f = target.pixelFormat();
        const bool bgr = f == MTLPixelFormat::bgra8Unorm || f == MTLPixelFormat::bgra8Unorm_srgb;
        const bool srgb =
            f == MTLPixelFormat::rgba8Unorm_srgb || f == MTLPixelFormat::bgra8Unorm_srgb;
        for (int i = 0; i < count; ++i)
            for (int k = 0; k < 4; ++k) {
                float v = rgba[i * 4 + k];
                v = std::isnan(v) ? 0 : std::clamp(v, 0.0f, 1.0f);
                if (srgb && k < 3)
                    v = v <= 0.0031308f ? v * 12.92f : 1.055f * std::pow(v, 1 / 2.4f) - 0.055f;
                int channel = bgr && k != 1 && k != 3 ? 2 - k : k;
                row[i * 4 + channel] = uint8_t(std::lround(v * 255));
            }
        return;
    }
    }
}

void clear(MTLTexture& target, MTLClearColor color) {
    metal::float4x8 c{metal::splat(float(color.red)), metal::splat(float(color.green)),
                      metal::splat(float(color.blue)), metal::splat(float(color.alpha))};
    const int w = int(target.width()), h = int(target.height());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; x += metal::simdWidth)
            writeColors(target, x, y, std::min(metal::simdWidth, w - x), c);
}

void draw(MTLTexture& target, MTLWorkerPool& pool, const DrawCall& call) {
    if (!call.vertex || !call.fragment)
        return;
    const bool strip = call.type == MTLPrimitiveType::triangleStrip;
    if (!strip && call.type != MTLPrimitiveType::triangle)
        return;
    std::vector<Vertex> vertices;
    vertices.reserve(call.vertexCount);
    for (size_t i = 0; i < call.vertexCount; ++i)
        vertices.push_back(toWindow(
            call.vertex(uint32_t(call.vertexStart + i), *call.vertexArguments), call.viewport));
    const Clip clip = clipOf(target, call.viewport);
    if (clip.x0 >= clip.x1 || clip.y0 >= clip.y1)
        return;

    if (strip && vertices.size() == 4) {
        Rectangle r;
        const Vertex(&quad)[4] = *reinterpret_cast<const Vertex(*)[4]>(vertices.data());
        if (asRectangle(quad, r)) {
            const int x0 =
                int(std::clamp<int64_t>(ceilDiv(r.x0 - half, subpixel), clip.x0, clip.x1));
            const int x1 =
                int(std::clamp<int64_t>(ceilDiv(r.x1 - half, subpixel), clip.x0, clip.x1));
            const int y0 =
                int(std::clamp<int64_t>(ceilDiv(r.y0 - half, subpixel), clip.y0, clip.y1));
            const int y1 =
                int(std::clamp<int64_t>(ceilDiv(r.y1 - half, subpixel), clip.y0, clip.y1));
            if (x0 < x1)
                forRows(pool, y0, y1, [&](int from, int to) {
                    for (int y = from; y < to; ++y)
                        shadeRectangleRow(target, r, y, x0, x1, call);
                });
            return;
        }
    }

    std::vector<Triangle> triangles;
    for (size_t i = 0; i + 2 < vertices.size(); i += strip ? 1 : 3) {
        const Vertex &a = vertices[i], &b = vertices[i + 1], &c = vertices[i + 2];
        Triangle t;
        if (a.valid && b.valid && c.valid && t.set(a, b, c))
            triangles.push_back(t);
    }
    if (triangles.empty())
        return;
    int64_t minY = INT64_MAX, maxY = INT64_MIN;
    for (const Triangle& t : triangles)
        minY = std::min(minY, t.minY), maxY = std::max(maxY, t.maxY);
    const int y0 = int(std::clamp<int64_t>(floorDiv(minY - half, subpixel), clip.y0, clip.y1));
    const int y1 = int(std::clamp<int64_t>(floorDiv(maxY - half, subpixel) + 1, clip.y0, clip.y1));
    forRows(pool, y0, y1, [&](int from, int to) {
        for (int y = from; y < to; ++y)
            for (const Triangle& t : triangles) {
                int64_t first, last;
                t.span(y, first, last);
                int x0 = int(std::clamp<int64_t>(first, clip.x0, clip.x1));
                int x1 = int(std::clamp<int64_t>(last + 1, clip.x0, clip.x1));
                if (x0 < x1)
                    shadeTriangleSpan(target, t, y, x0, x1, call);
            }
    });
}

} // namespace MTLRaster
