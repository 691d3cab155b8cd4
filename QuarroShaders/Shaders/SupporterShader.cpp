// The supporter view: six rounded tiles in two rows of three. A tile that is on glows in
// its ember colour from the inside out; one held down is darker and sits a little
// deeper; one that is off is a dim plate. Every recent switch-on sends a ring out from
// its tile's centre, fading over a second and a half.
// Arguments: bytes 0 the view size in pixels (two floats), 1 the time (float), 2 the
// screen's scale (float, pixels per point); buffers 3 on states, 4 down states (six
// floats each, 1 = yes), 5 the switches of the six newest events (-1: none), 6 their
// times (floats).

#include <algorithm>
#include <cmath>

#include "ShaderCommon.h"
#include "ShaderFunctions.h"

namespace QuarroShaderCode {
namespace {

constexpr float tileColors[6][3] = {{0.90f, 0.36f, 0.05f}, {0.85f, 0.55f, 0.10f},
                                    {0.78f, 0.12f, 0.06f}, {0.92f, 0.66f, 0.24f},
                                    {0.72f, 0.14f, 0.26f}, {0.95f, 0.45f, 0.12f}};

// Signed distance to a rounded rectangle centred at the origin (half size hx, hy).
float8 roundedBox(float8 x, float8 y, float hx, float hy, float radius) {
    float8 qx = metal::abs(x) - (hx - radius), qy = metal::abs(y) - (hy - radius);
    float8 ox = metal::max(qx, metal::splat(0)), oy = metal::max(qy, metal::splat(0));
    return metal::sqrt(ox * ox + oy * oy) + metal::min(metal::max(qx, qy), metal::splat(0)) -
           radius;
}

metal::float4x8 supporterFragment(const MTLFragmentGroup& g, const MTLStageArguments& args) {
    const float2 size = args.value<float2>(0, {1, 1});
    const float time = args.value<float>(1);
    const float scale = std::max(args.value<float>(2, 1), 0.5f);
    const float w = size.x > 0 ? size.x : 1, h = size.y > 0 ? size.y : 1;

    // Tiles: a 3 × 2 grid in the view with a margin and gaps of 6% of the shorter side.
    const float gap = 0.06f * std::min(w, h);
    const float cellW = (w - 4 * gap) / 3, cellH = (h - 3 * gap) / 2;
    const float radius = 0.18f * std::min(cellW, cellH);
    const float pixel = 1.0f; // antialiasing width

    color8 c = color8::of(0.010f, 0.008f, 0.012f);
    for (int i = 0; i < 6; ++i) {
        const float cx = gap + cellW * 0.5f + float(i % 3) * (cellW + gap);
        const float cy = gap + cellH * 0.5f + float(i / 3) * (cellH + gap);
        const bool on = args.element<float>(3, size_t(i)) > 0.5f;
        const bool down = args.element<float>(4, size_t(i)) > 0.5f;
        const float inset = down ? 1.5f * scale : 0;
        float8 d =
            roundedBox(g.x - cx, g.y - cy, cellW * 0.5f - inset, cellH * 0.5f - inset, radius);
        float8 inside = metal::saturate(0.5f - d / pixel);
        const float* tc = tileColors[i];
        color8 plate = color8::of(0.016f, 0.014f, 0.014f);
        if (on) {
            // Lit from the middle: brightness falls off with the elliptical distance
            // from the tile's centre (1 at its edges).
            float8 ex = (g.x - cx) / (cellW * 0.5f), ey = (g.y - cy) / (cellH * 0.5f);
            float8 r2 = metal::saturate((ex * ex + ey * ey) * 0.5f);
            plate = color8::of(tc[0], tc[1], tc[2]) * (0.3f + 0.85f * (1.0f - r2));
        }
        if (down)
            plate = plate * 0.55f;
        c = mix(c, plate, inside);
        // An outer rim of light around a tile that is on.
        if (on) {
            float8 rim = 1.0f / (1.0f + metal::max(d, metal::splat(0)) * (1.0f / (6.0f * scale)));
            c = c + color8::of(tc[0], tc[1], tc[2]) * (rim * rim * 0.12f * (1.0f - inside));
        }
    }
    // Rings of the recent events.
    for (size_t e = 0; e < 6; ++e) {
        const int tile = int(std::lround(args.element<float>(5, e, -1)));
        if (tile < 0 || tile > 5)
            continue;
        float age = time - args.element<float>(6, e);
        if (age < 0)
            age += float(animationPeriod); // the clock wrapped since the event
        if (age > 1.5f)
            continue;
        const float cx = gap + cellW * 0.5f + float(tile % 3) * (cellW + gap);
        const float cy = gap + cellH * 0.5f + float(tile / 3) * (cellH + gap);
        const float ringRadius = age * 0.9f * std::max(w, h) * 0.5f;
        const float width = 3.0f * scale * (1.0f + age);
        const float strength = (1.0f - age / 1.5f) * (1.0f - age / 1.5f);
        float8 dx = g.x - cx, dy = g.y - cy;
        float8 off = metal::sqrt(dx * dx + dy * dy) - ringRadius;
        float8 ring = strength / (1.0f + off * off * (1.0f / (width * width)));
        const float* tc = tileColors[tile];
        c = c + color8::of(tc[0], tc[1], tc[2]) * ring;
    }
    return opaque(c);
}

} // namespace

const MTLFragmentFunctionBody supporterFragmentShader = supporterFragment;

} // namespace QuarroShaderCode
