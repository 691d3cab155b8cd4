#include "CoreGraphics/CGContext.h"

#include <cairo.h>

#include <cmath>

#include "CoreGraphics/CGTextLayout.h"
#include "Runtime/Runtime.h"

std::shared_ptr<CGContext> CGContext::makeBitmap(CGSize size, Options options) {
    if (!(options.scale > 0))
        fatalError("CGContext: the scale of a bitmap context must be positive");
    return std::shared_ptr<CGContext>(new CGContext(size, options));
}

CGContext::CGContext(CGSize size, Options opts) : size_(size), options(opts) {
    int w = std::max(1, int(std::ceil(size.width * opts.scale - 1e-9)));
    int h = std::max(1, int(std::ceil(size.height * opts.scale - 1e-9)));
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cr = cairo_create(surface);
    if (opts.origin == Origin::bottomLeft)
        base = {1, 0, 0, -1, 0, size.height}; // y' = H − y
    State first;
    first.transform = base;
    states.push_back(first);
    applyMatrix();
}

CGContext::~CGContext() {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

void CGContext::applyMatrix() {
    CGAffineTransform t = states.back().transform.concatenating(
        CGAffineTransform::scale(options.scale, options.scale));
    cairo_matrix_t m{t.a, t.b, t.c, t.d, t.tx, t.ty};
    cairo_set_matrix(cr, &m);
}

void CGContext::saveGState() {
    cairo_save(cr);
    State s = states.back();
    s.layerBoundary = false;
    states.push_back(s);
}

void CGContext::restoreGState() {
    // The bottom state and a layer's boundary are popped only by their owners.
    if (states.size() <= 1 || states.back().layerBoundary)
        return;
    states.pop_back();
    cairo_restore(cr);
}

void CGContext::translateBy(CGFloat x, CGFloat y) {
    concatenate(CGAffineTransform::translation(x, y));
}
void CGContext::scaleBy(CGFloat sx, CGFloat sy) {
    concatenate(CGAffineTransform::scale(sx, sy));
}
void CGContext::rotateBy(CGFloat radians) {
    concatenate(CGAffineTransform::rotation(radians));
}

void CGContext::concatenate(const CGAffineTransform& t) {
    states.back().transform = t.concatenating(states.back().transform);
    applyMatrix();
}

CGAffineTransform CGContext::ctm() const {
    return states.back().transform.concatenating(base.inverted());
}

CGAffineTransform CGContext::userToDevicePoints() const {
    return states.back().transform;
}

bool CGContext::isUserSpaceYDown() const {
    return states.back().transform.apply(CGSize{0, 1}).height > 0;
}

void CGContext::setAlpha(CGFloat a) {
    states.back().alpha = std::clamp(a, CGFloat(0), CGFloat(1));
}
CGFloat CGContext::alpha() const {
    return states.back().alpha;
}
void CGContext::setBlendMode(CGBlendMode mode) {
    states.back().blend = mode;
}
void CGContext::setFillColor(const CGColor& color) {
    states.back().fill = color;
}
void CGContext::setStrokeColor(const CGColor& color) {
    states.back().stroke = color;
}
const CGColor& CGContext::fillColor() const {
    return states.back().fill;
}
const CGColor& CGContext::strokeColor() const {
    return states.back().stroke;
}

void CGContext::setLineWidth(CGFloat width) {
    states.back().lineWidth = width;
    cairo_set_line_width(cr, width);
}

void CGContext::setLineCap(CGLineCap cap) {
    cairo_set_line_cap(cr, cap == CGLineCap::round    ? CAIRO_LINE_CAP_ROUND
                           : cap == CGLineCap::square ? CAIRO_LINE_CAP_SQUARE
                                                      : CAIRO_LINE_CAP_BUTT);
}

void CGContext::setLineJoin(CGLineJoin join) {
    cairo_set_line_join(cr, join == CGLineJoin::round   ? CAIRO_LINE_JOIN_ROUND
                            : join == CGLineJoin::bevel ? CAIRO_LINE_JOIN_BEVEL
                                                        : CAIRO_LINE_JOIN_MITER);
}

void CGContext::setLineDash(CGFloat phase, const std::vector<CGFloat>& lengths) {
    cairo_set_dash(cr, lengths.data(), int(lengths.size()), phase);
}

void CGContext::applyPath(const CGPath& path) {
    cairo_new_path(cr);
    for (const CGPathElement& e : path.elements()) {
        const CGPoint* p = e.points;
        switch (e.type) {
        case CGPathElement::Type::moveTo:
            cairo_move_to(cr, p[0].x, p[0].y);
            break;
        case CGPathElement::Type::lineTo:
            cairo_line_to(cr, p[0].x, p[0].y);
            break;
        case CGPathElement::Type::quadCurveTo: {
            // Quadratic → cubic: c1 = p0 + 2/3 (q − p0), c2 = p1 + 2/3 (q − p1).
            double x0, y0;
            cairo_get_current_point(cr, &x0, &y0);
            cairo_curve_to(cr, x0 + 2.0 / 3 * (p[0].x - x0), y0 + 2.0 / 3 * (p[0].y - y0),
                           p[1].x + 2.0 / 3 * (p[0].x - p[1].x),
                           p[1].y + 2.0 / 3 * (p[0].y - p[1].y), p[1].x, p[1].y);
            break;
        }
        case CGPathElement::Type::curveTo:
            cairo_curve_to(cr, p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y);
            break;
        case CGPathElement::Type::closeSubpath:
            cairo_close_path(cr);
            break;
        }
    }
}

void CGContext::applyBlend(CGBlendMode mode) {
    cairo_operator_t op = CAIRO_OPERATOR_OVER;
    switch (mode) {
    case CGBlendMode::normal:
        op = CAIRO_OPERATOR_OVER;
        break;
    case CGBlendMode::multiply:
        op = CAIRO_OPERATOR_MULTIPLY;
        break;
    case CGBlendMode::screen:
        op = CAIRO_OPERATOR_SCREEN;
        break;
    case CGBlendMode::sourceIn:
        op = CAIRO_OPERATOR_IN;
        break;
    case CGBlendMode::sourceAtop:
        op = CAIRO_OPERATOR_ATOP;
        break;
    case CGBlendMode::destinationOut:
        op = CAIRO_OPERATOR_DEST_OUT;
        break;
    case CGBlendMode::copy:
        op = CAIRO_OPERATOR_SOURCE;
        break;
    case CGBlendMode::clear:
        op = CAIRO_OPERATOR_CLEAR;
        break;
    case CGBlendMode::plusLighter:
        op = CAIRO_OPERATOR_ADD;
        break;
    }
    cairo_set_operator(cr, op);
}

namespace {
void setSource(cairo_t* cr, const CGColor& color, CGFloat alpha) {
    CGColor::RGBA c = color.rgba();
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a * alpha);
}
} // namespace

