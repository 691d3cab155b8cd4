#include "AppKitSupport/AppKitExtensions.h"

#include "AppKit/NSBox.h"
#include "AppKit/NSButton.h"
#include "AppKit/NSColor.h"
#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSImageView.h"
#include "AppKit/NSMenu.h"
#include "AppKit/NSText.h"
#include "AppKit/NSTextField.h"
#include "AppKit/NSWindow.h"
#include "AppKitSupport/Geometry.h"

bool isAlternateClick(const NSEvent& event) {
    return event.type() == NSEvent::Type::rightMouseDown ||
           (event.type() == NSEvent::Type::leftMouseDown &&
            (event.modifierFlags() & NSEvent::control));
}

bool isLeftButtonDown() {
    return NSEvent::pressedMouseButtons() & 1u;
}
bool isRightButtonDown() {
    return NSEvent::pressedMouseButtons() & 2u;
}

std::optional<std::vector<uint8_t>> pngP3Data(const NSImage& image) {
    if (image.size().width <= 0 || image.size().height <= 0)
        return std::nullopt;
    return pngP3Data(image.cgImage());
}

std::shared_ptr<NSImage> withAlpha(const NSImage& image, CGFloat alpha) {
    auto result = NSImage::blank(image.size());
    result->lockFocus();
    image.draw(bounds(image), NSCompositingOperation::sourceOver, alpha);
    result->unlockFocus();
    return result;
}

std::shared_ptr<NSImage> withPadding(const NSImage& image, std::optional<CGFloat> leading) {
    CGFloat padding = leading.value_or(0);
    auto result = NSImage::blank({width(image) + padding, height(image)});
    result->lockFocus();
    image.draw(CGRect{padding, 0, width(image), height(image)});
    result->unlockFocus();
    return result;
}

std::shared_ptr<NSImage> renderedIfTemplate(const std::shared_ptr<NSImage>& image,
                                            const NSColor& color) {
    if (!image->isTemplate)
        return image;
    auto copy = image->copy();
    copy->isTemplate = false;
    copy->lockFocus();
    // Source-in: the colour where the image is opaque.
    auto tinted = image->copy();
    tinted->isTemplate = false;
    NSGraphicsContext::current()->cgContext().clearRect(bounds(*copy));
    tinted->drawTinted(bounds(*copy), color);
    copy->unlockFocus();
    return copy;
}

std::shared_ptr<NSBitmapImageRep> firstBitmapImageRep(const NSImage& image) {
    for (const auto& rep : image.representations())
        if (auto bitmap = std::dynamic_pointer_cast<NSBitmapImageRep>(rep))
            return bitmap;
    return nullptr;
}

std::shared_ptr<NSImage>
filterRepresentations(const NSImage& image,
                      const std::function<bool(const std::shared_ptr<NSImageRep>&)>& predicate) {
    auto result = NSImage::empty();
    for (const auto& rep : image.representations())
        if (predicate(rep))
            result->addRepresentation(rep);
    return result;
}

std::shared_ptr<NSView> makeView(CGRect frame, std::string identifier) {
    auto view = make<NSView>(frame);
    view->identifier = std::move(identifier);
    return view;
}

void anchorToAllSidesOf(NSView& view, const std::shared_ptr<NSView>& other, NSEdgeInsets insets) {
    if (!other)
        return;
    view.translatesAutoresizingMaskIntoConstraints = false;
    NSLayoutConstraint::activate({
        view.leadingAnchor().constraint(other->leadingAnchor(), insets.left),
        view.trailingAnchor().constraint(other->trailingAnchor(), -insets.right),
        view.bottomAnchor().constraint(other->bottomAnchor(), -insets.bottom),
        view.topAnchor().constraint(other->topAnchor(), insets.top),
    });
}

CGFloat singlePixelLineWidth(const NSView& view) {
    auto window = view.window();
    return window ? 1 / window->backingScaleFactor() : 1;
}

void setNextKeyViewSequence(const std::vector<std::shared_ptr<NSView>>& views) {
    for (size_t i = 0; i < views.size(); ++i)
        views[i]->nextKeyView = views[(i + 1) % views.size()];
}

std::shared_ptr<NSImage> snapshotImage(NSView& view) {
    CGSize size = view.bounds().size;
    if (size.width <= 0 || size.height <= 0)
        return nullptr;
    auto bitmap = view.cacheDisplay(1);
    return NSImage::withCGImage(bitmap->makeImage(), size);
}

std::shared_ptr<NSImageView> snapshotView(NSView& view) {
    auto image = snapshotImage(view);
    if (!image)
        return nullptr;
    auto imageView = make<NSImageView>(view.frame());
    imageView->setImage(image);
    return imageView;
}

std::shared_ptr<NSBox> dividerView() {
    auto box = make<NSBox>(CGRect{0, 0, 50, 1});
    box->boxType = NSBox::BoxType::separator;
    return box;
}

