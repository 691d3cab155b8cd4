#pragma once
// Stands in for NSTextField and NSTextFieldCell: a control that shows a line of text
// (or a few, when it wraps) and, when editable or selectable, lets the user edit it
// through its window's field editor.
//
// The cell draws and measures: its background colour when drawsBackground, a one-point
// line for the bezel or border (the stand-in's plain bezel), then the text — the
// attributed string value, or the placeholder (attributed, else plain in the
// placeholder colour and the cell's font) when the value is empty — from the top of the
// title rectangle, two points in from each side (the line-fragment padding the field
// editor also keeps). A bezeled or bordered cell's drawing rectangle is its bounds
// inset by two points on every side; the title rectangle is the drawing rectangle. One
// line is drawn, shortened by the line-break mode, unless the cell wraps (then up to
// maximumNumberOfLines, 0 for any). While the field editor edits the cell
// (showsFirstResponder) the cell draws no text: the editor does.
//
// Editing: clicking or tabbing into an editable or selectable field makes it first
// responder, which puts the window's field editor over the cell's title rectangle
// (the cell's select or edit with frame), set up by setUpFieldEditorAttributes, and
// makes the editor first responder. Typing changes the field's value at once and
// tells the delegate (controlTextDidBeginEditing at the first change,
// controlTextDidChange at each, controlTextDidEndEditing at the end; the same
// notifications go to the default centre). Return ends editing, sends the action and
// selects the whole text again in the same editor (which stays first responder unless
// the action moved the focus); Tab and Back-Tab end editing and move to the next or
// previous key view; clicking elsewhere ends editing. The action is sent on Return, and
// on the other endings only with sendsActionOnEndEditing. The field's delegate may take
// the editor's commands first (control:textView:doCommandBySelector:).
//
// Intrinsic size: the cell's size for an unbounded width — its height always, its width
// only when the field is not editable (an editable field's width is open).
// Left out: formatters and validation, undo, the expansion tool tip's window (the flag
// is kept), tightening (kept, pango does not tighten).
// Thread: main thread.

#include <memory>
#include <optional>
#include <string>

#include "AppKit/NSControl.h"
#include "AppKit/NSTextView.h"

class NSTextField;

class NSTextFieldCell : public NSCell {
  public:
    // The text shown while the value is empty; the attributed one wins.
    std::optional<std::string> placeholderString;
    std::optional<NSAttributedString> placeholderAttributedString;
    std::shared_ptr<NSColor> textColor = NSColor::controlTextColor();
    std::shared_ptr<NSColor> backgroundColor = NSColor::textBackgroundColor();
    bool drawsBackground = false;
    // Several lines only when the cell wraps; at most this many (0: any).
    bool wraps = false;
    int maximumNumberOfLines = 1;
    bool allowsDefaultTighteningForTruncation = false;
    bool sendsActionOnEndEditing = false;

    // The cell's own text attributes: its font, text colour (the disabled control-text
    // colour when not enabled), alignment and line breaking.
    NSStringAttributes textAttributes() const override;

    CGRect drawingRectForBounds(CGRect bounds) const override;
    // The text's size (or the placeholder's, while the value is empty) plus the
    // padding and the margins of the drawing rectangle, laid out within the width of
    // `bounds` when the cell wraps (DBL_MAX: unbounded).
    CGSize cellSizeForBounds(CGRect bounds) const override;
    CGSize cellSize() const override;

    void drawWithFrame(CGRect cellFrame, NSView& controlView) override;
    void drawInteriorWithFrame(CGRect cellFrame, NSView& controlView) override;

    // Field editing. Both put `editor` over `frame` of `controlView` with the cell's
    // text, set up by setUpFieldEditorAttributes, with `delegate` as its delegate,
    // and make it the window's first responder: select with the given selection, edit
    // with the insertion point where `event` (a mouse-down) is, or at the end.
    virtual void selectWithFrame(CGRect frame, NSView& controlView, NSText& editor,
                                 std::weak_ptr<NSObject> delegate, std::size_t start,
                                 std::size_t length);
    virtual void editWithFrame(CGRect frame, NSView& controlView, NSText& editor,
                               std::weak_ptr<NSObject> delegate, const NSEvent* event);
    // Takes the editor out of the control and forgets its delegate.
    virtual void endEditing(NSText& editor);
    // Gives the editor the cell's font, alignment, colours, background, editability;
    // returns it.
    virtual NSText& setUpFieldEditorAttributes(NSText& editor);

  protected:
    NSTextFieldCell() = default;
    // The value, or the placeholder, from the top of `titleRect`, two points in from
    // each side; nothing while the field editor edits the cell.
    void drawTextInRect(CGRect titleRect);

  private:
    void startEditing(CGRect frame, NSView& controlView, NSText& editor,
                      std::weak_ptr<NSObject> delegate);
};

