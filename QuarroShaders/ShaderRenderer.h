#pragma once
// What the package's three renderers share: the animation clock, the error they throw
// without a device, the shared pipeline builder, and the frame's common steps.
//
// ShaderAnimationClock: seconds since the renderer was made, less every finished pause,
// on the run loop's monotonic clock (which tests set). While a pause is open the time
// stands at the pause's start, so a frame drawn during a pause shows the paused moment
// and the animation goes on from there on resume. A second pause opened before a resume
// moves the pause's start to the later moment. shaderTime() is that time modulo the
// shaders' animation period, as a float.
//
// ShaderRendererBase: device, command queue, pipeline, the full-view quad (32 bytes,
// four float2 corners (-1,-1), (-1,1), (1,-1), (1,1), drawn as a triangle strip) and the
// viewport, kept equal to the drawable. A frame begins with the view's render-pass
// descriptor, a command buffer and an encoder (any of them missing skips the frame) and
// ends by presenting the view's drawable (when there is one) and committing.
// Thread: main thread; the delegate callbacks check it.

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "Foundation/Date.h"
#include "Metal/Metal.h"
#include "MetalKit/MTKView.h"

class ShaderAnimationClock {
  public:
    explicit ShaderAnimationClock(Date start = Date::now()) : startTime(start) {}
    Date startTime;
    std::optional<Date> pauseTime;
    double pausedTime = 0;

    void pause(Date now = Date::now()) { pauseTime = now; }
    void resume(Date now = Date::now());
    double seconds(Date now = Date::now()) const;
    float shaderTime(Date now = Date::now()) const;
};

// RendererError: thrown when there is no Metal device or command queue.
class ShaderRendererError : public std::exception {
  public:
    enum class Code { noValidDevice };
    explicit ShaderRendererError(Code code = Code::noValidDevice) : code(code) {}
    Code code;
    // The main bundle's text for "MetalRenderer.Error.description" ("No valid metal
    // device" without a translation).
    std::string errorDescription() const;
    const char* what() const noexcept override { return "No valid metal device"; }
    friend bool operator==(const ShaderRendererError& a, const ShaderRendererError& b) {
        return a.code == b.code;
    }
};

// The package's pipeline: the default library of its bundle, the two functions, label
// "Shader Pipeline", colour attachment rgba16Float (or `format`). Throws the platform's
// MTLError.
std::shared_ptr<MTLRenderPipelineState>
makeShaderPipeline(MTLDevice& device, const std::string& vertexShaderName,
                   const std::string& fragmentShaderName,
                   MTLPixelFormat format = MTLPixelFormat::rgba16Float,
                   const std::string& label = "Shader Pipeline");

class ShaderRendererBase : public NSObject, public MTKViewDelegate {
  public:
    using RendererError = ShaderRendererError;

    const std::shared_ptr<MTLDevice>& device() const { return device_; }
    const MTLViewport& viewport() const { return viewport_; }
    // (viewport width, viewport height) as floats.
    std::array<float, 2> viewSize() const {
        return {float(viewport_.width), float(viewport_.height)};
    }
    size_t vertexCount() const { return 4; }
    ShaderAnimationClock clock;

    // Opens a pause now (the platform's pauseTime = Date()).
    void willPause() { clock.pause(); }
    // Closes the pause in progress, if any.
    void willResume() { clock.resume(); }

    void drawableSizeWillChange(MTKView& view, CGSize size) override;

  protected:
    // Takes the view's device (none: RendererError) and makes a command queue (none:
    // RendererError), the quad and the viewport; the subclass then makes its pipeline
    // and sets the clock's start last.
    explicit ShaderRendererBase(MTKView& view);

    struct Frame {
        std::shared_ptr<MTLCommandBuffer> commandBuffer;
        std::shared_ptr<MTLRenderCommandEncoder> encoder;
    };
    // Steps 1-2 of a frame, the command buffer's label, then pipeline, viewport, the
    // quad at vertex index 0 and the view size at fragment bytes 0; none when the frame
    // is skipped.
    std::optional<Frame> beginFrame(MTKView& view, const std::string& label);
    // Draws the strip, ends encoding, presents the drawable when there is one, commits.
    void finishFrame(MTKView& view, Frame& frame);

    std::shared_ptr<MTLDevice> device_;
    std::shared_ptr<MTLCommandQueue> commandQueue;
    std::shared_ptr<MTLRenderPipelineState> pipelineState;
    std::shared_ptr<MTLBuffer> vertexBuffer;
    MTLViewport viewport_;
};
