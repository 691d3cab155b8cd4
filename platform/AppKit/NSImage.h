#pragma once
// Stands in for NSImage: an image of a size in points, backed by vector artwork
// (SVG, drawn sharp at any scale), a bitmap (PNG or drawn with lockFocus), or a
// drawing handler. Named images come from a bundle's asset catalogue. Drawing goes to
// the current graphics context, upright, stretched into a rectangle, with an opacity
// and a compositing operation; template images can be drawn tinted.
// Resizing caps (capInsets) keep an image's edges at their size when it is drawn into a
// rectangle of another size.
// Left out: image representations other than the one backing, source rectangles,
// tiled resizing, animated images, TIFF/PDF.
// Thread: main thread for drawing and lockFocus; any for making images.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "CoreGraphics/CGContext.h"
#include "CoreGraphics/CGImage.h"
#include "Runtime/Runtime.h"

class Bundle;
class NSColor;
class NSImageRep;

// The platform's compositing operations that drawing code uses.
enum class NSCompositingOperation {
    clear,
    copy,
    sourceOver,
    sourceIn,
    sourceAtop,
    destinationOut,
    plusLighter
};

class NSImage : public NSObject {
  public:
    // The image asset `name` of the bundle's asset catalogue (the main bundle's when
    // `bundle` is null): a new image object each call; nullptr when there is none.
    static std::shared_ptr<NSImage> named(const std::string& name,
                                          const std::shared_ptr<Bundle>& bundle = nullptr);
    // An image file (.svg or .png); nullptr when unreadable.
    static std::shared_ptr<NSImage> contentsOfFile(const std::string& path);
    static std::shared_ptr<NSImage> withSVG(const CGSVGDocument& document, std::string name = {});
    // A bitmap shown at `size` points (its pixel size when `size` is zero).
    static std::shared_ptr<NSImage> withCGImage(const CGImage& image, CGSize size = {});
    // An image drawn on demand: the handler draws into the current context in a
    // space of `size` points (y down when `flipped`), and returns whether it drew.
    static std::shared_ptr<NSImage> withSize(CGSize size, bool flipped,
                                             std::function<bool(CGRect)> drawingHandler);
    // An empty (transparent) image of `size` to draw into with lockFocus.
    static std::shared_ptr<NSImage> blank(CGSize size);

    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }
    CGSize size() const { return size_; }
    void setSize(CGSize size) { size_ = size; }
    bool isTemplate = false;
    // capInsets: drawn into a rectangle of another size, the image keeps its corners at
    // their size, stretches its edges along their length and its centre both ways (each
    // of the up to nine slices drawn as the whole image scaled, clipped to the slice);
    // zero insets stretch the whole image.
    NSEdgeInsets capInsets;
    bool isVector() const { return std::holds_alternative<CGSVGDocument>(backing); }

    // Draws the image stretched into `rect` of the current graphics context.
    void draw(const CGRect& rect,
              NSCompositingOperation operation = NSCompositingOperation::sourceOver,
              CGFloat fraction = 1) const;
    void draw(CGPoint at, NSCompositingOperation operation = NSCompositingOperation::sourceOver,
              CGFloat fraction = 1) const {
        draw(CGRect{at, size_}, operation, fraction);
    }
    // Draws the image's alpha filled with `color` (how template images are shown).
    void drawTinted(const CGRect& rect, const NSColor& color, CGFloat fraction = 1) const;
    // Draws into a given context (not necessarily the current one).
    void draw(CGContext& context, const CGRect& rect,
              const std::optional<CGColor>& tint = {}) const;

    // A bitmap of the image at `scale` pixels per point.
    CGImage cgImage(CGFloat scale = 1) const;

    // Drawing into the image: lockFocus makes a bitmap of the image (2 pixels per
    // point, holding what the image showed) the current context; unlockFocus makes
    // that bitmap the image's content.
    void lockFocus();
    void unlockFocus();

    std::shared_ptr<NSImage> copy() const;

    // Renditions added to the image (an icon's sizes); an image made from artwork or
    // a bitmap lists none of its own.
    const std::vector<std::shared_ptr<NSImageRep>>& representations() const { return reps; }
    void addRepresentation(std::shared_ptr<NSImageRep> rep) { reps.push_back(std::move(rep)); }
    void addRepresentations(const std::vector<std::shared_ptr<NSImageRep>>& more) {
        reps.insert(reps.end(), more.begin(), more.end());
    }
    void removeRepresentation(const std::shared_ptr<NSImageRep>& rep);
    // A new image of no size, no content and no representations.
    static std::shared_ptr<NSImage> empty();

  protected:
    NSImage() = default;

  private:
    // The whole image stretched into `rect`, whatever its caps.
    void drawStretched(CGContext& context, const CGRect& rect,
                       const std::optional<CGColor>& tint) const;
    struct Bitmap {
        CGImage image;
    };
    struct Drawn {
        bool flipped;
        std::function<bool(CGRect)> handler;
    };
    std::variant<std::monostate, CGSVGDocument, Bitmap, Drawn> backing;
    std::string name_;
    CGSize size_;
    std::shared_ptr<CGContext> focus;
    std::vector<std::shared_ptr<NSImageRep>> reps;
};
