#pragma once
// Stands in for MTKTextureLoader's loading of named textures from a bundle's asset
// catalogue: the image "<name>.png" (1x) or "<name>@2x.png" (2x) in the catalogue folder
// (Contents/Resources/Assets), the rendition nearest the scale factor asked for, becomes
// an rgba8Unorm_srgb texture labelled with the name (shaders read it as linear light,
// straight alpha).
// Left out: options (sRGB, mipmaps, origin), cube maps, data and URL sources,
// asynchronous loading.
// Thread: any.

#include <memory>
#include <string>

#include "Metal/Metal.h"

class Bundle;

class MTKTextureLoader {
  public:
    explicit MTKTextureLoader(std::shared_ptr<MTLDevice> device) : device(std::move(device)) {}
    // Throws MTLError (textureLoader) when the catalogue has no such image or it cannot
    // be read.
    std::shared_ptr<MTLTexture> newTexture(const std::string& name, double scaleFactor,
                                           const Bundle& bundle) const;

  private:
    std::shared_ptr<MTLDevice> device;
};
