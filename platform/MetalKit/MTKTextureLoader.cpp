#include "MetalKit/MTKTextureLoader.h"

#include <vector>

#include "CoreGraphics/CGImage.h"
#include "Foundation/Bundle.h"

std::shared_ptr<MTLTexture> MTKTextureLoader::newTexture(const std::string& name, double scale,
                                                         const Bundle& bundle) const {
    const std::string one = name, two = name + "@2x";
    std::optional<CGImage> image;
    for (const std::string& rendition :
         scale >= 1.5 ? std::vector<std::string>{two, one} : std::vector<std::string>{one, two})
        if (auto url = bundle.url(rendition, "png", "Assets"))
            if ((image = CGImage::fromPNGFile(url->path())))
                break;
    if (!image)
        throw MTLError(MTLError::Domain::textureLoader, 0,
                       "no image named \"" + name + "\" in " + bundle.bundlePath());
    const size_t w = image->width(), h = image->height();
    auto texture =
        device->makeTexture(MTLTextureDescriptor::texture2D(MTLPixelFormat::rgba8Unorm_srgb, w, h));
    if (!texture)
        throw MTLError(MTLError::Domain::textureLoader, 1, "cannot make a texture for " + name);
    std::vector<uint8_t> rgba(w * h * 4);
    for (size_t y = 0; y < h; ++y)
        for (size_t x = 0; x < w; ++x) {
            CGImage::Pixel p = image->pixel(x, y);
            uint8_t* d = &rgba[(y * w + x) * 4];
            d[0] = p.r, d[1] = p.g, d[2] = p.b, d[3] = p.a;
        }
    texture->replace(MTLRegion::make2D(0, 0, w, h), rgba.data(), w * 4);
    texture->label = name;
    return texture;
}
