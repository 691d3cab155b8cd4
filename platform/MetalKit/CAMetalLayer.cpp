#include "MetalKit/CAMetalLayer.h"

#include <cmath>

void CAMetalDrawable::present() {
    if (presented)
        return;
    presented = true;
    if (auto l = layer.lock())
        l->present(texture_);
}

std::shared_ptr<CAMetalDrawable> CAMetalLayer::nextDrawable() {
    Runtime::assertMainThread("CAMetalLayer.nextDrawable");
    const auto w = size_t(std::lround(drawableSize.width));
    const auto h = size_t(std::lround(drawableSize.height));
    if (!device || w == 0 || h == 0)
        return nullptr;
    // A texture that is neither shown nor handed out is used again, as the platform
    // cycles through a few drawables.
    std::shared_ptr<MTLTexture> texture;
    std::erase_if(spare, [&](const auto& t) {
        return t->width() != w || t->height() != h || t->pixelFormat() != pixelFormat;
    });
    for (const auto& t : spare)
        if (t != contents_ && t.use_count() == 1) {
            texture = t;
            break;
        }
    if (!texture) {
        texture = device->makeTexture({pixelFormat, w, h, unsigned(MTLTextureUsage::renderTarget)});
        if (!texture)
            return nullptr;
        if (spare.size() < 3)
            spare.push_back(texture);
    }
    return make<CAMetalDrawable>(weakAs<CAMetalLayer>(), std::move(texture));
}

void CAMetalLayer::present(const std::shared_ptr<MTLTexture>& texture) {
    contents_ = texture;
    ++presents;
    if (onPresent)
        onPresent();
}
