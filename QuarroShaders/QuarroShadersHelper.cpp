#include "QuarroShadersHelper.h"

#include "QuarroShadersResources.h"

namespace QuarroShadersHelper {
namespace {
SwiftUI::ShaderFunction function(const char* name) {
    static const SwiftUI::ShaderLibrary library =
        SwiftUI::ShaderLibrary::bundle(*QuarroShaders::bundle());
    return library.function(name);
}
} // namespace

SwiftUI::Shader colorMatrixShader(float4 r, float4 g, float4 b, float4 a) {
    std::vector<float> rows;
    for (const float4& row : {r, g, b, a})
        rows.insert(rows.end(), row.begin(), row.end());
    return SwiftUI::Shader(function("colorMatrixShader"), std::move(rows));
}

SwiftUI::Shader outsideSRGBShader() {
    return SwiftUI::Shader(function("outsideSRGBShader"), {});
}

SwiftUI::Shader outsideP3Shader() {
    return SwiftUI::Shader(function("outsideP3Shader"), {});
}

SwiftUI::Shader clampSRGBShader() {
    return SwiftUI::Shader(function("clampSRGBShader"), {});
}

} // namespace QuarroShadersHelper
