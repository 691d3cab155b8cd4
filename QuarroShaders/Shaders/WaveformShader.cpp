// The main window's band: strands of a glowing waveform on a deep plum field that
// fades into the window's charcoal at the bottom. Each strand is the sum of two sine
// waves under an envelope that pins it to the centre line at both ends, drifting at
// its own rates; the seed picks every strand's amplitude, wave numbers and phases.
// Arguments: bytes 0 the view size in pixels (two floats), 1 the seed (uint32),
// 2 the time in seconds (float, modulo the animation period).
// Colours are linear light (the view's colour space is extended linear sRGB).

#include <array>
#include <cmath>

#include "ShaderCommon.h"
#include "ShaderFunctions.h"

namespace QuarroShaderCode {
namespace {

constexpr int strandCount = 6;

struct Strand {
    float amplitude, offset, k1, k2, phase1, phase2, rate1, rate2;
    float r, g, b;
};

// Ember colours, linear light: amber, orange, red, gold, rose, deep orange.
constexpr float palette[strandCount][3] = {{0.83f, 0.45f, 0.07f}, {0.87f, 0.25f, 0.04f},
                                           {0.72f, 0.08f, 0.05f}, {0.90f, 0.62f, 0.22f},
                                           {0.70f, 0.10f, 0.22f}, {0.95f, 0.33f, 0.05f}};

Strand strand(uint32_t seed, int k) {
    auto r = [&](int salt) { return random01(seed, uint32_t(k * 16 + salt)); };
    constexpr float twoPi = 6.28318530718f;
    Strand s;
    s.amplitude = 0.11f + 0.12f * r(0);
    s.offset = (float(k) - (strandCount - 1) * 0.5f) * 0.018f;
    s.k1 = twoPi * (1.1f + 1.4f * r(1));
    s.k2 = twoPi * (2.6f + 2.8f * r(2));
    s.phase1 = twoPi * r(3);
    s.phase2 = twoPi * r(4);
    // 0.08...0.2 and 0.12...0.3 turns a second, whole turns per period, opposite ways.
    s.rate1 = cyclesPerPeriod(std::round((0.08 + 0.12 * r(5)) * animationPeriod));
    s.rate2 = -cyclesPerPeriod(std::round((0.12 + 0.18 * r(6)) * animationPeriod));
    s.r = palette[k][0], s.g = palette[k][1], s.b = palette[k][2];
    return s;
}

// The strands of a seed, hashed once per seed and worker thread rather than for every
// group of fragments (the hashing would otherwise cost more than the shading).
const std::array<Strand, strandCount>& strands(uint32_t seed) {
    thread_local uint32_t cachedSeed = 0;
    thread_local bool cached = false;
    thread_local std::array<Strand, strandCount> cache;
    if (!cached || cachedSeed != seed) {
        for (int k = 0; k < strandCount; ++k)
            cache[size_t(k)] = strand(seed, k);
        cachedSeed = seed;
        cached = true;
    }
    return cache;
}

QUARRO_FRAGMENT_TARGETS metal::float4x8 waveformFragment(const MTLFragmentGroup& g,
                                                         const MTLStageArguments& arguments) {
    const float2 size = arguments.value<float2>(0, {1, 1});
    const uint32_t seed = arguments.value<uint32_t>(1);
    const float time = arguments.value<float>(2);
    const float w = size.x > 0 ? size.x : 1, h = size.y > 0 ? size.y : 1;

    const float8 u = g.x / w;               // 0...1 across
    const float8 v = g.y / h;               // 0...1 down
    const float8 py = v - 0.5f;             // band heights from the centre line
    const float8 px = (g.x - 0.5f * w) / h; // the same units across

    // The field: plum at the top, the window's charcoal at the bottom, and a warm glow
    // behind the middle of the strands.
    color8 top = color8::of(0.016f, 0.007f, 0.023f), bottom = color8::of(0.0086f, 0.0074f, 0.0065f);
    // At the bottom edge the field is exactly the window's colour: no seam.
    color8 field = mix(top, bottom, metal::smoothstep(0.1f, 0.92f, v));
    float8 glow = 1.0f / (1.0f + (px * px * 2.2f + py * py * 14.0f) * 3.0f) *
                  (1.0f - metal::smoothstep(0.55f, 0.95f, v));
    field = field + color8::of(0.055f, 0.018f, 0.010f) * glow;

    // The envelope: zero at the ends, flat in the middle; strands fade at the edges.
    float8 s = 4.0f * u * (1.0f - u);
    float8 envelope = s * s * (3.0f - 2.0f * s);
    float8 fade = metal::smoothstep(0.0f, 0.06f, u) * metal::smoothstep(1.0f, 0.94f, u) *
                  (0.3f + 0.7f * envelope);

    color8 light;
    for (const Strand& st : strands(seed)) {
        float8 wave = 0.62f * fastSin(st.k1 * u + (st.phase1 + st.rate1 * time)) +
                      0.38f * fastSin(st.k2 * u + (st.phase2 + st.rate2 * time));
        float8 d = py - envelope * (st.amplitude * wave + st.offset);
        // A sharp core and a soft halo, both Lorentzian: 1 / (1 + (d / width)²).
        float8 core = 1.0f / (1.0f + d * d * (1.0f / (0.0042f * 0.0042f)));
        float8 halo = 1.0f / (1.0f + d * d * (1.0f / (0.032f * 0.032f)));
        float8 intensity = (0.85f * core + 0.16f * halo) * fade;
        light = light + color8::of(st.r, st.g, st.b) * intensity;
    }
    // The halos' long tails would still lift the band's bottom edge above the window's
    // colour below it: they fade out over the last fifth, where no strand reaches.
    light = light * (1.0f - metal::smoothstep(0.8f, 1.0f, v));
    // Where strands cross, light adds up: compress it towards white instead of clipping.
    auto compress = [](float8 c) { return c * (1.0f + c * 0.25f) / (1.0f + c); };
    color8 c = field + color8{compress(light.r), compress(light.g), compress(light.b)};
    return opaque(c);
}

} // namespace

const MTLFragmentFunctionBody audioWaveformFragmentShader = waveformFragment;

} // namespace QuarroShaderCode
