#include "Controls/StyledSearchField.h"

#include <cmath>

#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSTextView.h"
#include "AppKitSupport/AppKitExtensions.h"
#include "Controls/FocusRing.h"
#include "Controls/StyledTextField.h"
#include "Runtime/Runtime.h"
#include "Styles/Styles.h"

// MARK: - The cell

void StyledSearchFieldCell::didInit() {
    NSSearchFieldCell::didInit();
    Runtime::assertMainThread("StyledSearchFieldCell.init(textCell:)");
    focusRingType = NSFocusRingType::none;
    textColor = style()->textColor(controlState());
    setBackgroundStyle(style()->backgroundStyle());
    if (searchButtonCell)
        searchButtonCell->imagePosition = NSCellImagePosition::imageOnly;
}

void StyledSearchFieldCell::setPlaceholder(std::optional<std::string> placeholder) {
    Runtime::assertMainThread("StyledSearchFieldCell.placeholderString");
    internalPlaceholderString = placeholder;
    placeholderString = placeholder;
    if (placeholder)
        placeholderAttributedString =
            attributedString(*placeholder, Styles::TextInput::placeholderTextColor());
    else
        placeholderAttributedString.reset(); // else the old one would still be drawn
}

std::shared_ptr<NSImage> StyledSearchFieldCell::styleBezelImage() const {
    if (showsSearchIcon)
        return classStyle()->bezelImage(controlState());
    return TextFieldCellStyle().bezelImage(controlState());
}

void StyledSearchFieldCell::setBackgroundStyle(NSBackgroundStyle backgroundStyle) {
    NSSearchFieldCell::setBackgroundStyle(backgroundStyle);
    textColor = style()->textColor(controlState());
}

NSBackgroundStyle StyledSearchFieldCell::interiorBackgroundStyle() const {
    return style()->interiorBackgroundStyle();
}

NSAttributedString
StyledSearchFieldCell::attributedString(const std::string& text,
                                        const std::shared_ptr<NSColor>& color) const {
    return styledCellText(*this, text, style()->font(),
                          color ? color : style()->textColor(controlState()));
}

CGRect StyledSearchFieldCell::drawingRectForBounds(CGRect bounds) const {
    Runtime::assertMainThread("StyledSearchFieldCell.drawingRect(forBounds:)");
    if (editing || selecting || !(isBezeled || isBordered))
        return bounds;
    return paddedTextRect(bounds, style()->padding());
}

CGRect StyledSearchFieldCell::searchTextRectForBounds(CGRect bounds) const {
    Runtime::assertMainThread("StyledSearchFieldCell.searchTextRect(forBounds:)");
    const CGRect s = NSSearchFieldCell::searchTextRectForBounds(bounds);
    const CGRect cancel = cancelButtonRectForBounds(bounds);
    const CGFloat x = showsSearchIcon ? searchButtonRectForBounds(bounds).maxX() - 10 : 4;
    const CGFloat width = cancel == CGRect{} ? s.width() : cancel.minX() + 2 - x;
    CGRect r{x, s.minY(), width, s.height()};
    if (verticallyCenter) {
        r.origin.y = r.midY() - 0.5 * attributedStringValue().size().height;
        auto view = controlView();
        if (view && view->isFlipped())
            r.origin.y = std::abs(r.origin.y);
    }
    return r.integral();
}

void StyledSearchFieldCell::drawWithFrame(CGRect frame, NSView& view) {
    Runtime::assertMainThread("StyledSearchFieldCell.draw(withFrame:in:)");
    auto context = NSGraphicsContext::current();
    if (context) {
        NSGraphicsContext::saveGraphicsState();
        if (view.isFlipped()) {
            // Upside down over the frame, so the art stays upright.
            context->cgContext().translateBy(0, frame.height());
            context->cgContext().scaleBy(1, -1);
        }
        if (auto art = styleBezelImage(); art && (isBezeled || isBordered))
            renderedIfTemplate(art, *NSColor::controlTextColor())
                ->draw(frame, NSCompositingOperation::sourceOver, 1.0);
        NSGraphicsContext::restoreGraphicsState();
    }
    drawInteriorWithFrame(frame, view);
}

void StyledSearchFieldCell::drawInteriorWithFrame(CGRect frame, NSView& view) {
    Runtime::assertMainThread("StyledSearchFieldCell.drawInterior(withFrame:in:)");
    const bool hasText = !stringValue().empty();
    if (!(showsFirstResponder || editing || selecting)) {
        std::optional<NSAttributedString> text;
        if (hasText)
            text = attributedString(stringValue(), nullptr);
        else if (internalPlaceholderString)
            text = attributedString(*internalPlaceholderString,
                                    Styles::TextInput::placeholderTextColor());
        if (text) {
            CGRect r = searchTextRectForBounds(frame);
            if (isBezeled || isBordered)
                r = r.offsetBy(2, 1);
            text->draw(r, 1);
        }
    }
    if (cancelButtonCell && hasText)
        cancelButtonCell->drawWithFrame(cancelButtonRectForBounds(frame), view);
}

