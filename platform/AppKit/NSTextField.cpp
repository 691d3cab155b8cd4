#include "AppKit/NSTextField.h"

#include <any>
#include <limits>

#include "AppKit/NSBezierPath.h"
#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSWindow.h"

namespace {
constexpr CGFloat unbounded = std::numeric_limits<CGFloat>::max();
constexpr CGFloat padding = NSTextView::linePadding;
constexpr const char* fieldEditorKey = "NSFieldEditor";
} // namespace

// MARK: - The cell

NSStringAttributes NSTextFieldCell::textAttributes() const {
    NSStringAttributes attributes = NSCell::textAttributes();
    attributes.color = isEnabled ? textColor : NSColor::disabledControlTextColor();
    attributes.allowsDefaultTighteningForTruncation = allowsDefaultTighteningForTruncation;
    return attributes;
}

CGRect NSTextFieldCell::drawingRectForBounds(CGRect bounds) const {
    return isBezeled || isBordered ? bounds.insetBy(2, 2) : bounds;
}

namespace {
// What the cell shows: its value, or its placeholder while the value is empty.
NSAttributedString shownString(const NSTextFieldCell& cell) {
    NSAttributedString value = cell.attributedStringValue();
    if (!value.string().empty())
        return value;
    if (cell.placeholderAttributedString)
        return *cell.placeholderAttributedString;
    if (cell.placeholderString) {
        NSStringAttributes attributes = cell.textAttributes();
        attributes.color = NSColor::placeholderTextColor();
        return NSAttributedString(*cell.placeholderString, attributes);
    }
    return value;
}
} // namespace

CGSize NSTextFieldCell::cellSizeForBounds(CGRect bounds) const {
    // The margins the drawing rectangle leaves, read off a rectangle of ordinary size
    // (a width of DBL_MAX would swallow them).
    const CGRect reference{bounds.origin, {1000, 1000}};
    const CGRect inner = drawingRectForBounds(reference);
    const CGFloat across = reference.width() - inner.width() + 2 * padding;
    const CGFloat down = reference.height() - inner.height();
    const NSAttributedString shown = shownString(*this);
    const CGFloat room = bounds.width() - across;
    const CGSize text = wraps ? shown.boundingSize({room, unbounded}, maximumNumberOfLines)
                              : shown.boundingSize({unbounded, unbounded}, 1);
    return {text.width + across, text.height + down};
}

CGSize NSTextFieldCell::cellSize() const {
    return cellSizeForBounds({0, 0, unbounded, unbounded});
}

void NSTextFieldCell::drawWithFrame(CGRect frame, NSView& controlView) {
    if (!NSGraphicsContext::current())
        return;
    if (drawsBackground && backgroundColor) {
        backgroundColor->setFill();
        NSBezierPath::fillRect(frame);
    }
    if (isBezeled || isBordered) {
        auto line = NSBezierPath::rect(frame.insetBy(0.5, 0.5));
        NSColor::separatorColor()->setStroke();
        line->stroke();
    }
    drawInteriorWithFrame(frame, controlView);
}

void NSTextFieldCell::drawInteriorWithFrame(CGRect frame, NSView&) {
    drawTextInRect(titleRectForBounds(frame));
}

void NSTextFieldCell::drawTextInRect(CGRect titleRect) {
    if (showsFirstResponder || !NSGraphicsContext::current())
        return;
    const NSAttributedString shown = shownString(*this);
    if (shown.string().empty())
        return;
    shown.draw(titleRect.insetBy(padding, 0), wraps ? maximumNumberOfLines : 1);
}

NSText& NSTextFieldCell::setUpFieldEditorAttributes(NSText& editor) {
    editor.font = font;
    editor.alignment = alignment;
    editor.textColor = textColor;
    editor.backgroundColor = backgroundColor;
    editor.drawsBackground = drawsBackground;
    editor.isEditable = isEditable;
    editor.isSelectable = isSelectable || isEditable;
    editor.isFieldEditor = true;
    return editor;
}

void NSTextFieldCell::startEditing(CGRect frame, NSView& controlView, NSText& editor,
                                   std::weak_ptr<NSObject> delegate) {
    setUpFieldEditorAttributes(editor);
    editor.setFrame(titleRectForBounds(frame));
    controlView.addSubview(editor.sharedAs<NSView>());
    editor.setString(stringValue());
    editor.setDelegate(std::move(delegate));
    showsFirstResponder = true;
    controlView.setNeedsDisplay(true);
}

void NSTextFieldCell::selectWithFrame(CGRect frame, NSView& controlView, NSText& editor,
                                      std::weak_ptr<NSObject> delegate, std::size_t start,
                                      std::size_t length) {
    Runtime::assertMainThread("NSTextFieldCell.select");
    startEditing(frame, controlView, editor, std::move(delegate));
    editor.setSelectedRange({start, length});
    if (auto window = controlView.window())
        window->makeFirstResponder(editor.sharedAs<NSResponder>());
}

