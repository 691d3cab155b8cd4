#pragma once
// Stands in for NSTextView in the role it plays here: the text object that types,
// selects and draws one line of text, as a window's field editor does (and any
// editable text view of one line).
//
// Keys: printable characters replace the selection; Delete and Forward Delete remove
// the selection or one character; the left and right arrows (with Shift: extending
// the selection; with Command: to the ends), Home and End move the insertion point;
// Command-A selects everything. Return and Enter, Tab, Back-Tab (Shift-Tab) and
// Escape become the commands "insertNewline:", "insertTab:", "insertBacktab:" and
// "cancelOperation:", which the delegate (an NSTextViewDelegate) may take first:
// otherwise a field editor ends editing with the Return, Tab or Back-Tab movement,
// and Escape goes up the responder chain as cancelOperation. The up and down arrows
// are the commands "moveUp:" and "moveDown:" (nothing here beyond the delegate).
// A field editor also ends editing (movement other) when it resigns first responder.
//
// Mouse: a click puts the insertion point at the nearest character boundary (Shift
// extends the selection), a drag selects, a double click selects a word.
//
// Drawing (flipped, from the top): the background when drawsBackground, then the
// selection's background and the text, its selected part in the selected-text
// colours, then (with an empty selection, while it is first responder of the key
// window) a caret one point wide in insertionPointColor. The line starts two points
// in (the platform's line-fragment padding) and scrolls sideways to keep the caret
// in view.
// Left out: several lines, the pasteboard (cut, copy, paste), undo, input methods.
// Thread: main thread.

#include <string>

#include "AppKit/NSStringDrawing.h"
#include "AppKit/NSText.h"

class NSTextView;

// A text delegate that may also take the view's commands: true when it handled one.
class NSTextViewDelegate : public NSTextDelegate {
  public:
    virtual bool textViewDoCommandBySelector(NSTextView&, const std::string& selector) {
        return false;
    }
};

class NSTextView : public NSText {
  public:
    // The line-fragment padding: where the line starts in from the view's edge.
    static constexpr CGFloat linePadding = 2;

    explicit NSTextView(CGRect frame = {});

    std::shared_ptr<NSColor> insertionPointColor = NSColor::textColor();
    // The foreground (`color`) and background colours of selected text.
    NSStringAttributes selectedTextAttributes;

    bool acceptsFirstResponder() const override { return isSelectable; }
    bool resignFirstResponder() override;

    void setString(std::string string) override;

    // Replaces the selection with `text` when editable, as typing does.
    void insertText(const std::string& text);
    // Runs one of the commands named above (or "deleteBackward:", "deleteForward:",
    // "moveLeft:", "moveRight:", "moveLeftAndModifySelection:",
    // "moveRightAndModifySelection:", "moveToBeginningOfLine:", "moveToEndOfLine:",
    // "selectAll:"), after offering it to the delegate.
    void doCommandBySelector(const std::string& selector);

    // The UTF-16 position of the character boundary nearest to `point` (in the view's
    // coordinates), and the horizontal place of a position's caret.
    std::size_t characterIndexForPoint(CGPoint point) const;
    CGFloat caretOffset(std::size_t utf16Position) const;

    void keyDown(const NSEvent& event) override;
    void mouseDown(const NSEvent& event) override;
    void mouseDragged(const NSEvent& event) override;
    void drawRect(CGRect dirtyRect) override;

  private:
    NSStringAttributes attributes() const;
    CGFloat offsetOf(std::size_t utf8) const;
    std::size_t nearestBoundary(CGFloat x) const;
    void select(std::size_t from, std::size_t to);
    void replaceSelection(const std::string& with);
    void changed();
    // Asks the delegate whether editing may end, then tells it that it ended.
    void endEditing(NSTextMovement movement);
    void tellEnd(NSTextMovement movement);
    void scrollToCaret();

    bool began = false;  // the first change of this editing session has been told
    bool ending = false; // editing is ending (the delegate is being told)
    CGFloat scroll = 0;  // how far the line is scrolled left
};