namespace {
// What the field editor draws over the field: no background of its own.
void clearBackground(NSText& editor) {
    editor.drawsBackground = false;
    editor.backgroundColor = NSColor::clear();
}
} // namespace

void StyledSearchFieldCell::selectWithFrame(CGRect frame, NSView& view, NSText& editor,
                                            std::weak_ptr<NSObject> delegate, std::size_t start,
                                            std::size_t length) {
    Runtime::assertMainThread("StyledSearchFieldCell.select(withFrame:)");
    const CGRect text = searchTextRectForBounds(frame);
    selecting = true;
    NSSearchFieldCell::selectWithFrame(text, view, editor, std::move(delegate), start, length);
    selecting = false;
    clearBackground(editor);
}

void StyledSearchFieldCell::editWithFrame(CGRect frame, NSView& view, NSText& editor,
                                          std::weak_ptr<NSObject> delegate, const NSEvent* event) {
    Runtime::assertMainThread("StyledSearchFieldCell.edit(withFrame:)");
    const CGRect text = searchTextRectForBounds(frame);
    editing = true;
    NSSearchFieldCell::editWithFrame(text, view, editor, std::move(delegate), event);
    editing = false;
    clearBackground(editor);
}

NSText& StyledSearchFieldCell::setUpFieldEditorAttributes(NSText& editor) {
    Runtime::assertMainThread("StyledSearchFieldCell.setUpFieldEditorAttributes");
    NSText& result = NSSearchFieldCell::setUpFieldEditorAttributes(editor);
    if (auto* view = dynamic_cast<NSTextView*>(&result)) {
        const auto style = this->style();
        clearBackground(*view);
        view->textColor = style->textColor();
        view->insertionPointColor = style->textColor();
        view->selectedTextAttributes.color = style->selectedTextColor();
        view->selectedTextAttributes.backgroundColor = style->selectedBackgroundColor();
    }
    return result;
}

// MARK: - The field

void StyledSearchField::didInit() {
    NSSearchField::didInit();
    Runtime::assertMainThread("StyledSearchField.init(frame:)");
    focusRingClearingWorkaround(*this);
}

std::shared_ptr<NSCell> StyledSearchField::makeCell() {
    return make<StyledSearchFieldCell>();
}

std::shared_ptr<StyledSearchFieldCell> StyledSearchField::styledCell() const {
    return std::dynamic_pointer_cast<StyledSearchFieldCell>(cell());
}

void StyledSearchField::setCell(std::shared_ptr<NSCell> newCell) {
    Runtime::assertMainThread("StyledSearchField.cell");
    if (newCell && !dynamic_cast<StyledSearchFieldCell*>(newCell.get()))
        fatalError("Tideglass: a StyledSearchFieldCell is the only cell this search field takes");
    NSSearchField::setCell(newCell ? std::move(newCell) : makeCell());
}

void StyledSearchField::setVerticallyCenter(bool value) {
    Runtime::assertMainThread("StyledSearchField.verticallyCenter");
    center = value;
    if (auto c = styledCell())
        c->verticallyCenter = value;
    setNeedsDisplay();
}

void StyledSearchField::setPlaceholderString(std::optional<std::string> placeholder) {
    if (auto c = styledCell())
        c->setPlaceholder(std::move(placeholder));
    else
        NSSearchField::setPlaceholderString(std::move(placeholder));
    setNeedsDisplay();
}

NSEdgeInsets StyledSearchField::alignmentRectInsets() const {
    return styledCell() ? StyledSearchFieldCell::classStyle()->alignmentRectInsets()
                        : NSSearchField::alignmentRectInsets();
}

CGSize StyledSearchField::intrinsicContentSize() const {
    Runtime::assertMainThread("StyledSearchField.intrinsicContentSize");
    CGSize size = NSSearchField::intrinsicContentSize();
    auto c = styledCell();
    auto art = c ? c->styleBezelImage() : nullptr;
    if (!isBezeled() || !art)
        return size;
    const NSEdgeInsets insets = alignmentRectInsets();
    return {std::max(size.width, art->size().width) - (insets.left + insets.right),
            std::max(size.height, art->size().height) - (insets.top + insets.bottom)};
}

void StyledSearchField::drawRect(CGRect dirtyRect) {
    NSSearchField::drawRect(dirtyRect);
    if (auto c = styledCell())
        drawLibraryFocusRing(
            *this, focusRingMaskBounds(),
            StyledSearchFieldCell::classStyle()->focusRingColor(c->controlState()));
}