// What a text field tells its delegate (NSTextFieldDelegate with the control's
// text-editing methods). The notifications' object is the field; their user info
// holds the field editor under "NSFieldEditor" (and, at the end, the movement).
class NSTextFieldDelegate {
  public:
    virtual ~NSTextFieldDelegate() = default;
    virtual void controlTextDidBeginEditing(const Notification&) {}
    virtual void controlTextDidChange(const Notification&) {}
    virtual void controlTextDidEndEditing(const Notification&) {}
    // An editor command ("insertNewline:", "cancelOperation:", "moveUp:", ...);
    // true when the delegate handled it.
    virtual bool controlTextViewDoCommandBySelector(NSControl&, NSTextView&,
                                                    const std::string& selector) {
        return false;
    }
};

class NSTextField : public NSControl, public NSTextViewDelegate {
  public:
    explicit NSTextField(CGRect frame = {}) : NSControl(frame) {}

    static constexpr const char* textDidBeginEditingNotification =
        "NSControlTextDidBeginEditingNotification";
    static constexpr const char* textDidChangeNotification = "NSControlTextDidChangeNotification";
    static constexpr const char* textDidEndEditingNotification =
        "NSControlTextDidEndEditingNotification";

    // An editable, selectable, bezeled field showing `string`; a label: not editable,
    // not selectable, no bezel, no background.
    static std::shared_ptr<NSTextField> textFieldWithString(const std::string& string);
    static std::shared_ptr<NSTextField> labelWithString(const std::string& string);

    // The cell as a text-field cell (null when a cell of another kind was installed).
    std::shared_ptr<NSTextFieldCell> textFieldCell() const;

    // The delegate (weak); told when it is an NSTextFieldDelegate.
    std::shared_ptr<NSObject> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<NSObject> delegate) { delegate_ = std::move(delegate); }

    // The cell's settings (a cell of another kind ignores them and reads defaults).
    std::optional<std::string> placeholderString() const;
    void setPlaceholderString(std::optional<std::string> placeholder);
    std::optional<NSAttributedString> placeholderAttributedString() const;
    void setPlaceholderAttributedString(std::optional<NSAttributedString> placeholder);
    std::shared_ptr<NSColor> textColor() const;
    void setTextColor(std::shared_ptr<NSColor> color);
    std::shared_ptr<NSColor> backgroundColor() const;
    void setBackgroundColor(std::shared_ptr<NSColor> color);
    bool drawsBackground() const;
    void setDrawsBackground(bool draws);
    int maximumNumberOfLines() const;
    void setMaximumNumberOfLines(int lines);
    bool allowsDefaultTighteningForTruncation() const;
    void setAllowsDefaultTighteningForTruncation(bool allows);
    bool isEditable() const { return cell()->isEditable; }
    void setEditable(bool editable);
    bool isSelectable() const { return cell()->isSelectable || cell()->isEditable; }
    void setSelectable(bool selectable);
    bool isBezeled() const { return cell()->isBezeled; }
    void setBezeled(bool bezeled);
    bool isBordered() const { return cell()->isBordered; }
    void setBordered(bool bordered);
    NSTextAlignment alignment() const { return cell()->alignment; }
    void setAlignment(NSTextAlignment alignment);
    NSLineBreakMode lineBreakMode() const { return cell()->lineBreakMode; }
    void setLineBreakMode(NSLineBreakMode mode);
    NSAttributedString attributedStringValue() const { return cell()->attributedStringValue(); }
    void setAttributedStringValue(NSAttributedString value);
    // Whether a shortened text shows its whole in a tool tip while hovered.
    bool allowsExpansionToolTips = false;
    // The bezel's shape, with the platform's raw values; carried, the plain bezel is drawn.
    enum class BezelStyle : int { square = 0, rounded = 1 };
    BezelStyle bezelStyle = BezelStyle::square;

    NSFocusRingType focusRingType() const override { return cell()->focusRingType; }
    void setFocusRingType(NSFocusRingType type) override { cell()->focusRingType = type; }

    CGSize intrinsicContentSize() const override;
    bool acceptsFirstResponder() const override { return isSelectable() && isEnabled(); }
    // Starts editing the whole text with the field editor.
    bool becomeFirstResponder() override;
    // Selects the whole text in the field editor (starting to edit when needed).
    void selectText(NSObject* sender = nullptr);
    // Ends editing at once, keeping what the editor holds / throwing it away.
    void validateEditing();
    void abortEditing();

    void mouseDown(const NSEvent& event) override;
    void mouseDragged(const NSEvent& event) override;
    void mouseUp(const NSEvent& event) override;

    // The field editor's delegate side.
    bool textShouldBeginEditing(NSText&) override;
    bool textShouldEndEditing(NSText&) override;
    void textDidBeginEditing(const Notification& notification) override;
    void textDidChange(const Notification& notification) override;
    void textDidEndEditing(const Notification& notification) override;
    bool textViewDoCommandBySelector(NSTextView& view, const std::string& selector) override;

  protected:
    std::shared_ptr<NSCell> makeCell() override;
    // Makes the cell, then makes the field editable, selectable and bezeled, with a
    // background; a subclass that overrides it calls NSTextField::didInit() first.
    void didInit() override;
    // Keeps a running field editor's text in step with a value set in code.
    void didSetValue() override;

  private:
    // Calls `f` on the delegate when it is an NSTextFieldDelegate, and posts `name`.
    template <class F> void tell(const char* name, const Notification& from, F f);
    std::weak_ptr<NSObject> delegate_;
};