CGDisplayItem CGContext::itemOf(CGDisplayItem::Kind kind, const CGRect& userRect) const {
    const State& s = states.back();
    CGDisplayItem item;
    item.kind = kind;
    item.rect = userRect.applying(s.transform);
    item.alpha = s.alpha * s.layerAlpha;
    item.blendMode = s.blend;
    item.clip = s.clip;
    item.transform = s.transform;
    item.lineWidth = s.lineWidth;
    return item;
}

void CGContext::record(CGDisplayItem item) {
    if (options.recordsDisplayList)
        items.push_back(std::move(item));
}

void CGContext::clip(const CGPath& path, CGPathFillRule rule) {
    State& s = states.back();
    CGRect box = path.boundingBox();
    CGRect device = box.isNull() ? CGRect::null() : box.applying(s.transform);
    s.clip = s.clip ? s.clip->intersection(device) : device;
    applyPath(path);
    cairo_set_fill_rule(cr, rule == CGPathFillRule::evenOdd ? CAIRO_FILL_RULE_EVEN_ODD
                                                            : CAIRO_FILL_RULE_WINDING);
    cairo_clip(cr);
    CGDisplayItem item = itemOf(CGDisplayItem::Kind::clip, box.isNull() ? CGRect::zero() : box);
    record(item);
}

CGRect CGContext::clipBoundingBox() const {
    const State& s = states.back();
    CGRect device = s.clip.value_or(CGRect{0, 0, size_.width, size_.height});
    if (device.isNull())
        return device;
    return device.applying(s.transform.inverted());
}

bool CGContext::intersectsClip(const CGRect& rect) const {
    const State& s = states.back();
    CGRect device = rect.standardized().applying(s.transform);
    CGRect visible = s.clip.value_or(CGRect{0, 0, size_.width, size_.height});
    // Touching counts: anti-aliased edges reach half a pixel beyond a shape.
    return !visible.isNull() && device.minX() <= visible.maxX() &&
           visible.minX() <= device.maxX() && device.minY() <= visible.maxY() &&
           visible.minY() <= device.maxY();
}

void CGContext::beginTransparencyLayer() {
    cairo_push_group(cr); // saves cairo's state as well
    State s = states.back();
    s.layerBoundary = true;
    s.layerAlpha *= s.alpha;
    s.alpha = 1;
    s.blend = CGBlendMode::normal;
    states.push_back(s);
}

