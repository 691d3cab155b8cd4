#pragma once
// Stands in for NSText: a view holding editable text — the string, its font, colours
// and alignment, the selected range, and a delegate told when editing begins,
// changes and ends. NSTextView (NSTextView.h) is the one that types, selects and
// draws; a window's field editor is one of those, which the window puts in front of a
// control while the user edits the control's text. The control being edited is the
// editor's delegate; while the editor is the window's first responder it is that
// control's current editor (NSControl::currentEditor).
//
// Positions: ranges count UTF-16 code units, as on the platform; the text itself is
// UTF-8, and a range that falls inside a character is moved to its start.
// Left out: rich text, text storage and layout managers, undo, spelling.
// Thread: main thread.

#include <memory>
#include <string>

#include "AppKit/NSColor.h"
#include "AppKit/NSFont.h"
#include "AppKit/NSParagraphStyle.h"
#include "AppKit/NSView.h"
#include "Foundation/NSRange.h"
#include "Foundation/NotificationCenter.h"

class NSText;

// How editing ended (NSTextMovement, with the platform's raw values).
enum class NSTextMovement : int {
    other = 0,
    return_ = 0x10,
    tab = 0x11,
    backtab = 0x12,
    left = 0x13,
    right = 0x14,
    up = 0x15,
    down = 0x16,
    cancel = 0x17,
};

// What a text object tells its delegate: asked before editing begins and ends, told
// when it began (at the first change), changed and ended. The notifications' object
// is the text object; the end's user info holds the movement under
// NSText::movementUserInfoKey (an NSTextMovement).
class NSTextDelegate {
  public:
    virtual ~NSTextDelegate() = default;
    virtual bool textShouldBeginEditing(NSText&) { return true; }
    virtual bool textShouldEndEditing(NSText&) { return true; }
    virtual void textDidBeginEditing(const Notification&) {}
    virtual void textDidChange(const Notification&) {}
    virtual void textDidEndEditing(const Notification&) {}
};

class NSText : public NSView {
  public:
    explicit NSText(CGRect frame = {}) : NSView(frame) {}

    static constexpr const char* didBeginEditingNotification = "NSTextDidBeginEditingNotification";
    static constexpr const char* didChangeNotification = "NSTextDidChangeNotification";
    static constexpr const char* didEndEditingNotification = "NSTextDidEndEditingNotification";
    static constexpr const char* movementUserInfoKey = "NSTextMovement";

    bool acceptsFirstResponder() const override { return true; }
    bool isFlipped() const override { return true; }

    // The text; setting it puts the insertion point at its end.
    const std::string& string() const { return text; }
    virtual void setString(std::string string);
    std::shared_ptr<NSFont> font = NSFont::systemFont(13);
    std::shared_ptr<NSColor> textColor = NSColor::textColor();
    std::shared_ptr<NSColor> backgroundColor = NSColor::textBackgroundColor();
    bool drawsBackground = true;
    NSTextAlignment alignment = NSTextAlignment::natural;
    bool isEditable = true;
    bool isSelectable = true;
    // A field editor ends editing on Return, Tab and Back-Tab instead of typing them.
    bool isFieldEditor = false;

    // The selection (empty: the insertion point), in UTF-16 units, clamped to the text.
    NSRange selectedRange() const;
    void setSelectedRange(NSRange range);
    void selectAll(NSObject* sender = nullptr);

    // The object whose text is being edited (weak); told what happens when it is an
    // NSTextDelegate.
    std::shared_ptr<NSObject> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<NSObject> delegate) { delegate_ = std::move(delegate); }

  protected:
    // The selection in UTF-8 byte offsets, at character starts: the anchor stays put
    // while the caret moves when a selection is extended.
    std::size_t anchor = 0;
    std::size_t caret = 0;
    std::string text;
    // The delegate as an NSTextDelegate (kept alive for the call), or null.
    std::shared_ptr<NSTextDelegate> textDelegate() const;

  private:
    std::weak_ptr<NSObject> delegate_;
};

// Conversions between the UTF-16 positions of ranges and UTF-8 byte offsets of a text
// (a position inside a character goes to its start; beyond the end, to the end).
std::size_t utf8Offset(const std::string& text, std::size_t utf16Position);
std::size_t utf16Position(const std::string& text, std::size_t utf8Offset);
