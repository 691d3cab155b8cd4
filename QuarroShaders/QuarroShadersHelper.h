#pragma once
// QuarroShadersHelper: the package's colour effects for declarative views, from its
// bundle's shader library. colorMatrixShader takes four rows of four floats (r, g, b, a);
// the others take no arguments. Thread: any.

#include <array>

#include "SwiftUI/Shader.h"

namespace QuarroShadersHelper {

using float4 = std::array<float, 4>;
SwiftUI::Shader colorMatrixShader(float4 r, float4 g, float4 b, float4 a);
SwiftUI::Shader outsideSRGBShader();
SwiftUI::Shader outsideP3Shader();
SwiftUI::Shader clampSRGBShader();

} // namespace QuarroShadersHelper
