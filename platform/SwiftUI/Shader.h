#pragma once
// Stands in for ShaderLibrary, ShaderFunction and Shader: the colour-effect functions of
// a bundle's Metal library (see Metal/MTLShaderFunctions.h), called with float
// arguments. A shader maps one pixel's position (points, origin top-left) and colour
// (linear RGBA) to a new colour.
// Left out: the modifiers that apply shaders to views (colorEffect, distortionEffect,
// layerEffect), image and data arguments.
// Thread: values; any thread.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "Metal/MTLShaderFunctions.h"

class Bundle;
class MTLLibrary;

namespace SwiftUI {

struct ShaderFunction {
    std::string name;
    MTLColorEffectBody body = nullptr; // null: the library has no such colour effect
};

class Shader {
  public:
    Shader(ShaderFunction function, std::vector<float> arguments)
        : function(std::move(function)), arguments(std::move(arguments)) {}
    const ShaderFunction function;
    // Each argument's floats, in order (a float4 argument is four).
    const std::vector<float> arguments;
    // The colour the shader makes of `color` at a point; the colour itself when the
    // function is missing.
    std::array<float, 4> apply(float x, float y, std::array<float, 4> color) const {
        return function.body ? function.body(x, y, color, arguments) : color;
    }
};

class ShaderLibrary {
  public:
    // The default library of a bundle; throws the platform's MTLError without one.
    static ShaderLibrary bundle(const Bundle& bundle);
    ShaderFunction function(const std::string& name) const;

  private:
    std::shared_ptr<MTLLibrary> library;
};

} // namespace SwiftUI
