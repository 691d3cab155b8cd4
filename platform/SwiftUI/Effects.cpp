#include "SwiftUI/Effects.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "CoreGraphics/CGContext.h"
#include "SwiftUI/ViewGraph.h"

namespace SwiftUI {
namespace detail {
namespace {

// One box-blur pass over a plane of floats, along rows (stride 1) or columns.
void boxPass(std::vector<float>& plane, int w, int h, int half, bool alongRows) {
    if (half <= 0)
        return;
    const int length = alongRows ? w : h, lines = alongRows ? h : w;
    std::vector<float> line(static_cast<size_t>(length));
    const float scale = 1.0f / float(2 * half + 1);
    for (int l = 0; l < lines; ++l) {
        auto at = [&](int i) -> float& {
            return alongRows ? plane[size_t(l * w + i)] : plane[size_t(i * w + l)];
        };
        for (int i = 0; i < length; ++i)
            line[size_t(i)] = at(i);
        float sum = 0;
        for (int i = -half; i <= half; ++i)
            sum += (i >= 0 && i < length) ? line[size_t(i)] : 0;
        for (int i = 0; i < length; ++i) {
            at(i) = sum * scale;
            int out = i - half, in = i + half + 1;
            sum += (in < length ? line[size_t(in)] : 0) - (out >= 0 ? line[size_t(out)] : 0);
        }
    }
}

struct ShadowImage {
    CGSize size;
    CGFloat scale = 0;
    CGFloat margin = 0;
    std::optional<CGImage> image;
};

} // namespace

void ShadowModifier::build(Node& node, ViewContext& ctx) const {
    node.layoutMemo.reset(); // the content may have changed: blur it again
    Modifier::build(node, ctx);
}

void ShadowModifier::render(const Node& node, CGContext& context) const {
    const CGSize size = node.size();
    const CGFloat scale = context.scale();
    const CGFloat margin = std::ceil(radius * 1.5f) + 2;
    auto memo = std::static_pointer_cast<ShadowImage>(node.layoutMemo);
    if (!memo || memo->size != size || memo->scale != scale) {
        memo = std::make_shared<ShadowImage>();
        memo->size = size, memo->scale = scale, memo->margin = margin;
        const CGSize padded{size.width + 2 * margin, size.height + 2 * margin};
        auto offscreen =
            CGContext::makeBitmap(padded, {.scale = scale, .origin = CGContext::Origin::topLeft});
        offscreen->translateBy(margin, margin);
        Primitive::render(node, *offscreen);
        CGImage silhouette = offscreen->makeImage();
        const int w = int(silhouette.width()), h = int(silhouette.height());
        std::vector<float> alpha(size_t(w * h));
        for (int py = 0; py < h; ++py) {
            const auto* row = reinterpret_cast<const uint32_t*>(
                silhouette.bytes() + size_t(py) * silhouette.bytesPerRow());
            for (int px = 0; px < w; ++px)
                alpha[size_t(py * w + px)] = float(row[px] >> 24) / 255.0f;
        }
        // Three boxes of width √(12σ²/3 + 1) make a Gaussian of deviation σ.
        const double sigma = radius / 2 * scale;
        const int half = sigma > 0 ? int(std::floor(std::sqrt(4 * sigma * sigma + 1) / 2)) : 0;
        for (int pass = 0; pass < 3; ++pass) {
            boxPass(alpha, w, h, half, true);
            boxPass(alpha, w, h, half, false);
        }
        const CGColor::RGBA c = color.resolve().rgba();
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
        cairo_surface_flush(surface);
        unsigned char* data = cairo_image_surface_get_data(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        for (int py = 0; py < h; ++py)
            for (int px = 0; px < w; ++px) {
                double a = std::clamp(double(alpha[size_t(py * w + px)]) * c.a, 0.0, 1.0);
                auto channel = [&](double v) {
                    return uint32_t(std::lround(std::clamp(v, 0.0, 1.0) * a * 255));
                };
                reinterpret_cast<uint32_t*>(data + py * stride)[px] =
                    uint32_t(std::lround(a * 255)) << 24 | channel(c.r) << 16 | channel(c.g) << 8 |
                    channel(c.b);
            }
        cairo_surface_mark_dirty(surface);
        memo->image = CGImage(surface);
        const_cast<Node&>(node).layoutMemo = memo;
    }
    context.drawImage(*memo->image,
                      {x - memo->margin, y - memo->margin, size.width + 2 * memo->margin,
                       size.height + 2 * memo->margin});
    Primitive::render(node, context);
}

void PreferredColorSchemeModifier::build(Node& node, ViewContext& ctx) const {
    EnvironmentValues environment = node.environment;
    environment.colorScheme = scheme;
    ctx.setChildren({content}, environment);
}

std::optional<ColorScheme> preferredColorScheme(const Node& node) {
    if (auto* m = dynamic_cast<const PreferredColorSchemeModifier*>(&node.view.primitive()))
        return m->scheme;
    for (const auto& child : node.children)
        if (auto found = preferredColorScheme(*child))
            return found;
    return std::nullopt;
}

} // namespace detail
} // namespace SwiftUI