void NSTextFieldCell::editWithFrame(CGRect frame, NSView& controlView, NSText& editor,
                                    std::weak_ptr<NSObject> delegate, const NSEvent* event) {
    Runtime::assertMainThread("NSTextFieldCell.edit");
    startEditing(frame, controlView, editor, std::move(delegate));
    std::size_t at = utf16Length(editor.string());
    if (auto* view = dynamic_cast<NSTextView*>(&editor); view && event)
        at =
            view->characterIndexForPoint(view->convertFromView(event->locationInWindow(), nullptr));
    editor.setSelectedRange({at, 0});
    if (auto window = controlView.window())
        window->makeFirstResponder(editor.sharedAs<NSResponder>());
}

void NSTextFieldCell::endEditing(NSText& editor) {
    editor.setDelegate({});
    editor.removeFromSuperview();
    showsFirstResponder = false;
    if (auto view = controlView())
        view->setNeedsDisplay(true);
}

// MARK: - The field

std::shared_ptr<NSCell> NSTextField::makeCell() {
    return make<NSTextFieldCell>();
}

void NSTextField::didInit() {
    NSControl::didInit();
    // A field made in code edits, selects, has a bezel and a background, whatever its
    // cell class.
    cell()->isEditable = cell()->isSelectable = cell()->isBezeled = true;
    if (auto c = textFieldCell())
        c->drawsBackground = true;
}

std::shared_ptr<NSTextField> NSTextField::textFieldWithString(const std::string& string) {
    auto field = make<NSTextField>();
    field->setStringValue(string);
    field->setFrameSize(field->cell()->cellSize());
    return field;
}

std::shared_ptr<NSTextField> NSTextField::labelWithString(const std::string& string) {
    auto field = make<NSTextField>();
    field->setEditable(false);
    field->setSelectable(false);
    field->setBezeled(false);
    field->setBordered(false);
    field->setDrawsBackground(false);
    field->setStringValue(string);
    field->setFrameSize(field->cell()->cellSize());
    return field;
}

std::shared_ptr<NSTextFieldCell> NSTextField::textFieldCell() const {
    return std::dynamic_pointer_cast<NSTextFieldCell>(cell());
}

// Reads and writes of a text-field cell's setting, with a default for other cells.
#define CELL_SETTING(Type, getter, setter, member, fallback)                                       \
    Type NSTextField::getter() const {                                                             \
        auto c = textFieldCell();                                                                  \
        return c ? c->member : fallback;                                                           \
    }                                                                                              \
    void NSTextField::setter(Type value) {                                                         \
        if (auto c = textFieldCell())                                                              \
            c->member = std::move(value);                                                          \
        setNeedsDisplay(true);                                                                     \
    }
CELL_SETTING(std::optional<std::string>, placeholderString, setPlaceholderString, placeholderString,
             std::nullopt)
CELL_SETTING(std::optional<NSAttributedString>, placeholderAttributedString,
             setPlaceholderAttributedString, placeholderAttributedString, std::nullopt)
CELL_SETTING(std::shared_ptr<NSColor>, textColor, setTextColor, textColor, nullptr)
CELL_SETTING(std::shared_ptr<NSColor>, backgroundColor, setBackgroundColor, backgroundColor,
             nullptr)
CELL_SETTING(bool, drawsBackground, setDrawsBackground, drawsBackground, false)
CELL_SETTING(int, maximumNumberOfLines, setMaximumNumberOfLines, maximumNumberOfLines, 1)
CELL_SETTING(bool, allowsDefaultTighteningForTruncation, setAllowsDefaultTighteningForTruncation,
             allowsDefaultTighteningForTruncation, false)
#undef CELL_SETTING

void NSTextField::setEditable(bool editable) {
    cell()->isEditable = editable;
    setNeedsDisplay(true);
}
void NSTextField::setSelectable(bool selectable) {
    cell()->isSelectable = selectable;
    setNeedsDisplay(true);
}
void NSTextField::setBezeled(bool bezeled) {
    cell()->isBezeled = bezeled;
    invalidateIntrinsicContentSize();
    setNeedsDisplay(true);
}
void NSTextField::setBordered(bool bordered) {
    cell()->isBordered = bordered;
    invalidateIntrinsicContentSize();
    setNeedsDisplay(true);
}
void NSTextField::setAlignment(NSTextAlignment alignment) {
    cell()->alignment = alignment;
    setNeedsDisplay(true);
}
void NSTextField::setLineBreakMode(NSLineBreakMode mode) {
    cell()->lineBreakMode = mode;
    setNeedsDisplay(true);
}
void NSTextField::setAttributedStringValue(NSAttributedString value) {
    cell()->setAttributedStringValue(std::move(value));
    setNeedsDisplay(true);
    didSetValue();
}

CGSize NSTextField::intrinsicContentSize() const {
    const CGSize size = cell()->cellSizeForBounds({0, 0, unbounded, unbounded});
    return {isEditable() ? noIntrinsicMetric : size.width, size.height};
}

bool NSTextField::becomeFirstResponder() {
    if (!isSelectable())
        return false;
    selectText(nullptr);
    return true;
}