void CGContext::endTransparencyLayer() {
    // Close any state saved inside the layer first, as the platform requires.
    while (states.size() > 1 && !states.back().layerBoundary)
        restoreGState();
    if (states.size() <= 1)
        return;
    states.pop_back();
    cairo_pop_group_to_source(cr); // restores cairo's state
    const State& outer = states.back();
    applyBlend(outer.blend);
    cairo_paint_with_alpha(cr, outer.alpha);
}

void CGContext::fillPath(const CGPath& path, CGPathFillRule rule) {
    const State& s = states.back();
    applyPath(path);
    cairo_set_fill_rule(cr, rule == CGPathFillRule::evenOdd ? CAIRO_FILL_RULE_EVEN_ODD
                                                            : CAIRO_FILL_RULE_WINDING);
    setSource(cr, s.fill, s.alpha);
    applyBlend(s.blend);
    cairo_fill(cr);
    CGRect box = path.boundingBox();
    CGDisplayItem item = itemOf(CGDisplayItem::Kind::fill, box.isNull() ? CGRect::zero() : box);
    item.color = s.fill;
    record(item);
}

void CGContext::strokePath(const CGPath& path) {
    const State& s = states.back();
    applyPath(path);
    setSource(cr, s.stroke, s.alpha);
    applyBlend(s.blend);
    cairo_stroke(cr);
    CGRect box = path.boundingBox();
    box = box.isNull() ? CGRect::zero() : box.insetBy(-s.lineWidth / 2, -s.lineWidth / 2);
    CGDisplayItem item = itemOf(CGDisplayItem::Kind::stroke, box);
    item.color = s.stroke;
    record(item);
}

void CGContext::clearRect(const CGRect& rect) {
    applyPath(CGPath::rect(rect));
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_fill(cr);
    CGDisplayItem item = itemOf(CGDisplayItem::Kind::fill, rect.standardized());
    item.blendMode = CGBlendMode::copy;
    item.color = CGColor::rgb(0, 0, 0, 0);
    record(item);
}

template <class Draw> void CGContext::inUprightFrame(const CGRect& r0, Draw&& draw) {
    CGRect r = r0.standardized();
    cairo_save(cr);
    if (isUserSpaceYDown()) {
        cairo_translate(cr, r.minX(), r.minY());
    } else {
        cairo_translate(cr, r.minX(), r.maxY());
        cairo_scale(cr, 1, -1);
    }
    draw(r.width(), r.height());
    cairo_restore(cr);
}

std::optional<CGContext::PixelRect> CGContext::pixelRectOf(const CGRect& rect) const {
    const CGAffineTransform& t = states.back().transform;
    if (t.b != 0 || t.c != 0 || !(t.a > 0) || t.d == 0)
        return std::nullopt;
    CGRect device = rect.standardized().applying(t);
    const CGFloat k = options.scale;
    long x0 = std::lround(device.minX() * k), y0 = std::lround(device.minY() * k);
    long x1 = std::lround(device.maxX() * k), y1 = std::lround(device.maxY() * k);
    if (x1 <= x0 || y1 <= y0)
        return std::nullopt;
    const double area = double(x1 - x0) * double(y1 - y0);
    const double bitmap = std::ceil(size_.width * k) * std::ceil(size_.height * k);
    if (area > 4 * std::max(bitmap, 65536.0))
        return std::nullopt;
    return PixelRect{x0, y0, x1 - x0, y1 - y0};
}

void CGContext::copyRaster(cairo_surface_t* raster, const PixelRect& p,
                           const std::optional<CGColor>& tint) {
    const State& s = states.back();
    cairo_save(cr);
    cairo_identity_matrix(cr); // device pixels: the raster's pixels land on the bitmap's
    cairo_rectangle(cr, double(p.x), double(p.y), double(p.width), double(p.height));
    cairo_clip(cr);
    applyBlend(s.blend);
    if (tint) {
        setSource(cr, *tint, s.alpha);
        cairo_mask_surface(cr, raster, double(p.x), double(p.y));
    } else {
        cairo_set_source_surface(cr, raster, double(p.x), double(p.y));
        cairo_paint_with_alpha(cr, s.alpha);
    }
    cairo_restore(cr);
}

