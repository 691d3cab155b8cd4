#include "AppKit/NSImage.h"

#include <algorithm>

#include <cmath>
#include <filesystem>

#include "AppKit/NSColor.h"
#include "AppKit/NSGraphicsContext.h"

namespace {
// Pixels per point of bitmaps drawn with lockFocus.
constexpr CGFloat focusScale = 2;

CGBlendMode blendMode(NSCompositingOperation op) {
    switch (op) {
    case NSCompositingOperation::clear:
        return CGBlendMode::clear;
    case NSCompositingOperation::copy:
        return CGBlendMode::copy;
    case NSCompositingOperation::sourceOver:
        return CGBlendMode::normal;
    case NSCompositingOperation::sourceIn:
        return CGBlendMode::sourceIn;
    case NSCompositingOperation::sourceAtop:
        return CGBlendMode::sourceAtop;
    case NSCompositingOperation::destinationOut:
        return CGBlendMode::destinationOut;
    case NSCompositingOperation::plusLighter:
        return CGBlendMode::plusLighter;
    }
    return CGBlendMode::normal;
}
} // namespace

std::shared_ptr<NSImage> NSImage::contentsOfFile(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::string stem = std::filesystem::path(path).stem().string();
    if (extension == ".svg") {
        auto doc = CGSVGDocument::fromFile(path);
        return doc ? withSVG(*doc, stem) : nullptr;
    }
    auto bitmap = CGImage::fromPNGFile(path);
    if (!bitmap)
        return nullptr;
    auto image = withCGImage(*bitmap);
    image->name_ = stem;
    return image;
}

std::shared_ptr<NSImage> NSImage::withSVG(const CGSVGDocument& document, std::string name) {
    auto image = make<NSImage>();
    image->backing = document;
    image->size_ = document.size();
    image->name_ = std::move(name);
    return image;
}

std::shared_ptr<NSImage> NSImage::withCGImage(const CGImage& bitmap, CGSize size) {
    auto image = make<NSImage>();
    image->backing = Bitmap{bitmap};
    image->size_ = (size.width > 0 && size.height > 0) ? size : bitmap.size();
    image->name_ = bitmap.name();
    return image;
}

std::shared_ptr<NSImage> NSImage::withSize(CGSize size, bool flipped,
                                           std::function<bool(CGRect)> handler) {
    auto image = make<NSImage>();
    image->backing = Drawn{flipped, std::move(handler)};
    image->size_ = size;
    return image;
}

std::shared_ptr<NSImage> NSImage::blank(CGSize size) {
    auto image = make<NSImage>();
    image->size_ = size;
    return image;
}

void NSImage::draw(CGContext& c, const CGRect& rect, const std::optional<CGColor>& tint) const {
    const NSEdgeInsets& caps = capInsets;
    if (caps == NSEdgeInsets{} || size_.width <= 0 || size_.height <= 0) {
        drawStretched(c, rect, tint);
        return;
    }
    // Nine slices, as offsets from the image's left and top edges as a person sees them:
    // source s = {0, cap, extent − cap, extent}, destination d likewise over `rect`; the
    // slice (col, row) is the whole image scaled by (dw / sw, dh / sh), placed so that its
    // source slice lands on the destination slice, clipped to that slice.
    const CGRect r = rect.standardized();
    const CGFloat sx[4] = {0, caps.left, size_.width - caps.right, size_.width};
    const CGFloat sy[4] = {0, caps.top, size_.height - caps.bottom, size_.height};
    const CGFloat dx[4] = {0, caps.left, r.width() - caps.right, r.width()};
    const CGFloat dy[4] = {0, caps.top, r.height() - caps.bottom, r.height()};
    // An upright image's top edge lies at minY in a y-down space, at maxY in a y-up one.
    const bool yDown = c.isUserSpaceYDown();
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            const CGFloat sw = sx[col + 1] - sx[col], sh = sy[row + 1] - sy[row];
            const CGFloat dw = dx[col + 1] - dx[col], dh = dy[row + 1] - dy[row];
            if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0)
                continue;
            const CGFloat kx = dw / sw, ky = dh / sh;
            const CGFloat top = dy[row] - sy[row] * ky; // the scaled image's top, from r's top
            const CGFloat sliceY = yDown ? r.minY() + dy[row] : r.maxY() - dy[row + 1];
            const CGFloat imageY = yDown ? r.minY() + top : r.maxY() - top - size_.height * ky;
            c.saveGState();
            c.clip(CGRect{r.minX() + dx[col], sliceY, dw, dh});
            drawStretched(
                c, {r.minX() + dx[col] - sx[col] * kx, imageY, size_.width * kx, size_.height * ky},
                tint);
            c.restoreGState();
        }
}

