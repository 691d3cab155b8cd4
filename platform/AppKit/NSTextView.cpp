#include "AppKit/NSTextView.h"

#include <algorithm>
#include <cmath>

#include "AppKit/NSBezierPath.h"
#include "AppKit/NSEventKeys.h"
#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSWindow.h"

namespace {
bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}
// The character boundaries before and after a byte offset.
std::size_t previousBoundary(const std::string& text, std::size_t i) {
    if (i == 0)
        return 0;
    do
        --i;
    while (i > 0 && isContinuation(text[i]));
    return i;
}
std::size_t nextBoundary(const std::string& text, std::size_t i) {
    if (i >= text.size())
        return text.size();
    do
        ++i;
    while (i < text.size() && isContinuation(text[i]));
    return i;
}
bool isWordByte(char c) {
    return !std::isspace(static_cast<unsigned char>(c));
}
} // namespace

NSTextView::NSTextView(CGRect frame) : NSText(frame) {
    selectedTextAttributes.color = NSColor::selectedTextColor();
    selectedTextAttributes.backgroundColor = NSColor::selectedTextBackgroundColor();
    setClipsToBounds(true);
}

void NSTextView::setString(std::string string) {
    NSText::setString(std::move(string));
    scrollToCaret();
}

NSStringAttributes NSTextView::attributes() const {
    NSStringAttributes a;
    a.font = font;
    a.color = textColor;
    a.lineBreakMode = NSLineBreakMode::byClipping;
    return a;
}

CGFloat NSTextView::offsetOf(std::size_t utf8) const {
    const CGFont cgFont = font ? font->cgFont() : CGFont::system(12);
    const auto offsets = CGTextCaretOffsets(text, cgFont);
    // The index of the character that starts at `utf8`: the character starts before it.
    std::size_t index = 0;
    for (std::size_t i = 0; i < std::min(utf8, text.size()); ++i)
        if (!isContinuation(text[i]))
            ++index;
    const CGFloat width = offsets.back();
    const CGFloat room = bounds().width() - 2 * linePadding;
    CGFloat start = linePadding - scroll;
    if (width <= room && alignment == NSTextAlignment::center)
        start = linePadding + (room - width) / 2;
    else if (width <= room && alignment == NSTextAlignment::right)
        start = linePadding + room - width;
    return start + offsets[std::min(index, offsets.size() - 1)];
}

std::size_t NSTextView::nearestBoundary(CGFloat x) const {
    std::size_t best = 0;
    CGFloat distance = std::abs(offsetOf(0) - x);
    for (std::size_t i = nextBoundary(text, 0); i <= text.size(); i = nextBoundary(text, i)) {
        const CGFloat d = std::abs(offsetOf(i) - x);
        if (d < distance) {
            distance = d;
            best = i;
        }
        if (i == text.size())
            break;
    }
    return best;
}

std::size_t NSTextView::characterIndexForPoint(CGPoint point) const {
    return utf16Position(text, nearestBoundary(point.x));
}

CGFloat NSTextView::caretOffset(std::size_t position) const {
    return offsetOf(utf8Offset(text, position));
}

void NSTextView::select(std::size_t from, std::size_t to) {
    anchor = from;
    caret = to;
    scrollToCaret();
    setNeedsDisplay(true);
}

void NSTextView::scrollToCaret() {
    const CGFont cgFont = font ? font->cgFont() : CGFont::system(12);
    const auto offsets = CGTextCaretOffsets(text, cgFont);
    std::size_t index = 0;
    for (std::size_t i = 0; i < caret; ++i)
        if (!isContinuation(text[i]))
            ++index;
    const CGFloat x = offsets[std::min(index, offsets.size() - 1)];
    const CGFloat room = std::max<CGFloat>(0, bounds().width() - 2 * linePadding);
    if (x - scroll > room)
        scroll = x - room;
    if (x - scroll < 0)
        scroll = x;
    // No empty room at the end while the text is scrolled.
    scroll = std::max<CGFloat>(0, std::min(scroll, offsets.back() - room));
}

void NSTextView::insertText(const std::string& inserted) {
    Runtime::assertMainThread("NSTextView.insertText");
    if (!isEditable)
        return;
    if (!began)
        if (auto d = textDelegate(); d && !d->textShouldBeginEditing(*this))
            return;
    replaceSelection(inserted);
}

