#include "MetalShaderRenderer.h"

#include "QuarroShadersResources.h"

MetalShaderRenderer::MetalShaderRenderer(MTKView& view, std::string name,
                                         const std::string& vertxShaderName,
                                         const std::string& fragmentShaderName)
    : ShaderRendererBase(view), seed_(uint32_t(QuarroShaders::randomBytes())),
      name_(std::move(name)), label(name_ + " Command Buffer") {
    pipelineState = makeShaderPipeline(*device_, vertxShaderName, fragmentShaderName);
    clock = ShaderAnimationClock(Date::now());
}

void MetalShaderRenderer::drawInMTKView(MTKView& view) {
    auto frame = beginFrame(view, label);
    if (!frame)
        return;
    const float time = clock.shaderTime();
    frame->encoder->setFragmentBytes(&seed_, sizeof seed_, 1);
    frame->encoder->setFragmentBytes(&time, sizeof time, 2);
    finishFrame(view, *frame);
}
