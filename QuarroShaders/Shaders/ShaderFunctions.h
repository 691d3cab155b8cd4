#pragma once
// The package's shader library: the functions its bundle's manifest exports, and their
// registration in the process's table of shader functions (done once, on first use of
// the package's bundle). Thread: any.

#include "Metal/MTLShaderFunctions.h"

namespace QuarroShaderCode {

extern const MTLFragmentFunctionBody audioWaveformFragmentShader;
extern const MTLFragmentFunctionBody aboutFragmentShader;
extern const MTLFragmentFunctionBody supporterFragmentShader;
extern const MTLColorEffectBody colorMatrixShader, outsideSRGBShader, outsideP3Shader,
    clampSRGBShader;

// Adds every function of the library to MTLShaderFunctionTable (once; later calls do
// nothing).
void registerShaderFunctions();

} // namespace QuarroShaderCode
