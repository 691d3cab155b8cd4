// The declarative layer's colour effects: per pixel, a colour in, a colour out.
// - colorMatrixShader(r, g, b, a): each output channel is the dot product of its row
//   (four floats) with the colour (r, g, b, a).
// - outsideSRGBShader / outsideP3Shader: colours outside the gamut (a component below
//   0 or above 1, in linear sRGB or after conversion to linear Display P3) show as
//   magenta, the others as they are: a gamut check.
// - clampSRGBShader: every component clamped into 0...1.

#include <algorithm>
#include <array>
#include <span>

#include "ShaderFunctions.h"

namespace QuarroShaderCode {
namespace {

using Color = std::array<float, 4>;
constexpr Color magenta{1, 0, 1, 1};

bool outside(float r, float g, float b) {
    return std::min({r, g, b}) < 0 || std::max({r, g, b}) > 1;
}

Color colorMatrix(float, float, Color c, std::span<const float> rows) {
    if (rows.size() < 16)
        return c;
    Color out;
    for (size_t i = 0; i < 4; ++i)
        out[i] = rows[i * 4] * c[0] + rows[i * 4 + 1] * c[1] + rows[i * 4 + 2] * c[2] +
                 rows[i * 4 + 3] * c[3];
    return out;
}

Color outsideSRGB(float, float, Color c, std::span<const float>) {
    return outside(c[0], c[1], c[2]) ? magenta : c;
}

Color outsideP3(float, float, Color c, std::span<const float>) {
    // Linear sRGB to linear Display P3.
    float r = 0.8224621f * c[0] + 0.1775380f * c[1];
    float g = 0.0331941f * c[0] + 0.9668058f * c[1];
    float b = 0.0170827f * c[0] + 0.0723974f * c[1] + 0.9105199f * c[2];
    return outside(r, g, b) ? magenta : c;
}

Color clampSRGB(float, float, Color c, std::span<const float>) {
    for (float& v : c)
        v = std::clamp(v, 0.0f, 1.0f);
    return c;
}

} // namespace

const MTLColorEffectBody colorMatrixShader = colorMatrix;
const MTLColorEffectBody outsideSRGBShader = outsideSRGB;
const MTLColorEffectBody outsideP3Shader = outsideP3;
const MTLColorEffectBody clampSRGBShader = clampSRGB;

} // namespace QuarroShaderCode
