#include "Controls/StyledTextField.h"

#include <cmath>

#include "AppKit/NSBezierPath.h"
#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSWindow.h"
#include "AppKitSupport/AppKitExtensions.h"
#include "Controls/FocusRing.h"
#include "Styles/Styles.h"

// MARK: - The cell

void StyledTextFieldCell::didInit() {
    NSTextFieldCell::didInit();
    Runtime::assertMainThread("StyledTextFieldCell.init(textCell:)");
    focusRingType = NSFocusRingType::none;
    applyStyle();
}

void StyledTextFieldCell::applyStyle() {
    Runtime::assertMainThread("StyledTextFieldCell.applyStyle");
    const auto style = this->style();
    font = style->font();
    textColor = style->textColor(controlState());
    backgroundColor = style->textBackgroundColor(controlState());
    setBackgroundStyle(style->backgroundStyle());
}

void StyledTextFieldCell::setBackgroundStyle(NSBackgroundStyle backgroundStyle) {
    Runtime::assertMainThread("StyledTextFieldCell.backgroundStyle");
    NSTextFieldCell::setBackgroundStyle(backgroundStyle);
    textColor = styleTextColor();
}

NSBackgroundStyle StyledTextFieldCell::interiorBackgroundStyle() const {
    Runtime::assertMainThread("StyledTextFieldCell.interiorBackgroundStyle");
    return style()->interiorBackgroundStyle();
}

CGRect paddedTextRect(CGRect bounds, NSEdgeInsets p) {
    return CGRect{bounds.minX() + p.left, bounds.minY() + p.bottom,
                  bounds.width() - (p.left + p.right), bounds.height() - (p.top + p.bottom)}
        .integral();
}

NSAttributedString styledCellText(const NSCell& cell, const std::string& text,
                                  std::shared_ptr<NSFont> font, std::shared_ptr<NSColor> color) {
    NSStringAttributes attributes;
    attributes.font = std::move(font);
    attributes.color = std::move(color);
    attributes.alignment = cell.alignment;
    attributes.lineBreakMode = cell.lineBreakMode;
    attributes.allowsDefaultTighteningForTruncation = false;
    return NSAttributedString(text, attributes);
}

NSAttributedString
StyledTextFieldCell::attributedString(const std::string& text,
                                      const std::shared_ptr<NSColor>& color) const {
    return styledCellText(*this, text, font ? font : style()->font(),
                          color ? color : styleTextColor());
}

CGRect StyledTextFieldCell::drawingRectForBounds(CGRect bounds) const {
    Runtime::assertMainThread("StyledTextFieldCell.drawingRect(forBounds:)");
    if (editing || selecting || !(isBezeled || isBordered))
        return bounds;
    return paddedTextRect(bounds, style()->padding());
}

CGRect StyledTextFieldCell::titleRectForBounds(CGRect bounds) const {
    Runtime::assertMainThread("StyledTextFieldCell.titleRect(forBounds:)");
    CGRect r = NSTextFieldCell::titleRectForBounds(bounds);
    if (!verticallyCenter)
        return r;
    // The text's height, centred: y + (height − text height) × 0.5.
    const CGSize size = attributedStringValue().size();
    r.origin.y += (r.height() - size.height) * 0.5;
    r.size.height = size.height;
    return r;
}

void StyledTextFieldCell::drawWithFrame(CGRect frame, NSView& controlView) {
    Runtime::assertMainThread("StyledTextFieldCell.draw(withFrame:in:)");
    auto current = NSGraphicsContext::current();
    if (!current)
        return;
    if (drawsBackground) {
        CGContext& context = current->cgContext();
        context.saveGState();
        // Upright artwork in a flipped control.
        if (controlView.isFlipped()) {
            context.translateBy(0, frame.height());
            context.scaleBy(1, -1);
        }
        const auto image = styleBezelImage();
        if ((isBezeled || isBordered) && image) {
            const auto art = renderedIfTemplate(image, *NSColor::controlTextColor());
            NSColor::clear()->setFill();
            NSBezierPath::fillRect(frame.insetBy(-2, 0));
            art->draw(frame, NSCompositingOperation::sourceOver, 1.0);
        } else if (backgroundColor) {
            backgroundColor->setFill();
            NSBezierPath::fillRect(frame);
        }
        context.restoreGState();
    }
    // The text field's ring sits 2 points in, on the inner side of its well's edge: one
    // point here and the shared rule's one.
    if (auto* control = dynamic_cast<NSControl*>(&controlView))
        drawLibraryFocusRing(*control, focusRingMaskBounds(frame, controlView).insetBy(1, 1),
                             styleFocusRingColor());
    drawInteriorWithFrame(frame, controlView);
}

void StyledTextFieldCell::drawInteriorWithFrame(CGRect frame, NSView& controlView) {
    Runtime::assertMainThread("StyledTextFieldCell.drawInterior(withFrame:in:)");
    if (showsFirstResponder || editing || selecting)
        return; // the field editor draws the text
    const std::string value = stringValue();
    NSAttributedString text;
    if (!value.empty())
        text = attributedString(value, nullptr);
    else if (placeholderString)
        text = attributedString(*placeholderString, Styles::TextInput::placeholderTextColor());
    else
        return;
    CGRect r = titleRectForBounds(frame);
    const auto window = controlView.window();
    const CGFloat scale = window ? window->backingScaleFactor() : 1;
    r.origin.x += isBezeled || isBordered ? 2 : -1 / scale;
    text.draw(r, wraps ? maximumNumberOfLines : 1);
}