void NSTextField::selectText(NSObject*) {
    Runtime::assertMainThread("NSTextField.selectText");
    if (auto editor = currentEditor()) {
        editor->selectAll();
        return;
    }
    auto w = window();
    auto c = textFieldCell();
    if (!w || !c || !isSelectable())
        return;
    auto editor = w->fieldEditor(true, sharedAs<NSObject>());
    c->selectWithFrame(bounds(), *this, *editor, weakAs<NSObject>(), 0, utf16Length(stringValue()));
}

void NSTextField::validateEditing() {
    if (auto editor = currentEditor())
        cell()->setStringValue(editor->string());
}

void NSTextField::abortEditing() {
    Runtime::assertMainThread("NSTextField.abortEditing");
    auto editor = currentEditor();
    if (!editor)
        return;
    if (auto c = textFieldCell())
        c->endEditing(*editor);
    else
        editor->removeFromSuperview();
}

void NSTextField::mouseDown(const NSEvent& event) {
    if (auto editor = currentEditor()) {
        editor->mouseDown(event);
        return;
    }
    auto w = window();
    auto c = textFieldCell();
    // A field that does not edit lets the click through (to a table row, say).
    if (!isSelectable() || !isEnabled())
        return NSView::mouseDown(event);
    if (!w || !c)
        return;
    auto editor = w->fieldEditor(true, sharedAs<NSObject>());
    c->editWithFrame(bounds(), *this, *editor, weakAs<NSObject>(), &event);
}

void NSTextField::mouseDragged(const NSEvent& event) {
    if (auto editor = currentEditor())
        editor->mouseDragged(event);
    else if (!isSelectable() || !isEnabled())
        NSView::mouseDragged(event);
}

void NSTextField::mouseUp(const NSEvent& event) {
    if (!currentEditor() && (!isSelectable() || !isEnabled()))
        NSView::mouseUp(event);
}

void NSTextField::didSetValue() {
    if (auto editor = currentEditor(); editor && editor->string() != stringValue())
        editor->setString(stringValue());
}

template <class F> void NSTextField::tell(const char* name, const Notification& from, F f) {
    auto self = sharedAs<NSObject>();
    Notification n{name, self, from.userInfo};
    n.userInfo[fieldEditorKey] = std::dynamic_pointer_cast<NSText>(from.object);
    auto object = delegate();
    if (auto* d = dynamic_cast<NSTextFieldDelegate*>(object.get()))
        f(*d, n);
    NotificationCenter::defaultCenter().post(n);
}

bool NSTextField::textShouldBeginEditing(NSText&) {
    return isEditable();
}

bool NSTextField::textShouldEndEditing(NSText&) {
    return true;
}

void NSTextField::textDidBeginEditing(const Notification& notification) {
    tell(textDidBeginEditingNotification, notification,
         [](NSTextFieldDelegate& d, const Notification& n) { d.controlTextDidBeginEditing(n); });
}

void NSTextField::textDidChange(const Notification& notification) {
    // The value follows the editor at once, so readers see what is typed.
    if (auto editor = std::dynamic_pointer_cast<NSText>(notification.object))
        cell()->setStringValue(editor->string());
    tell(textDidChangeNotification, notification,
         [](NSTextFieldDelegate& d, const Notification& n) { d.controlTextDidChange(n); });
}

void NSTextField::textDidEndEditing(const Notification& notification) {
    auto self = sharedAs<NSTextField>(); // the delegate or the action may let go of it
    auto editor = std::dynamic_pointer_cast<NSText>(notification.object);
    NSTextMovement movement = NSTextMovement::other;
    if (auto it = notification.userInfo.find(NSText::movementUserInfoKey);
        it != notification.userInfo.end())
        movement = std::any_cast<NSTextMovement>(it->second);
    auto finish = [&] {
        if (!editor || editor->superview().get() != this)
            return;
        if (auto c = textFieldCell())
            c->endEditing(*editor);
        else
            editor->removeFromSuperview();
    };
    if (editor && editor->string() != stringValue())
        cell()->setStringValue(editor->string());
    // On Return the editor stays and selects the text again (unless the action moves
    // the focus); every other ending takes it out first.
    if (movement != NSTextMovement::return_)
        finish();
    tell(textDidEndEditingNotification, notification,
         [](NSTextFieldDelegate& d, const Notification& n) { d.controlTextDidEndEditing(n); });
    auto c = textFieldCell();
    if (movement == NSTextMovement::return_ || (c && c->sendsActionOnEndEditing))
        sendAction();
    auto w = window();
    switch (movement) {
    case NSTextMovement::return_:
        if (w && editor && w->firstResponder() == editor && editor->delegate() == self)
            editor->selectAll();
        else
            finish();
        break;
    case NSTextMovement::tab:
        if (w)
            w->selectKeyViewFollowingView(*this);
        break;
    case NSTextMovement::backtab:
        if (w)
            w->selectKeyViewPrecedingView(*this);
        break;
    default:
        break;
    }
    setNeedsDisplay(true);
}

bool NSTextField::textViewDoCommandBySelector(NSTextView& view, const std::string& selector) {
    auto object = delegate();
    auto* d = dynamic_cast<NSTextFieldDelegate*>(object.get());
    return d && d->controlTextViewDoCommandBySelector(*this, view, selector);
}
