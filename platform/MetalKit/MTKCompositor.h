#pragma once
// What the window server does with a Metal layer's contents: turns the texture into a
// bitmap the window shows. Half-float and float textures hold linear light: in the
// extended linear Display P3 space they are first converted to linear sRGB; values
// are clamped to 0...1 (the display shows no more) and sRGB-encoded. 8-bit textures
// are taken as encoded already. The bitmap is premultiplied, as windows take it.
// Thread: any (pure).

#include <optional>

#include "CoreGraphics/CGColor.h"
#include "CoreGraphics/CGImage.h"
#include "Metal/MTLResource.h"

namespace MTKCompositor {

CGImage image(const MTLTexture& texture, std::optional<CGColorSpace> colorspace);

} // namespace MTKCompositor
