// Drawing the laid-out tree into a graphics context, and resolving colours, fonts and
// images for it.

#include "AppKit/NSColor.h"
#include "AppKit/NSImage.h"
#include "CoreGraphics/CGContext.h"
#include "SwiftUI/Modifiers.h"
#include "SwiftUI/Views.h"

namespace SwiftUI {

namespace detail {

void renderNode(const Node& node, CGContext& context) {
    // What lies wholly outside the clip (a window redrawing a small region) is skipped.
    CGRect extent = node.extentInParent();
    if (!extent.isNull() && !context.intersectsClip(extent))
        return;
    context.saveGState();
    context.translateBy(node.frame.origin.x, node.frame.origin.y);
    node.view.primitive().render(node, context);
    context.restoreGState();
}

void renderChildren(const Node& node, CGContext& context) {
    bool transformed = !node.contentTransform.isIdentity();
    if (transformed) {
        context.saveGState();
        context.concatenate(node.contentTransform);
    }
    for (const auto& child : node.children)
        renderNode(*child, context);
    if (transformed)
        context.restoreGState();
}

void Primitive::render(const Node& node, CGContext& context) const {
    renderChildren(node, context);
}

CGColor foreground(const Node& node) {
    return node.environment.foregroundColor.value_or(Color::primary()).resolve();
}

CGFont fontOf(const Node& node) {
    return node.environment.font.value_or(Font::body()).resolve();
}

CGTextOptions textOptions(const Node& node);

void ShapeView::render(const Node& node, CGContext& context) const {
    CGColor c = color ? color->resolve() : foreground(node);
    if (stroked) {
        // The outline is inset by half the line, so the stroke stays in the bounds.
        CGRect r = node.bounds().insetBy(lineWidth / 2, lineWidth / 2);
        if (r.isNull())
            return;
        context.setStrokeColor(c);
        context.setLineWidth(lineWidth);
        context.strokePath(shape.path(r));
    } else {
        context.setFillColor(c);
        context.fillPath(shape.path(node.bounds()));
    }
}

bool ShapeView::hitsContent(const Node& node, CGPoint local) const {
    return shape.contains(node.bounds(), local);
}

void OpacityModifier::render(const Node& node, CGContext& context) const {
    context.saveGState();
    context.setAlpha(context.alpha() * alpha);
    context.beginTransparencyLayer();
    renderChildren(node, context);
    context.endTransparencyLayer();
    context.restoreGState();
}

void ClipModifier::render(const Node& node, CGContext& context) const {
    context.saveGState();
    context.clip(shape.path(node.bounds()));
    renderChildren(node, context);
    context.restoreGState();
}

} // namespace detail

CGColor ColorValue::resolve() const {
    CGColor c = literal;
    if (isAsset()) {
        auto named = NSColor::named(assetName, assetBundle);
        c = named ? named->cgColor() : CGColor::rgb(0, 0, 0, 0).namedAsset(assetName);
    }
    if (opacityFactor != 1)
        c = c.withAlpha(c.alpha() * opacityFactor);
    return c;
}

CGFont Font::resolve() const {
    static const CGFont::Weight weights[] = {CGFont::ultraLight, CGFont::thin,   CGFont::light,
                                             CGFont::regular,    CGFont::medium, CGFont::semibold,
                                             CGFont::bold,       CGFont::heavy,  CGFont::black};
    if (isCustom())
        if (auto face = CGFont::named(faceName, pointSize))
            return *face;
    return CGFont::system(pointSize, weights[int(fontWeight)]);
}

void ViewGraph::render(CGContext& context) const {
    Runtime::assertMainThread("ViewGraph::render");
    detail::renderNode(*root_, context);
}

// ---- Text

CGTextOptions detail::textOptions(const Node& node) {
    CGTextOptions options;
    switch (node.environment.textAlignment) {
    case TextAlignment::leading:
        options.alignment = CGTextOptions::Alignment::left;
        break;
    case TextAlignment::center:
        options.alignment = CGTextOptions::Alignment::center;
        break;
    case TextAlignment::trailing:
        options.alignment = CGTextOptions::Alignment::right;
        break;
    }
    options.letterSpacing = node.environment.tracking;
    return options;
}

namespace {
// A text's measured size, kept by its node while text and font stay the same (shaping
// is most of the cost of laying out a tree of labels).
struct TextMeasurement {
    std::string text;
    CGFont font;
    CGTextOptions::Alignment alignment;
    CGFloat letterSpacing;
    CGSize natural;
    std::vector<std::pair<CGFloat, CGSize>> wrapped; // by width
};

TextMeasurement& measurement(Node& node, const std::string& text, const CGFont& font,
                             const CGTextOptions& options) {
    auto memo = std::static_pointer_cast<TextMeasurement>(node.layoutMemo);
    if (!memo || memo->text != text || !(memo->font == font) ||
        memo->alignment != options.alignment || memo->letterSpacing != options.letterSpacing) {
        memo = std::make_shared<TextMeasurement>(TextMeasurement{text,
                                                                 font,
                                                                 options.alignment,
                                                                 options.letterSpacing,
                                                                 CGTextMeasure(text, font, options),
                                                                 {}});
        node.layoutMemo = memo;
    }
    return *memo;
}

CGSize naturalSize(Node& node, const std::string& text, const CGFont& font,
                   const CGTextOptions& options) {
    return measurement(node, text, font, options).natural;
}

CGSize wrappedSize(Node& node, const std::string& text, const CGFont& font, CGTextOptions options,
                   CGFloat width) {
    auto& memo = measurement(node, text, font, options);
    for (const auto& [w, size] : memo.wrapped)
        if (w == width)
            return size;
    options.width = width;
    CGSize size = CGTextMeasure(text, font, options);
    if (memo.wrapped.size() >= 8) // a few widths recur (stack probes); resizing brings new ones
        memo.wrapped.erase(memo.wrapped.begin());
    memo.wrapped.emplace_back(width, size);
    return size;
}
} // namespace

CGSize Text::sizeThatFits(Node& node, ProposedViewSize proposal) const {
    CGFont font = detail::fontOf(node);
    CGTextOptions options = detail::textOptions(node);
    CGSize natural = naturalSize(node, content, font, options);
    if (!proposal.width || *proposal.width >= natural.width)
        return natural;
    CGSize wrapped =
        wrappedSize(node, content, font, options, std::max<CGFloat>(0, *proposal.width));
    return {std::min(wrapped.width, *proposal.width), wrapped.height};
}

void Text::render(const Node& node, CGContext& context) const {
    CGFont font = detail::fontOf(node);
    CGTextOptions options = detail::textOptions(node);
    CGSize natural = naturalSize(const_cast<Node&>(node), content, font, options);
    if (natural.width > node.size().width || options.alignment != CGTextOptions::Alignment::left)
        options.width = node.size().width;
    context.drawText(content, font, detail::foreground(node), node.bounds(), options);
}

bool Text::hitsContent(const Node& node, CGPoint local) const {
    return node.bounds().contains(local);
}

// ---- Colour

void Color::render(const Node& node, CGContext& context) const {
    context.setFillColor(resolve());
    context.fillRect(node.bounds());
}

bool Color::hitsContent(const Node& node, CGPoint local) const {
    return node.bounds().contains(local);
}

// ---- Divider

void Divider::render(const Node& node, CGContext& context) const {
    context.setFillColor(CGColor::gray(1, 0.1));
    context.fillRect(node.bounds());
}

// ---- Image

Image::Image(std::string name, std::shared_ptr<Bundle> bundle)
    : imageName(std::move(name)), bundle(std::move(bundle)) {}

Image::Image(std::shared_ptr<NSImage> image) : image(std::move(image)) {
    if (this->image)
        imageName = this->image->name();
}

Image Image::systemName(std::string name) {
    Image image{std::shared_ptr<NSImage>()};
    image.symbol = std::move(name);
    image.imageName = image.symbol;
    return image;
}

std::shared_ptr<NSImage> Image::resolved() const {
    if (image)
        return image;
    if (!symbol.empty() || imageName.empty())
        return nullptr;
    // Looked up once per description (a rebuild makes a new one).
    if (!cached)
        cached = NSImage::named(imageName, bundle);
    return cached;
}

static constexpr CGSize symbolSize{13, 13};

CGSize Image::sizeThatFits(Node&, ProposedViewSize proposal) const {
    CGSize natural = symbol.empty() ? (resolved() ? resolved()->size() : CGSize{}) : symbolSize;
    return isResizable ? proposal.replacingUnspecified(natural) : natural;
}

void Image::render(const Node& node, CGContext& context) const {
    CGRect bounds = node.bounds();
    if (!symbol.empty()) {
        // The check mark: a short stroke down and a long one up.
        CGPath mark;
        mark.move({bounds.minX() + bounds.width() * 0.15, bounds.midY()});
        mark.addLine({bounds.minX() + bounds.width() * 0.4, bounds.maxY() - bounds.height() * 0.2});
        mark.addLine(
            {bounds.maxX() - bounds.width() * 0.1, bounds.minY() + bounds.height() * 0.15});
        context.setStrokeColor(detail::foreground(node));
        context.setLineWidth(1.5);
        context.strokePath(mark);
        return;
    }
    auto source = resolved();
    if (!source)
        return;
    std::optional<CGColor> tint;
    if (source->isTemplate)
        tint = detail::foreground(node);
    if (!isResizable || capInsets == EdgeInsets{}) {
        source->draw(context, bounds, tint);
        return;
    }
    // The corners keep their size, the edges and the centre stretch.
    auto sliced = source->copy();
    sliced->capInsets = {capInsets.top, capInsets.leading, capInsets.bottom, capInsets.trailing};
    sliced->draw(context, bounds, tint);
}

bool Image::hitsContent(const Node& node, CGPoint local) const {
    return node.bounds().contains(local);
}

} // namespace SwiftUI
