#include "ShaderRenderer.h"

#include <cmath>

#include "Foundation/Bundle.h"
#include "QuarroShadersResources.h"
#include "Shaders/ShaderCommon.h"

void ShaderAnimationClock::resume(Date now) {
    if (pauseTime)
        pausedTime += std::max(0.0, now.timeIntervalSince(*pauseTime));
    pauseTime.reset();
}

double ShaderAnimationClock::seconds(Date now) const {
    // While paused the animation stands at the pause's start.
    Date at = pauseTime ? std::min(*pauseTime, now) : now;
    return std::max(0.0, at.timeIntervalSince(startTime) - pausedTime);
}

float ShaderAnimationClock::shaderTime(Date now) const {
    return float(std::fmod(seconds(now), QuarroShaderCode::animationPeriod));
}

std::string ShaderRendererError::errorDescription() const {
    return Bundle::main()->localizedString("MetalRenderer.Error.description",
                                           "No valid metal device");
}

std::shared_ptr<MTLRenderPipelineState> makeShaderPipeline(MTLDevice& device,
                                                           const std::string& vertexShaderName,
                                                           const std::string& fragmentShaderName,
                                                           MTLPixelFormat format,
                                                           const std::string& label) {
    auto library = device.makeDefaultLibrary(*QuarroShaders::bundle());
    MTLRenderPipelineDescriptor descriptor;
    descriptor.label = label;
    descriptor.vertexFunction = library->makeFunction(vertexShaderName);
    descriptor.fragmentFunction = library->makeFunction(fragmentShaderName);
    descriptor.colorAttachments[0].pixelFormat = format;
    return device.makeRenderPipelineState(descriptor);
}

namespace {
constexpr float quad[8] = {-1, -1, -1, 1, 1, -1, 1, 1};
}

ShaderRendererBase::ShaderRendererBase(MTKView& view) {
    device_ = view.device();
    if (!device_)
        throw RendererError();
    commandQueue = device_->makeCommandQueue();
    if (!commandQueue)
        throw RendererError();
    vertexBuffer = device_->makeBuffer(quad, sizeof quad, 0);
    if (!vertexBuffer)
        throw RendererError(); // nothing to draw with: a construction failure
    CGSize size = view.drawableSize();
    viewport_ = {0, 0, size.width, size.height, 0, 1};
}

void ShaderRendererBase::drawableSizeWillChange(MTKView&, CGSize size) {
    Runtime::assertMainThread("MetalShaderRenderer.drawableSizeWillChange");
    viewport_ = {0, 0, size.width, size.height, 0, 1};
}

std::optional<ShaderRendererBase::Frame> ShaderRendererBase::beginFrame(MTKView& view,
                                                                        const std::string& label) {
    Runtime::assertMainThread("MetalShaderRenderer.draw");
    auto pass = view.currentRenderPassDescriptor();
    if (!pass)
        return std::nullopt;
    Frame frame;
    frame.commandBuffer = commandQueue->makeCommandBuffer();
    if (!frame.commandBuffer)
        return std::nullopt;
    frame.encoder = frame.commandBuffer->makeRenderCommandEncoder(*pass);
    if (!frame.encoder)
        return std::nullopt;
    frame.commandBuffer->label = label;
    frame.encoder->setRenderPipelineState(pipelineState);
    frame.encoder->setViewport(viewport_);
    frame.encoder->setVertexBuffer(vertexBuffer, 0, 0);
    const auto size = viewSize();
    frame.encoder->setFragmentBytes(size.data(), sizeof size, 0);
    return frame;
}

void ShaderRendererBase::finishFrame(MTKView& view, Frame& frame) {
    frame.encoder->drawPrimitives(MTLPrimitiveType::triangleStrip, 0, vertexCount());
    frame.encoder->endEncoding();
    if (auto drawable = view.currentDrawable())
        frame.commandBuffer->present(drawable);
    frame.commandBuffer->commit();
}