void CGContext::drawImage(const CGImage& image, const CGRect& rect,
                          const std::optional<CGColor>& tint) {
    const State& s = states.back();
    std::optional<PixelRect> pixels;
    if (image.width() > 0 && image.height() > 0 && !rect.isEmpty())
        pixels = pixelRectOf(rect);
    if (pixels) {
        CGImage raster = image.resampled(size_t(pixels->width), size_t(pixels->height));
        copyRaster(raster.surface(), *pixels, tint);
    } else if (image.width() > 0 && image.height() > 0 && !rect.isEmpty()) {
        inUprightFrame(rect, [&](CGFloat w, CGFloat h) {
            cairo_rectangle(cr, 0, 0, w, h);
            cairo_clip(cr);
            cairo_scale(cr, w / CGFloat(image.width()), h / CGFloat(image.height()));
            cairo_pattern_t* pattern = cairo_pattern_create_for_surface(image.surface());
            cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
            cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
            applyBlend(s.blend);
            if (tint) {
                setSource(cr, *tint, s.alpha);
                cairo_mask(cr, pattern);
            } else {
                cairo_set_source(cr, pattern);
                cairo_paint_with_alpha(cr, s.alpha);
            }
            cairo_pattern_destroy(pattern);
        });
    }
    CGDisplayItem item = itemOf(CGDisplayItem::Kind::image, rect.standardized());
    item.imageName = image.name();
    item.color = tint;
    record(item);
}

void CGContext::drawSVG(const CGSVGDocument& document, const CGRect& rect, const std::string& name,
                        const std::optional<CGColor>& tint) {
    const State& s = states.back();
    std::optional<PixelRect> pixels;
    if (!rect.isEmpty())
        pixels = pixelRectOf(rect);
    if (pixels) {
        CGImage raster = document.rasterized(size_t(pixels->width), size_t(pixels->height));
        copyRaster(raster.surface(), *pixels, tint);
    } else if (!rect.isEmpty()) {
        inUprightFrame(rect, [&](CGFloat w, CGFloat h) {
            applyBlend(s.blend);
            if (tint || s.alpha < 1) {
                // Draw the artwork as a group, then composite it (as a mask for a tint).
                cairo_push_group(cr);
                document.render(cr, {0, 0, w, h});
                cairo_pattern_t* group = cairo_pop_group(cr);
                applyBlend(s.blend);
                if (tint) {
                    setSource(cr, *tint, s.alpha);
                    cairo_mask(cr, group);
                } else {
                    cairo_set_source(cr, group);
                    cairo_paint_with_alpha(cr, s.alpha);
                }
                cairo_pattern_destroy(group);
            } else {
                document.render(cr, {0, 0, w, h});
            }
        });
    }
    CGDisplayItem item = itemOf(CGDisplayItem::Kind::image, rect.standardized());
    item.imageName = name;
    item.color = tint;
    record(item);
}

void CGContext::drawText(const std::string& text, const CGFont& font, const CGColor& color,
                         const CGRect& rect, const CGTextOptions& textOptions) {
    const State& s = states.back();
    CGTextLayout::ensureFontsLoaded();
    CGRect logicalBox;
    CGRect r = rect.standardized();
    inUprightFrame(r, [&](CGFloat, CGFloat) {
        PangoContext* context = pango_cairo_create_context(cr);
        CGTextLayout::configure(context);
        PangoLayout* layout = CGTextLayout::makeLayout(context, text, font, textOptions);
        PangoRectangle logical;
        pango_layout_get_extents(layout, nullptr, &logical);
        logicalBox = {CGFloat(logical.x) / PANGO_SCALE, CGFloat(logical.y) / PANGO_SCALE,
                      CGFloat(logical.width) / PANGO_SCALE, CGFloat(logical.height) / PANGO_SCALE};
        setSource(cr, color, s.alpha);
        applyBlend(s.blend);
        cairo_move_to(cr, 0, 0);
        pango_cairo_show_layout(cr, layout);
        g_object_unref(layout);
        g_object_unref(context);
    });
    // The logical box in user space: below the visual top-left corner.
    CGRect userBox = isUserSpaceYDown()
                         ? logicalBox.offsetBy(r.minX(), r.minY())
                         : CGRect{r.minX() + logicalBox.minX(), r.maxY() - logicalBox.maxY(),
                                  logicalBox.width(), logicalBox.height()};
    CGDisplayItem item = itemOf(CGDisplayItem::Kind::text, userBox);
    item.text = text;
    item.fontName = font.name();
    item.fontSize = font.pointSize();
    item.color = color;
    record(item);
}

CGImage CGContext::makeImage() const {
    cairo_surface_flush(surface);
    int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
    cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* c = cairo_create(copy);
    cairo_set_source_surface(c, surface, 0, 0);
    cairo_set_operator(c, CAIRO_OPERATOR_SOURCE);
    cairo_paint(c);
    cairo_destroy(c);
    cairo_surface_flush(copy);
    return CGImage(copy);
}
