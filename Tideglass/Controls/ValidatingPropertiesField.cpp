#include "Controls/ValidatingPropertiesField.h"

#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSLayoutConstraint.h"
#include "AppKit/NSTextView.h"
#include "AppKit/NSWindow.h"
#include "AppKitSupport/AppKitExtensions.h"
#include "AppKitSupport/NSControlActions.h"
#include "Controls/FocusRing.h"
#include "Styles/Styles.h"
#include "Styles/TideglassResources.h"

namespace {
constexpr CGFloat iconLeading = 3, iconWidth = 14, iconHeight = 24, iconGap = 8, trailing = 3;
constexpr CGFloat ringFillAlpha = 0.3;

// The text field's cell: its line centred in the field's height (a field without an
// icon is as high as the bezel, and a plain cell would set the text against its top),
// and the text selected in the palette's selection colours, as in the library's other
// fields.
class PropertiesTextCell : public NSTextFieldCell {
  public:
    CGRect titleRectForBounds(CGRect bounds) const override {
        CGRect r = NSTextFieldCell::titleRectForBounds(bounds);
        NSStringAttributes line;
        line.font = font;
        const CGFloat h = NSAttributedString("0", line).size().height;
        if (h < r.height()) {
            r.origin.y += (r.height() - h) * 0.5;
            r.size.height = h;
        }
        return r;
    }
    NSText& setUpFieldEditorAttributes(NSText& editor) override {
        NSText& result = NSTextFieldCell::setUpFieldEditorAttributes(editor);
        if (auto* view = dynamic_cast<NSTextView*>(&result)) {
            view->selectedTextAttributes.color = Styles::TextInput::selectedTextColor();
            view->selectedTextAttributes.backgroundColor = Styles::TextInput::selectedBackground();
        }
        return result;
    }
};
} // namespace

ValidatingPropertiesField::ValidatingPropertiesField(std::shared_ptr<NSImage> trackingSliderIcon)
    : NSView(CGRect{}), field(::make<FirstResponderAwareTextField>()),
      controller(::make<SimpleTextViewPopoverController>()) {
    if (trackingSliderIcon) {
        icon_ = ::make<TrackingSlider>();
        icon_->setImage(std::move(trackingSliderIcon));
        icon_->setContinuous(true);
    }
}

void ValidatingPropertiesField::didInit() {
    NSView::didInit();
    Runtime::assertMainThread("ValidatingPropertiesField.init");
    if (!icon_) {
        addSubview(field);
        anchorToAllSidesOf(*field, sharedAs<NSView>(), {});
    } else {
        icon_->translatesAutoresizingMaskIntoConstraints = false;
        field->translatesAutoresizingMaskIntoConstraints = false;
        addSubview(icon_);
        addSubview(field);
        NSLayoutConstraint::activate({
            icon_->leadingAnchor().constraint(leadingAnchor(), iconLeading),
            icon_->centerYAnchor().constraint(centerYAnchor()),
            icon_->widthAnchor().constraint(iconWidth),
            icon_->heightAnchor().constraint(iconHeight),
            field->leadingAnchor().constraint(icon_->trailingAnchor(), iconGap),
            field->trailingAnchor().constraint(trailingAnchor(), -trailing),
            field->centerYAnchor().constraint(centerYAnchor()),
        });
        // A click on the icon focuses the text field, making its window key first.
        makeFirstResponder(icon_->clicked, field).store(cancellables);
    }
    setUpTextField();
}

std::shared_ptr<ValidatingPropertiesField> ValidatingPropertiesField::withFrame(CGRect) {
    unimplementedInitializer("Tideglass.ValidatingPropertiesField", "init(frame:)");
}

std::shared_ptr<ValidatingPropertiesField> ValidatingPropertiesField::fromArchive() {
    fatalError("init(coder:) has not been implemented");
}

void ValidatingPropertiesField::setUpTextField() {
    // The new cell edits and selects, as the one a field made in code comes with.
    auto cell = ::make<PropertiesTextCell>();
    cell->isEditable = cell->isSelectable = true;
    field->setCell(cell);
    // The view draws the bezel: a field made in code has one of its own, which would
    // show inside it.
    field->setBordered(false);
    field->setBezeled(false);
    field->setDrawsBackground(false);
    field->setFocusRingType(NSFocusRingType::none);
    field->setFont(NSFont::systemFont(10));
    applyTextColor();
    std::weak_ptr<ValidatingPropertiesField> weak = sharedAs<ValidatingPropertiesField>();
    field->firstResponderPublisher()
        .sink([weak](const std::pair<std::shared_ptr<NSTextField>, bool>& change) {
            Runtime::assertMainThread("ValidatingPropertiesField.firstResponder");
            auto self = weak.lock();
            if (!self)
                return;
            self->selected = change.second;
            self->updateMessagePopover();
            self->setNeedsDisplay(true);
        })
        .store(cancellables);
}

void ValidatingPropertiesField::applyTextColor() {
    field->setTextColor(valid ? Styles::TextInput::textColor()
                              : Styles::TextInput::errorTextColor());
}

void ValidatingPropertiesField::setValid(bool value) {
    Runtime::assertMainThread("ValidatingPropertiesField.isValid");
    valid = value;
    applyTextColor();
    // The bezel and ring depend on it: show the new state at once.
    setNeedsDisplay(true);
}

void ValidatingPropertiesField::setSelected(bool value) {
    Runtime::assertMainThread("ValidatingPropertiesField.isSelected");
    selected = value;
    updateMessagePopover();
    setNeedsDisplay(true);
}

std::optional<std::string> ValidatingPropertiesField::toolTip() const {
    return NSView::toolTip.empty() ? std::nullopt : std::optional(NSView::toolTip);
}

void ValidatingPropertiesField::setToolTip(std::optional<std::string> toolTip) {
    NSView::toolTip = toolTip.value_or("");
}

void ValidatingPropertiesField::drawRect(CGRect dirtyRect) {
    Runtime::assertMainThread("ValidatingPropertiesField.draw");
    if (!NSGraphicsContext::current())
        return;
    const CGRect r = bezelRect();
    if (selected) {
        const auto ring = valid ? TideglassResources::nsColor("Highlight/System")
                                : Styles::Control::errorFocusRingColor();
        TGImagesAK::tguiTextfield()->draw(r, NSCompositingOperation::sourceOver, 1.0);
        drawFocusRing(ring, ring->withAlphaComponent(ringFillAlpha));
    } else {
        const auto art = valid ? TGImagesAK::tguiTextfield() : TGImagesAK::tguiTextfieldError();
        art->draw(r, NSCompositingOperation::sourceOver, 1.0);
    }
    NSView::drawRect(dirtyRect);
}

void ValidatingPropertiesField::drawFocusRing(const std::shared_ptr<NSColor>& color,
                                              const std::shared_ptr<NSColor>& backgroundColor) {
    // The library's ring path insets by 1 more: 2 inside r in all.
    auto path = libraryFocusRingPath(bezelRect().insetBy(1, 1));
    if (backgroundColor) {
        backgroundColor->setFill();
        path->fill();
    }
    color->setStroke();
    path->stroke();
}

void ValidatingPropertiesField::updateMessagePopover() {
    Runtime::assertMainThread("ValidatingPropertiesField.updateMessagePopover");
    ::updateMessagePopover(*controller, hasKeyboardFocus(*field), message_, sharedAs<NSView>(),
                           this);
}