void NSTextView::replaceSelection(const std::string& with) {
    const std::size_t from = std::min(anchor, caret), to = std::max(anchor, caret);
    text.replace(from, to - from, with);
    anchor = caret = from + with.size();
    changed();
}

void NSTextView::changed() {
    auto self = sharedAs<NSObject>();
    auto d = textDelegate();
    if (!began) {
        began = true;
        Notification n{didBeginEditingNotification, self, {}};
        if (d)
            d->textDidBeginEditing(n);
        NotificationCenter::defaultCenter().post(n);
    }
    Notification n{didChangeNotification, self, {}};
    if (d)
        d->textDidChange(n);
    NotificationCenter::defaultCenter().post(n);
    scrollToCaret();
    setNeedsDisplay(true);
}

void NSTextView::endEditing(NSTextMovement movement) {
    if (ending)
        return;
    if (auto d = textDelegate(); d && !d->textShouldEndEditing(*this))
        return;
    tellEnd(movement);
}

void NSTextView::tellEnd(NSTextMovement movement) {
    ending = true;
    began = false;
    Notification n{didEndEditingNotification, sharedAs<NSObject>(), {}};
    n.userInfo[movementUserInfoKey] = movement;
    if (auto d = textDelegate())
        d->textDidEndEditing(n);
    NotificationCenter::defaultCenter().post(n);
    ending = false;
}

bool NSTextView::resignFirstResponder() {
    if (isFieldEditor && !ending) {
        if (auto d = textDelegate(); d && !d->textShouldEndEditing(*this))
            return false;
        tellEnd(NSTextMovement::other);
    }
    setNeedsDisplay(true);
    return true;
}

void NSTextView::doCommandBySelector(const std::string& selector) {
    Runtime::assertMainThread("NSTextView.doCommandBySelector");
    auto object = delegate();
    if (auto* d = dynamic_cast<NSTextViewDelegate*>(object.get()))
        if (d->textViewDoCommandBySelector(*this, selector))
            return;
    const std::size_t from = std::min(anchor, caret), to = std::max(anchor, caret);
    if (selector == "insertNewline:") {
        if (isFieldEditor)
            endEditing(NSTextMovement::return_);
        else
            insertText("\n");
    } else if (selector == "insertTab:") {
        if (isFieldEditor)
            endEditing(NSTextMovement::tab);
        else
            insertText("\t");
    } else if (selector == "insertBacktab:") {
        if (isFieldEditor)
            endEditing(NSTextMovement::backtab);
    } else if (selector == "cancelOperation:") {
        if (auto next = nextResponder())
            next->cancelOperation(this);
    } else if (selector == "deleteBackward:" || selector == "deleteForward:") {
        if (!isEditable)
            return;
        if (from == to) {
            if (selector == "deleteBackward:" ? from == 0 : to == text.size())
                return;
            anchor = selector == "deleteBackward:" ? previousBoundary(text, from) : from;
            caret = selector == "deleteBackward:" ? to : nextBoundary(text, to);
        }
        if (!began)
            if (auto d = textDelegate(); d && !d->textShouldBeginEditing(*this))
                return;
        replaceSelection("");
    } else if (selector == "moveLeft:") {
        const std::size_t at = from != to ? from : previousBoundary(text, from);
        select(at, at);
    } else if (selector == "moveRight:") {
        const std::size_t at = from != to ? to : nextBoundary(text, to);
        select(at, at);
    } else if (selector == "moveLeftAndModifySelection:") {
        select(anchor, previousBoundary(text, caret));
    } else if (selector == "moveRightAndModifySelection:") {
        select(anchor, nextBoundary(text, caret));
    } else if (selector == "moveToBeginningOfLine:" || selector == "moveUp:") {
        select(0, 0);
    } else if (selector == "moveToEndOfLine:" || selector == "moveDown:") {
        select(text.size(), text.size());
    } else if (selector == "moveToBeginningOfLineAndModifySelection:") {
        select(anchor, 0);
    } else if (selector == "moveToEndOfLineAndModifySelection:") {
        select(anchor, text.size());
    } else if (selector == "selectAll:") {
        select(0, text.size());
    }
}

