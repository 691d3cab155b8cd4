#pragma once
// Stands in for CGContext: the one graphics context every drawing goes through. It
// draws with cairo into a bitmap (which can be read back or written as PNG) and can
// also record a display list of what was drawn, for tests to assert on: images by
// name and rectangle, text runs with font, size and colour, path fills and strokes
// with colour, clips, and the opacity in force.
//
// Coordinates. A bitmap context is `size` points at `scale` pixels per point. Its base
// user space has its origin at the bottom-left with y up, as the platform's bitmap
// contexts do (Origin::topLeft gives a y-down base space instead). Recorded rectangles
// are in "device points": the bitmap's pixels divided by the scale, origin top-left,
// y down, whatever transforms were in force, i.e. where a person sees the thing.
// Images and text are always drawn upright (as NSImage's drawInRect with
// respectFlipped does): in a y-up space their top is at the rectangle's maxY.
// Where the transform only scales and translates, an image lands on whole device
// pixels and is drawn from a raster of exactly that size, rendered once per size and
// kept with the image (see CGImage.h): drawing it again is a plain copy.
//
// Left out: shadows, gradients (the callers fill paths), patterns, PDF contexts,
// text matrices and glyph-level text, interpolation quality, anti-aliasing control.
// Thread: a context belongs to the thread that draws into it; not real-time safe.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CoreGraphics/CGColor.h"
#include "CoreGraphics/CGFont.h"
#include "CoreGraphics/CGGeometry.h"
#include "CoreGraphics/CGImage.h"
#include "CoreGraphics/CGPath.h"

enum class CGBlendMode {
    normal,
    multiply,
    screen,
    sourceIn,
    sourceAtop,
    destinationOut,
    copy,
    clear,
    plusLighter
};
enum class CGLineCap { butt, round, square };
enum class CGLineJoin { miter, round, bevel };
enum class CGPathFillRule { winding, evenOdd };

// One recorded drawing operation.
struct CGDisplayItem {
    enum class Kind { image, text, fill, stroke, clip };
    Kind kind = Kind::fill;
    // Bounding box in device points (origin top-left, y down): of the image, of the
    // text's logical extents, of the path (a stroke grows by half the line width), of
    // the clip path.
    CGRect rect;
    // Image: its name ("" for an unnamed bitmap).
    std::string imageName;
    // Text: the run, the font's name and point size.
    std::string text;
    std::string fontName;
    CGFloat fontSize = 0;
    // Fill, stroke and text colour; the tint of a tinted (template) image.
    std::optional<CGColor> color;
    // The opacity in force: the state's alpha times that of every enclosing
    // transparency layer (a colour's own alpha is in `color`).
    CGFloat alpha = 1;
    CGFloat lineWidth = 0;
    CGBlendMode blendMode = CGBlendMode::normal;
    // The bounds of the clip in force, in device points; none when unclipped.
    std::optional<CGRect> clip;
    // User space → device points when the operation ran.
    CGAffineTransform transform;
};

class CGContext {
  public:
    enum class Origin { bottomLeft, topLeft };
    struct Options {
        CGFloat scale = 1;
        Origin origin = Origin::bottomLeft;
        bool recordsDisplayList = false;
    };

    // A transparent bitmap of ceil(size × scale) pixels.
    static std::shared_ptr<CGContext> makeBitmap(CGSize size, Options options);
    static std::shared_ptr<CGContext> makeBitmap(CGSize size) {
        return makeBitmap(size, Options{});
    }
    ~CGContext();
    CGContext(const CGContext&) = delete;
    CGContext& operator=(const CGContext&) = delete;

    CGSize size() const { return size_; }
    CGFloat scale() const { return options.scale; }

    // Graphics state: transform, alpha, colours, line, blend mode and clip.
    void saveGState();
    void restoreGState();

    void translateBy(CGFloat x, CGFloat y);
    void scaleBy(CGFloat sx, CGFloat sy);
    void rotateBy(CGFloat radians);
    void concatenate(const CGAffineTransform& t);
    // User space → base space (the platform's CTM without the device scale).
    CGAffineTransform ctm() const;
    // User space → device points.
    CGAffineTransform userToDevicePoints() const;
    // True when y grows downwards on the bitmap in the current user space.
    bool isUserSpaceYDown() const;

    void setAlpha(CGFloat alpha);
    CGFloat alpha() const;
    void setBlendMode(CGBlendMode mode);
    void setFillColor(const CGColor& color);
    void setStrokeColor(const CGColor& color);
    const CGColor& fillColor() const;
    const CGColor& strokeColor() const;
    void setLineWidth(CGFloat width);
    void setLineCap(CGLineCap cap);
    void setLineJoin(CGLineJoin join);
    void setLineDash(CGFloat phase, const std::vector<CGFloat>& lengths);

