#pragma once
// Stands in for CAMetalLayer and CAMetalDrawable: the layer of a Metal view hands out
// drawables (a texture of its drawable size and pixel format, from a small pool), and
// presenting one makes its texture the layer's contents, which the owning view then
// shows (see MTKView). The contents are linear light when the colour space is one of
// the extended linear ones.
// Left out: display sync, maximum drawable counts, frame timing, EDR metadata.
// Thread: main thread.

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "AppKit/CALayer.h"
#include "CoreGraphics/CGColor.h"
#include "Metal/Metal.h"

class CAMetalLayer;

class CAMetalDrawable : public MTLDrawable {
  public:
    const std::shared_ptr<MTLTexture>& texture() const { return texture_; }
    // Makes the texture the layer's contents (once; later calls do nothing).
    void present() override;

  protected:
    CAMetalDrawable(std::weak_ptr<CAMetalLayer> layer, std::shared_ptr<MTLTexture> texture)
        : layer(std::move(layer)), texture_(std::move(texture)) {}

  private:
    std::weak_ptr<CAMetalLayer> layer;
    std::shared_ptr<MTLTexture> texture_;
    bool presented = false;
};

class CAMetalLayer : public CALayer {
  public:
    std::shared_ptr<MTLDevice> device;
    MTLPixelFormat pixelFormat = MTLPixelFormat::bgra8Unorm;
    // None: the contents are taken as sRGB-encoded.
    std::optional<CGColorSpace> colorspace;
    // In pixels.
    CGSize drawableSize;

    // A drawable of the current size and format; null without a device or when the
    // size is less than a pixel either way.
    std::shared_ptr<CAMetalDrawable> nextDrawable();

    // The texture last presented, and how many presents there have been.
    const std::shared_ptr<MTLTexture>& contents() const { return contents_; }
    unsigned long presentCount() const { return presents; }
    // Called after each present (the owning view redraws) and after a change of the
    // contents scale.
    std::function<void()> onPresent;
    std::function<void()> onContentsScaleChange;

  protected:
    CAMetalLayer() = default;
    void contentsScaleDidChange() override {
        if (onContentsScaleChange)
            onContentsScaleChange();
    }

  private:
    friend class CAMetalDrawable;
    void present(const std::shared_ptr<MTLTexture>& texture);
    std::shared_ptr<MTLTexture> contents_;
    std::vector<std::shared_ptr<MTLTexture>> spare;
    unsigned long presents = 0;
};