void NSTextView::keyDown(const NSEvent& event) {
    const uint64_t flags = event.modifierFlags();
    const bool shift = flags & NSEvent::shift;
    const auto key = event.specialKey();
    const std::string& characters = event.characters();
    using K = NSEventSpecialKey;
    if (flags & NSEvent::command) {
        if (characters == "a")
            doCommandBySelector("selectAll:");
        else if (key == K::leftArrow)
            doCommandBySelector(shift ? "moveToBeginningOfLineAndModifySelection:"
                                      : "moveToBeginningOfLine:");
        else if (key == K::rightArrow)
            doCommandBySelector(shift ? "moveToEndOfLineAndModifySelection:" : "moveToEndOfLine:");
        else
            NSText::keyDown(event); // a shortcut for someone further up
        return;
    }
    if (key) {
        switch (*key) {
        case K::carriageReturn:
        case K::enter:
        case K::newline:
            return doCommandBySelector("insertNewline:");
        case K::tab:
            return doCommandBySelector(shift ? "insertBacktab:" : "insertTab:");
        case K::backTab:
            return doCommandBySelector("insertBacktab:");
        case K::delete_:
        case K::backspace:
            return doCommandBySelector("deleteBackward:");
        case K::deleteForward:
            return doCommandBySelector("deleteForward:");
        case K::leftArrow:
            return doCommandBySelector(shift ? "moveLeftAndModifySelection:" : "moveLeft:");
        case K::rightArrow:
            return doCommandBySelector(shift ? "moveRightAndModifySelection:" : "moveRight:");
        case K::upArrow:
            return doCommandBySelector("moveUp:");
        case K::downArrow:
            return doCommandBySelector("moveDown:");
        case K::home:
            return doCommandBySelector("moveToBeginningOfLine:");
        case K::end:
            return doCommandBySelector("moveToEndOfLine:");
        default:
            return NSText::keyDown(event);
        }
    }
    if (characters == "\x1b")
        return doCommandBySelector("cancelOperation:");
    if ((flags & NSEvent::control) || characters.empty() ||
        static_cast<unsigned char>(characters[0]) < 0x20)
        return NSText::keyDown(event);
    insertText(characters);
}

void NSTextView::mouseDown(const NSEvent& event) {
    if (!isSelectable)
        return;
    const CGPoint p = convertFromView(event.locationInWindow(), nullptr);
    const std::size_t at = nearestBoundary(p.x);
    if (event.clickCount() >= 2) {
        std::size_t from = at, to = at;
        while (from > 0 && isWordByte(text[from - 1]))
            from = previousBoundary(text, from);
        while (to < text.size() && isWordByte(text[to]))
            to = nextBoundary(text, to);
        select(from, to);
    } else if (event.modifierFlags() & NSEvent::shift) {
        select(anchor, at);
    } else {
        select(at, at);
    }
}

void NSTextView::mouseDragged(const NSEvent& event) {
    if (!isSelectable)
        return;
    const CGPoint p = convertFromView(event.locationInWindow(), nullptr);
    select(anchor, nearestBoundary(p.x));
}

void NSTextView::drawRect(CGRect) {
    if (!NSGraphicsContext::current())
        return;
    if (drawsBackground && backgroundColor) {
        backgroundColor->setFill();
        NSBezierPath::fillRect(bounds());
    }
    const NSStringAttributes plain = attributes();
    const CGFloat lineHeight = font ? font->cgFont().lineHeight() : CGFont::system(12).lineHeight();
    const std::size_t from = std::min(anchor, caret), to = std::max(anchor, caret);
    if (from == to) {
        if (!text.empty())
            NSStringDraw(text, CGPoint{offsetOf(0), 0}, plain);
    } else {
        if (selectedTextAttributes.backgroundColor) {
            selectedTextAttributes.backgroundColor->setFill();
            NSBezierPath::fillRect({offsetOf(from), 0, offsetOf(to) - offsetOf(from), lineHeight});
        }
        NSStringAttributes selected = plain;
        if (selectedTextAttributes.color)
            selected.color = selectedTextAttributes.color;
        const struct {
            std::size_t start, end;
            const NSStringAttributes& attributes;
        } parts[] = {{0, from, plain}, {from, to, selected}, {to, text.size(), plain}};
        for (const auto& part : parts)
            if (part.end > part.start)
                NSStringDraw(text.substr(part.start, part.end - part.start),
                             CGPoint{offsetOf(part.start), 0}, part.attributes);
    }
    auto w = window();
    const bool focused = w && w->isKeyWindow() && w->firstResponder().get() == this;
    if (from == to && focused && isEditable && insertionPointColor) {
        insertionPointColor->setFill();
        NSBezierPath::fillRect({std::floor(offsetOf(caret)), 0, 1, lineHeight});
    }
}
