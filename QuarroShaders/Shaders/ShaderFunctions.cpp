#include "ShaderFunctions.h"

#include <mutex>

#include "ShaderCommon.h"

namespace QuarroShaderCode {

MTLVertexOutput quadVertex(uint32_t vertexID, const MTLStageArguments& arguments) {
    MTLVertexOutput out;
    const float2 p = arguments.element<float2>(0, vertexID);
    out.position[0] = p.x;
    out.position[1] = p.y;
    out.varyings[0] = p.x * 0.5f + 0.5f;
    out.varyings[1] = 0.5f - p.y * 0.5f;
    return out;
}

void registerShaderFunctions() {
    static std::once_flag once;
    std::call_once(once, [] {
        // Built at first use: the fragment bodies are defined in other files.
        static const MTLShaderFunctionEntry entries[] = {
            {"audioWaveformVertexShader", MTLFunctionType::vertex, quadVertex},
            {"audioWaveformFragmentShader", MTLFunctionType::fragment, nullptr,
             audioWaveformFragmentShader},
            {"aboutVertexShader", MTLFunctionType::vertex, quadVertex},
            {"aboutFragmentShader", MTLFunctionType::fragment, nullptr, aboutFragmentShader},
            {"supporterVertexShader", MTLFunctionType::vertex, quadVertex},
            {"supporterFragmentShader", MTLFunctionType::fragment, nullptr,
             supporterFragmentShader},
            {"colorMatrixShader", MTLFunctionType::colorEffect, nullptr, nullptr,
             colorMatrixShader},
            {"outsideSRGBShader", MTLFunctionType::colorEffect, nullptr, nullptr,
             outsideSRGBShader},
            {"outsideP3Shader", MTLFunctionType::colorEffect, nullptr, nullptr, outsideP3Shader},
            {"clampSRGBShader", MTLFunctionType::colorEffect, nullptr, nullptr, clampSRGBShader},
        };
        MTLShaderFunctionTable::add(entries);
    });
}

} // namespace QuarroShaderCode
