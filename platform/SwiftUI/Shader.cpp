#include "SwiftUI/Shader.h"

#include "Metal/MTLLibrary.h"

namespace SwiftUI {

ShaderLibrary ShaderLibrary::bundle(const Bundle& bundle) {
    ShaderLibrary l;
    l.library = MTLLibrary::fromBundle(bundle);
    return l;
}

ShaderFunction ShaderLibrary::function(const std::string& name) const {
    auto f = library->makeFunction(name);
    if (!f || f->functionType() != MTLFunctionType::colorEffect)
        return {name, nullptr};
    return {name, f->body().colorEffect};
}

} // namespace SwiftUI
