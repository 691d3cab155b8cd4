#pragma once
// MetalShaderRenderer: draws one full-view quad per frame into a MetalKit view with a
// named vertex and fragment function of the package's library, handing the fragment
// function (bytes 0) the drawable size in pixels as two floats, (bytes 1) the
// renderer's random seed, (bytes 2) the animation time in seconds (see
// ShaderAnimationClock). The command buffer is labelled "<name> Command Buffer".
// Creation throws RendererError::noValidDevice without a device or command queue, and
// the pipeline builder's MTLError otherwise; nothing half-made is kept.
// Create with make<MetalShaderRenderer>(view, name, vertex, fragment); the caller makes
// it the view's delegate.
// Thread: main thread.

#include <string>

#include "ShaderRenderer.h"

class MetalShaderRenderer : public ShaderRendererBase {
  public:
    const std::string& name() const { return name_; }
    uint32_t seed() const { return seed_; }

    void drawInMTKView(MTKView& view) override;

  protected:
    MetalShaderRenderer(MTKView& view, std::string name, const std::string& vertxShaderName,
                        const std::string& fragmentShaderName);

  private:
    uint32_t seed_;
    std::string name_;
    std::string label;
};