void NSImage::drawStretched(CGContext& c, const CGRect& rect,
                            const std::optional<CGColor>& tint) const {
    if (auto* svg = std::get_if<CGSVGDocument>(&backing)) {
        c.drawSVG(*svg, rect, name_, tint);
    } else if (auto* bitmap = std::get_if<Bitmap>(&backing)) {
        c.drawImage(bitmap->image.named(name_), rect, tint);
    } else if (auto* drawn = std::get_if<Drawn>(&backing)) {
        if (size_.width <= 0 || size_.height <= 0)
            return;
        if (tint) {
            // A tint needs the drawing's alpha: draw it into a bitmap first.
            c.drawImage(cgImage(std::max(focusScale, c.scale())).named(name_), rect, tint);
            return;
        }
        CGRect r = rect.standardized();
        c.saveGState();
        // Map the image's space onto the rectangle, upright like any other image.
        bool sameAxis = c.isUserSpaceYDown() == drawn->flipped;
        c.translateBy(r.minX(), sameAxis ? r.minY() : r.maxY());
        c.scaleBy(r.width() / size_.width, (sameAxis ? 1 : -1) * r.height() / size_.height);
        auto current = NSGraphicsContext::current();
        if (current && &current->cgContext() == &c) {
            drawn->handler({{0, 0}, size_});
        } else {
            // The handler draws into the current context: make `c` current (not owned).
            NSGraphicsContext::Scope scope(std::shared_ptr<CGContext>(std::shared_ptr<void>(), &c));
            drawn->handler({{0, 0}, size_});
        }
        c.restoreGState();
    }
}

void NSImage::draw(const CGRect& rect, NSCompositingOperation operation, CGFloat fraction) const {
    auto current = NSGraphicsContext::current();
    if (!current)
        return;
    CGContext& c = current->cgContext();
    c.saveGState();
    c.setAlpha(c.alpha() * fraction);
    c.setBlendMode(blendMode(operation));
    draw(c, rect);
    c.restoreGState();
}

void NSImage::drawTinted(const CGRect& rect, const NSColor& color, CGFloat fraction) const {
    auto current = NSGraphicsContext::current();
    if (!current)
        return;
    CGContext& c = current->cgContext();
    c.saveGState();
    c.setAlpha(c.alpha() * fraction);
    draw(c, rect, color.cgColor());
    c.restoreGState();
}

CGImage NSImage::cgImage(CGFloat scale) const {
    if (auto* bitmap = std::get_if<Bitmap>(&backing))
        return bitmap->image;
    if (auto* svg = std::get_if<CGSVGDocument>(&backing))
        return svg->rasterize(scale);
    CGSize size = {std::max<CGFloat>(size_.width, 1), std::max<CGFloat>(size_.height, 1)};
    auto context = CGContext::makeBitmap(size, {.scale = scale});
    if (std::holds_alternative<Drawn>(backing)) {
        NSGraphicsContext::Scope scope(context);
        draw(*context, {{0, 0}, size_});
    }
    return context->makeImage();
}

void NSImage::lockFocus() {
    Runtime::assertMainThread("NSImage.lockFocus");
    focus = CGContext::makeBitmap(size_, {.scale = focusScale});
    NSGraphicsContext::push(make<NSGraphicsContext>(focus));
    if (!std::holds_alternative<std::monostate>(backing))
        draw(*focus, {{0, 0}, size_});
}

void NSImage::unlockFocus() {
    Runtime::assertMainThread("NSImage.unlockFocus");
    if (!focus)
        return;
    NSGraphicsContext::pop();
    backing = Bitmap{focus->makeImage()};
    focus.reset();
}

std::shared_ptr<NSImage> NSImage::empty() {
    return make<NSImage>();
}

void NSImage::removeRepresentation(const std::shared_ptr<NSImageRep>& rep) {
    reps.erase(std::remove(reps.begin(), reps.end(), rep), reps.end());
}

std::shared_ptr<NSImage> NSImage::copy() const {
    auto image = make<NSImage>();
    image->backing = backing;
    image->name_ = name_;
    image->size_ = size_;
    image->isTemplate = isTemplate;
    image->capInsets = capInsets;
    image->reps = reps;
    return image;
}
