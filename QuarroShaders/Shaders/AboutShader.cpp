// The about view: the maker's logo, lit in gold, shimmering through two layers of the
// noise texture that scroll across it in different directions, with a band of light
// sweeping over it every six seconds; the same smoke glows faintly in the dark around.
// Arguments: bytes 0 the view size in pixels (two floats), 1 the time (float);
// texture 0 the logo (its alpha is the mark), texture 1 the noise (tileable, grey).

#include <algorithm>
#include <cmath>

#include "Metal/MTLResource.h"
#include "ShaderCommon.h"
#include "ShaderFunctions.h"

namespace QuarroShaderCode {
namespace {

// Scrolling rates in whole texture widths per period: 0.03, 0.011, -0.021, 0.017 a second.
constexpr float turns(double perSecond) {
    return float(double(int(perSecond * animationPeriod)) / animationPeriod);
}

metal::float4x8 aboutFragment(const MTLFragmentGroup& g, const MTLStageArguments& arguments) {
    const float2 size = arguments.value<float2>(0, {1, 1});
    const float time = arguments.value<float>(1);
    const float w = size.x > 0 ? size.x : 1, h = size.y > 0 ? size.y : 1;
    const MTLTexture* logo = arguments.texture(0);
    const MTLTexture* noise = arguments.texture(1);

    const float8 u = g.x / w, v = g.y / h;
    const float8 nx = g.x / h, ny = g.y / h; // square noise cells whatever the shape

    float8 smoke = metal::splat(0.5f);
    if (noise) {
        MTLSamplerDescriptor repeat{MTLSamplerDescriptor::Filter::linear,
                                    MTLSamplerDescriptor::AddressMode::repeat};
        // Offsets wrapped to one texture width: the texture repeats.
        auto wrap = [](double x) { return float(x - std::floor(x)); };
        metal::float4x8 n1 = noise->sample(repeat, nx * 0.9f + wrap(time * turns(0.03)),
                                           ny * 0.9f + wrap(time * turns(0.011)));
        metal::float4x8 n2 = noise->sample(repeat, nx * 1.7f + wrap(time * turns(-0.021)),
                                           ny * 1.7f + wrap(time * turns(0.017)));
        smoke = n1.r * 0.6f + n2.r * 0.4f;
    }

    // The logo fits a centred square of 62% of the shorter side.
    const float side = 0.62f * std::min(w, h);
    const float8 lx = (g.x - 0.5f * w) / side + 0.5f, ly = (g.y - 0.5f * h) / side + 0.5f;
    float8 mark = metal::splat(0);
    if (logo) {
        MTLSamplerDescriptor clamp;
        mark = logo->sample(clamp, lx, ly).a;
        mark = (lx >= 0 && lx <= 1 && ly >= 0 && ly <= 1) ? mark : metal::splat(0);
    }

    // A diagonal band of light crossing every six seconds.
    const float sweep = float(std::fmod(double(time) / 6.0, 1.0)) * 2.4f - 0.7f;
    const float8 along = u + v * 0.5f - sweep;
    const float8 band = 1.0f / (1.0f + along * along * (1.0f / (0.07f * 0.07f)));

    const float8 s2 = smoke * smoke;
    color8 field = color8::of(0.010f, 0.005f, 0.016f) + color8::of(0.07f, 0.024f, 0.012f) * s2;
    color8 gold = color8::of(0.85f, 0.50f, 0.14f) * (0.15f + 1.6f * s2) +
                  color8::of(1.0f, 0.85f, 0.6f) * (band * (0.4f + 0.9f * smoke));
    return opaque(mix(field, gold, mark));
}

} // namespace

const MTLFragmentFunctionBody aboutFragmentShader = aboutFragment;

} // namespace QuarroShaderCode