void StyledTextFieldCell::selectWithFrame(CGRect frame, NSView& controlView, NSText& editor,
                                          std::weak_ptr<NSObject> delegate, std::size_t start,
                                          std::size_t length) {
    Runtime::assertMainThread("StyledTextFieldCell.select(withFrame:)");
    const CGRect title = titleRectForBounds(frame);
    selecting = true;
    NSTextFieldCell::selectWithFrame(title, controlView, editor, std::move(delegate), start,
                                     length);
    selecting = false;
}

void StyledTextFieldCell::editWithFrame(CGRect frame, NSView& controlView, NSText& editor,
                                        std::weak_ptr<NSObject> delegate, const NSEvent* event) {
    Runtime::assertMainThread("StyledTextFieldCell.edit(withFrame:)");
    const CGRect title = titleRectForBounds(frame);
    editing = true;
    NSTextFieldCell::editWithFrame(title, controlView, editor, std::move(delegate), event);
    editing = false;
}

NSText& StyledTextFieldCell::setUpFieldEditorAttributes(NSText& editor) {
    Runtime::assertMainThread("StyledTextFieldCell.setUpFieldEditorAttributes");
    NSText& result = NSTextFieldCell::setUpFieldEditorAttributes(editor);
    if (auto* view = dynamic_cast<NSTextView*>(&result)) {
        const auto style = this->style();
        view->font = style->font();
        view->drawsBackground = false;
        view->backgroundColor = style->textBackgroundColor();
        view->textColor = style->textColor();
        view->insertionPointColor = style->textColor();
        view->selectedTextAttributes.color = style->selectedTextColor();
        view->selectedTextAttributes.backgroundColor = style->selectedBackgroundColor();
    }
    return result;
}

// MARK: - The field

std::shared_ptr<StyledTextField> StyledTextField::withVerticalPadding(CGRect frame,
                                                                      CGFloat verticalPadding) {
    auto field = make<StyledTextField>(frame);
    field->verticalInset = verticalPadding;
    return field;
}

void StyledTextField::didInit() {
    FirstResponderAwareTextField::didInit();
    Runtime::assertMainThread("StyledTextField.init(frame:)");
    focusRingClearingWorkaround(*this);
}

std::shared_ptr<NSCell> StyledTextField::makeCell() {
    return make<StyledTextFieldCell>();
}

std::shared_ptr<StyledTextFieldCell> StyledTextField::styledCell() const {
    return std::dynamic_pointer_cast<StyledTextFieldCell>(cell());
}

bool StyledTextField::acceptsCell(const NSCell& cell) const {
    return dynamic_cast<const StyledTextFieldCell*>(&cell) != nullptr;
}

void StyledTextField::setCell(std::shared_ptr<NSCell> newCell) {
    Runtime::assertMainThread("StyledTextField.cell");
    if (newCell && !acceptsCell(*newCell))
        fatalError(std::string("Tideglass: a ") + cellClassName() +
                   " is the only cell this text field takes");
    FirstResponderAwareTextField::setCell(std::move(newCell));
}

void StyledTextField::setVerticallyCenter(bool value) {
    Runtime::assertMainThread("StyledTextField.verticallyCenter");
    center = value;
    if (auto c = styledCell())
        c->verticallyCenter = value;
    setNeedsDisplay(true);
}

bool StyledTextField::isSelected() const {
    auto c = styledCell();
    return c && c->isSelected();
}

void StyledTextField::setSelected(bool selected) {
    Runtime::assertMainThread("StyledTextField.isSelected");
    if (auto c = styledCell())
        c->setSelected(selected);
}

NSEdgeInsets StyledTextField::alignmentRectInsets() const {
    if (isBezeled() || isBordered())
        return {verticalInset, 2, verticalInset, 2};
    return FirstResponderAwareTextField::alignmentRectInsets();
}

CGFloat StyledTextField::firstBaselineOffsetFromTop() const {
    auto c = styledCell();
    if (!c)
        return FirstResponderAwareTextField::firstBaselineOffsetFromTop();
    const CGRect b = bounds();
    const CGRect t = c->titleRectForBounds(b);
    const NSEdgeInsets insets = alignmentRectInsets();
    return isFlipped() ? b.minY() + t.maxY() - insets.top : b.maxY() - t.minY() + insets.top;
}

CGFloat StyledTextField::lastBaselineOffsetFromBottom() const {
    auto c = styledCell();
    if (!c)
        return FirstResponderAwareTextField::lastBaselineOffsetFromBottom();
    const CGRect b = bounds();
    const CGRect t = c->titleRectForBounds(b);
    const NSEdgeInsets insets = alignmentRectInsets();
    return isFlipped() ? b.maxY() - t.maxY() + insets.bottom : b.minY() + t.minY() - insets.bottom;
}

CGSize StyledTextField::intrinsicContentSize() const {
    CGSize size = FirstResponderAwareTextField::intrinsicContentSize();
    auto c = styledCell();
    if (!c || !(isBezeled() || isBordered()))
        return size;
    if (auto image = c->styleBezelImage()) {
        size.width = std::max(size.width, image->size().width);
        size.height = std::max(size.height, image->size().height);
    }
    return size;
}