std::shared_ptr<NSView> spacerView() {
    auto view = make<NSView>(CGRect{});
    for (auto o : {NSView::Orientation::horizontal, NSView::Orientation::vertical}) {
        view->setContentHuggingPriority(50, o);
        view->setCompressionResistancePriority(50, o);
    }
    return view;
}

std::vector<std::shared_ptr<NSView>>
subviewsMatching(const NSView& view, const std::function<bool(const NSView&)>& predicate) {
    std::vector<std::shared_ptr<NSView>> found;
    for (const auto& child : view.subviews())
        if (predicate(*child))
            found.push_back(child);
    for (const auto& child : view.subviews()) {
        auto deeper = subviewsMatching(*child, predicate);
        found.insert(found.end(), deeper.begin(), deeper.end());
    }
    return found;
}

std::shared_ptr<NSView> firstSubviewMatching(const NSView& view,
                                             const std::function<bool(const NSView&)>& predicate) {
    auto found = subviewsMatching(view, predicate);
    return found.empty() ? nullptr : found.front();
}

std::shared_ptr<NSView>
firstSuperviewMatching(const NSView& view, const std::function<bool(const NSView&)>& predicate) {
    for (auto v = view.superview(); v; v = v->superview())
        if (predicate(*v))
            return v;
    return nullptr;
}

bool isFirstResponderInCurrentWindow(const NSView& view) {
    auto window = view.window();
    if (!window)
        return false;
    auto first = window->firstResponder();
    if (!first || first.get() == window.get())
        return false;
    // A text field is first responder while its field editor is.
    if (auto* field = dynamic_cast<const NSTextField*>(&view))
        return first == field->currentEditor();
    return first.get() == &view;
}

void focusRingClearingWorkaround(NSView& field) {
    field.rotateByAngle(-1);
    field.rotateByAngle(1);
}

void removeAllSubviews(NSView& view) {
    auto children = view.subviews();
    for (auto& child : children)
        child->removeFromSuperview();
}

void popUpContextMenu(NSButton& button) {
    Runtime::assertMainThread("Tideglass/NSObject+PopUpContextMenu");
    if (auto menu = button.menu())
        menu->popUp(nullptr, CGPoint{button.bounds().minX(), button.bounds().maxY()},
                    button.sharedAs<NSView>());
}

void popUpContextMenuForButton(NSObject&, NSObject* sender) {
    if (auto* button = dynamic_cast<NSButton*>(sender))
        popUpContextMenu(*button);
}

NSAction popUpContextMenuForButtonAction() {
    return NSAction::extensionMethod<NSObject>(&popUpContextMenuForButton);
}

NSRange nsRange(const std::string& text) {
    return {0, utf16Length(text)};
}

void drawVerticallyCentered(const std::string& text, const CGRect& rect,
                            const NSStringAttributes& attributes) {
    CGFloat textHeight = NSStringSize(text, attributes).height;
    NSStringDraw(text,
                 CGRect{rect.minX(), rect.minY() + (rect.height() - textHeight) * 0.5, rect.width(),
                        textHeight},
                 attributes);
}

NSTextAlignment nsTextAlignment(SwiftUI::TextAlignment alignment) {
    switch (alignment) {
    case SwiftUI::TextAlignment::leading:
        return NSTextAlignment::left;
    case SwiftUI::TextAlignment::center:
        return NSTextAlignment::center;
    case SwiftUI::TextAlignment::trailing:
        return NSTextAlignment::right;
    }
    return NSTextAlignment::left;
}

SwiftUI::ControlSize swiftUIControlSize(NSControlSize size) {
    switch (size) {
    case NSControlSize::regular:
        return SwiftUI::ControlSize::regular;
    case NSControlSize::small:
        return SwiftUI::ControlSize::small;
    case NSControlSize::mini:
        return SwiftUI::ControlSize::mini;
    case NSControlSize::large:
    case NSControlSize::extraLarge:
        return SwiftUI::ControlSize::large;
    }
    fatalError("Unhandled control size: " + std::to_string(int(size)));
}

NSControlSize nsControlSize(SwiftUI::ControlSize size) {
    switch (size) {
    case SwiftUI::ControlSize::mini:
        return NSControlSize::mini;
    case SwiftUI::ControlSize::small:
        return NSControlSize::small;
    case SwiftUI::ControlSize::regular:
        return NSControlSize::regular;
    case SwiftUI::ControlSize::large:
    case SwiftUI::ControlSize::extraLarge:
        return NSControlSize::large;
    }
    fatalError("Unhandled control size: " + std::to_string(int(size)));
}

NSLineBreakMode nsLineBreakMode(SwiftUI::TruncationMode mode) {
    switch (mode) {
    case SwiftUI::TruncationMode::head:
        return NSLineBreakMode::byTruncatingHead;
    case SwiftUI::TruncationMode::tail:
        return NSLineBreakMode::byTruncatingTail;
    case SwiftUI::TruncationMode::middle:
        return NSLineBreakMode::byTruncatingMiddle;
    }
    fatalError("Unknown truncation mode");
}
