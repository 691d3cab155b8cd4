#include "AboutShaderView.h"

#include "AppKit/NSWindow.h"
#include "MetalKit/MTKTextureLoader.h"
#include "QuarroShadersResources.h"

AboutRenderer::AboutRenderer(MTKView& view) : ShaderRendererBase(view) {
    pipelineState = makeShaderPipeline(*device_, "aboutVertexShader", "aboutFragmentShader",
                                       view.colorPixelFormat(), "About View Pipeline");
    auto window = view.window();
    const double scale = window ? window->backingScaleFactor() : 1.0;
    MTKTextureLoader loader(device_);
    logo = loader.newTexture("wickett-logo", scale, *QuarroShaders::bundle());
    noise = loader.newTexture("wickett-noise", scale, *QuarroShaders::bundle());
    clock = ShaderAnimationClock(Date::now());
}

void AboutRenderer::drawInMTKView(MTKView& view) {
    auto frame = beginFrame(view, "About View Command Buffer");
    if (!frame)
        return;
    const float time = clock.shaderTime();
    frame->encoder->label = "About View Render Encoder";
    frame->encoder->setFragmentBytes(&time, sizeof time, 1);
    frame->encoder->setFragmentTexture(logo, 0);
    frame->encoder->setFragmentTexture(noise, 1);
    finishFrame(view, *frame);
}

void AboutSampleView::viewDidMoveToSuperview() {
    setDevice(MTLCreateSystemDefaultDevice());
    setColorPixelFormat(MTLPixelFormat::rgba16Float);
    setColorspace(CGColorSpace::extendedLinearDisplayP3);
    try {
        renderer = make<AboutRenderer>(*this);
    } catch (const std::exception&) {
        renderer = nullptr;
    }
    setDelegate(renderer);
}

std::shared_ptr<ShaderRendererBase> AboutShaderViewController::makeRenderer(MTKView& view) {
    return make<AboutRenderer>(view);
}
