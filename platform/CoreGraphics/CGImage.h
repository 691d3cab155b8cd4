#pragma once
// Stands in for CGImage (a bitmap) and for the vector artwork the asset catalogues
// hold (an SVG document rendered by librsvg at any scale). Bitmaps are immutable
// cairo image surfaces (premultiplied 32-bit ARGB), shared between copies.
// A name travels with images that come from a catalogue, for recorded drawing.
// Both keep the rasters that drawing asks of them at a pixel size (a bitmap stretched,
// a document rendered), a few sizes each, so that drawing an image again at the same
// size and scale is a plain copy of pixels.
// Left out: colour spaces other than sRGB, 16-bit images, image sources, masks.
// Thread: any (values are immutable once made).

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "CoreGraphics/CGColor.h"
#include "CoreGraphics/CGGeometry.h"

typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo cairo_t;

class CGImage {
  public:
    // Decoding PNG files and data (through cairo's libpng reader); none when unreadable.
    static std::optional<CGImage> fromPNGFile(const std::string& path);
    static std::optional<CGImage> fromPNGData(std::span<const uint8_t> data);
    // A transparent bitmap of the given pixel size.
    static CGImage blank(size_t pixelWidth, size_t pixelHeight);

    size_t width() const;
    size_t height() const;
    CGSize size() const { return {CGFloat(width()), CGFloat(height())}; }

    // A pixel, un-premultiplied, 0…255 per channel; (0, 0) is the top-left pixel.
    struct Pixel {
        uint8_t r, g, b, a;
        friend bool operator==(const Pixel&, const Pixel&) = default;
    };
    Pixel pixel(size_t x, size_t y) const;
    // The rows of pixels, top row first: 32-bit premultiplied ARGB words in native
    // byte order (what a window's backing surface takes), bytesPerRow apart.
    const uint8_t* bytes() const;
    size_t bytesPerRow() const;

    // PNG encoding (8 bits per channel, with alpha); false / empty on failure.
    bool writePNG(const std::string& path) const;
    std::vector<uint8_t> pngData() const;
    // PNG encoding with 8 or 16 bits per channel and alpha, the colours converted to
    // `space` (sRGB or Display P3) and its chromaticities recorded; empty on failure
    // or for another space or depth.
    std::vector<uint8_t> pngData(CGColorSpace space, int bitsPerComponent) const;

    const std::string& name() const { return name_; }
    CGImage named(std::string name) const;

    // The underlying surface, for the drawing code of the platform layer.
    cairo_surface_t* surface() const { return surface_.get(); }
    // The image stretched to `pixelWidth` × `pixelHeight` (smoothly filtered): itself at
    // its own size, else made once per size and kept with the image's pixels (shared by
    // its copies) while they live. Unnamed.
    CGImage resampled(size_t pixelWidth, size_t pixelHeight) const;
    // How many stretched copies the image's pixels keep now.
    size_t cachedResampleCount() const;
    explicit CGImage(cairo_surface_t* adoptedSurface);

  private:
    std::shared_ptr<cairo_surface_t> surface_;
    std::string name_;
};

// A parsed SVG document: its intrinsic size in points and rendering into any
// rectangle of a cairo context, or into a bitmap at a scale.
class CGSVGDocument {
  public:
    static std::optional<CGSVGDocument> fromFile(const std::string& path);
    static std::optional<CGSVGDocument> fromData(std::span<const uint8_t> data);

    // Width and height attributes in points (the view box when they are missing).
    CGSize size() const { return size_; }
    // Renders the document stretched into `rect` of `cr` (user space, y down).
    void render(cairo_t* cr, const CGRect& rect) const;
    // A bitmap of size × scale pixels.
    CGImage rasterize(CGFloat scale) const;
    // The document stretched onto `pixelWidth` × `pixelHeight` pixels: rendered once per
    // size and kept with the document (shared by its copies) while it lives.
    CGImage rasterized(size_t pixelWidth, size_t pixelHeight) const;
    // How many rendered sizes the document keeps now.
    size_t cachedRasterCount() const;

  private:
    struct Handle;
    std::shared_ptr<Handle> handle;
    CGSize size_;
};