    // Intersects the clip with a path or rectangle (user space).
    void clip(const CGPath& path, CGPathFillRule rule = CGPathFillRule::winding);
    void clip(const CGRect& rect) { clip(CGPath::rect(rect)); }
    // The clip's bounds in user space; null when everything is clipped away, or the
    // whole bitmap when there is no clip.
    CGRect clipBoundingBox() const;
    // Whether some of `rect` (user space) may show: it meets the clip's bounds (the
    // bitmap's when unclipped). Drawing code skips what cannot.
    bool intersectsClip(const CGRect& rect) const;

    // Everything drawn until the matching end is composited as one group with the
    // alpha in force at the beginning (the alpha inside starts at 1).
    void beginTransparencyLayer();
    void endTransparencyLayer();

    // Drawing with the state's colours, line and alpha.
    void fillPath(const CGPath& path, CGPathFillRule rule = CGPathFillRule::winding);
    void strokePath(const CGPath& path);
    void fillRect(const CGRect& rect) { fillPath(CGPath::rect(rect)); }
    void strokeRect(const CGRect& rect) { strokePath(CGPath::rect(rect)); }
    void fillEllipse(const CGRect& rect) { fillPath(CGPath::ellipse(rect)); }
    // Makes the rectangle transparent (recorded as a fill with the copy mode).
    void clearRect(const CGRect& rect);

    // A bitmap stretched into `rect`, upright; with a tint, its alpha channel filled
    // with that colour (how template images draw).
    void drawImage(const CGImage& image, const CGRect& rect,
                   const std::optional<CGColor>& tint = {});
    // Vector artwork stretched into `rect`, upright, recorded with `name`.
    void drawSVG(const CGSVGDocument& document, const CGRect& rect, const std::string& name,
                 const std::optional<CGColor>& tint = {});
    // Text laid out from the rectangle's visual top-left corner (its origin in a
    // y-down space, (minX, maxY) in a y-up space); `rect`'s size does not clip.
    void drawText(const std::string& text, const CGFont& font, const CGColor& color,
                  const CGRect& rect, const CGTextOptions& options = {});
    // Text in the rectangle {at, its measured size}: it starts at `at` in a y-down
    // space and rises from `at` in a y-up space (as AppKit draws at a point).
    void drawText(const std::string& text, const CGFont& font, const CGColor& color, CGPoint at) {
        drawText(text, font, color, CGRect{at, CGTextMeasure(text, font)});
    }

    // The recorded operations, in drawing order (empty unless recording).
    const std::vector<CGDisplayItem>& displayList() const { return items; }
    // The recorded operations of one kind, in drawing order.
    std::vector<CGDisplayItem> displayItems(CGDisplayItem::Kind kind) const {
        std::vector<CGDisplayItem> found;
        for (const CGDisplayItem& item : items)
            if (item.kind == kind)
                found.push_back(item);
        return found;
    }
    bool recordsDisplayList() const { return options.recordsDisplayList; }
    void clearDisplayList() { items.clear(); }

    // A copy of the bitmap as it is now.
    CGImage makeImage() const;
    bool writePNG(const std::string& path) const { return makeImage().writePNG(path); }

    // The cairo context underneath, for platform code that draws with cairo directly
    // (its matrix is the current user space; drawing through it is not recorded).
    cairo_t* cairo() const { return cr; }

  private:
    struct State {
        CGAffineTransform transform; // user → device points
        CGFloat alpha = 1;
        CGBlendMode blend = CGBlendMode::normal;
        CGColor fill = CGColor::rgb(0, 0, 0, 1);
        CGColor stroke = CGColor::rgb(0, 0, 0, 1);
        CGFloat lineWidth = 1;
        std::optional<CGRect> clip; // device points
        bool layerBoundary = false; // pushed by beginTransparencyLayer
        CGFloat layerAlpha = 1;     // product of the enclosing layers' alphas
    };

    CGContext(CGSize size, Options options);
    void applyMatrix();
    void applyPath(const CGPath& path);
    void applyBlend(CGBlendMode mode);
    void record(CGDisplayItem item);
    CGDisplayItem itemOf(CGDisplayItem::Kind kind, const CGRect& userRect) const;
    // Runs `draw` in a y-down frame whose origin is `rect`'s visual top-left corner.
    template <class Draw> void inUprightFrame(const CGRect& rect, Draw&& draw);
    // The device pixels an upright image drawn into `rect` covers, edges rounded to
    // whole pixels; none when the transform rotates, shears or mirrors x, or when the
    // raster would be far larger than the bitmap (a slice of stretched artwork).
    struct PixelRect {
        long x, y, width, height;
    };
    std::optional<PixelRect> pixelRectOf(const CGRect& rect) const;
    // Composites a raster of the pixel rectangle's size onto it, with the state's
    // alpha and blend mode (through its alpha as a mask, with a tint).
    void copyRaster(cairo_surface_t* raster, const PixelRect& pixels,
                    const std::optional<CGColor>& tint);

    CGSize size_;
    Options options;
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    CGAffineTransform base; // base space → device points
    std::vector<State> states;
    std::vector<CGDisplayItem> items;
};
