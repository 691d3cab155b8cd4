#pragma once
// The about picture: AboutRenderer draws "aboutVertexShader"/"aboutFragmentShader" with
// the logo and noise textures ("wickett-logo", "wickett-noise" of the package's asset
// catalogue, at the window's scale, 1 without a window) as fragment textures 0 and 1,
// the drawable size (bytes 0) and the animation time (bytes 1). Its pipeline is
// labelled "About View Pipeline" and takes the view's pixel format; frames are labelled
// "About View Command Buffer" and "About View Render Encoder". Creation throws
// RendererError without a device or queue, and MTLError for a missing library, function,
// texture or pipeline.
// AboutSampleView: an MTKView that makes its own renderer (on the default device,
// rgba16Float, extended linear Display P3) whenever it moves to a superview, and keeps it.
// AboutShaderViewController: the shader view controller with an AboutRenderer.
// Thread: main thread.

#include "ShaderViewController.h"

class AboutRenderer : public ShaderRendererBase {
  public:
    const std::shared_ptr<MTLTexture>& logoTexture() const { return logo; }
    const std::shared_ptr<MTLTexture>& noiseTexture() const { return noise; }
    void drawInMTKView(MTKView& view) override;

  protected:
    explicit AboutRenderer(MTKView& view);

  private:
    std::shared_ptr<MTLTexture> logo, noise;
};

class AboutSampleView : public MTKView {
  public:
    std::shared_ptr<AboutRenderer> renderer;
    void viewDidMoveToSuperview() override;

  protected:
    AboutSampleView(CGRect frame, std::shared_ptr<MTLDevice> device)
        : MTKView(frame, std::move(device)) {}
};

class AboutShaderViewController : public ShaderViewController {
  protected:
    explicit AboutShaderViewController(std::shared_ptr<NSView> view)
        : ShaderViewController(std::move(view)) {}
    std::shared_ptr<ShaderRendererBase> makeRenderer(MTKView& view) override;
};
