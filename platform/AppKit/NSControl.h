#pragma once
// Stands in for NSControl, NSCell and target/action: a control is a view that
// draws and tracks through its cell, holds a value (double, float, integer or
// string forms of one object value), an on/off/mixed state and an enabled flag,
// and sends an action message to a weakly held target — or, when there is no
// target (or it has been released), up the responder chain from the window's first
// responder. The default tracking highlights the cell while the mouse is pressed
// inside and sends the action on a mouse-up inside.
// A continuous control also sends its action on the mouse-down and every drag.
// Left out: text editing (a field editor only marks what is edited), formatters, periodic (timer)
// sending, sendActionOn masks, control tints, accessibility. Thread: main thread; sendAction checks
// it.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "AppKit/NSAppearance.h"
#include "AppKit/NSAttributedString.h"
#include "AppKit/NSFont.h"
#include "AppKit/NSParagraphStyle.h"
#include "AppKit/NSView.h"

class NSImage;
class NSText;

// The platform's control sizes, with its raw values.
enum class NSControlSize : int { regular = 0, small = 1, mini = 2, large = 3, extraLarge = 4 };

// An action message: a member function of the target's class taking the sender.
// Sending it to an object of another class does nothing and reports false.
class NSAction {
  public:
    NSAction() = default;
    template <class T>
    NSAction(void (T::*method)(NSObject* sender))
        : call([method](NSObject& target, NSObject* sender) {
              auto* t = dynamic_cast<T*>(&target);
              if (!t)
                  return false;
              (t->*method)(sender);
              return true;
          }) {}
    // A method that an extension adds to class T: a function taking the receiver.
    template <class T> static NSAction extensionMethod(void (*function)(T& receiver, NSObject*)) {
        NSAction a;
        a.call = [function](NSObject& target, NSObject* sender) {
            auto* t = dynamic_cast<T*>(&target);
            if (!t)
                return false;
            function(*t, sender);
            return true;
        };
        return a;
    }
    explicit operator bool() const { return bool(call); }
    // True when `target` understood the message.
    bool sendTo(NSObject& target, NSObject* sender) const { return call && call(target, sender); }

  private:
    std::function<bool(NSObject&, NSObject*)> call;
};

class NSCell : public NSObject {
  public:
    enum class StateValue : int { mixed = -1, off = 0, on = 1 };

    // One object value seen as a number or a text: a number reads as its shortest
    // decimal text, a text as the number it begins with (0 when none).
    double doubleValue() const;
    float floatValue() const { return float(doubleValue()); }
    int intValue() const { return int(doubleValue()); }
    long integerValue() const { return long(doubleValue()); }
    std::string stringValue() const;
    // The numeric setters all store through setDoubleValue, which a cell that keeps its
    // value within bounds overrides.
    virtual void setDoubleValue(double value) { setValue(value); }
    void setFloatValue(float value) { setDoubleValue(double(value)); }
    void setIntegerValue(long value) { setDoubleValue(double(value)); }
    void setStringValue(std::string value) { setValue(std::move(value)); }
    bool hasValue() const { return !std::holds_alternative<std::monostate>(value); }

    StateValue state = StateValue::off;
    bool allowsMixedState = false;
    // off → on → (mixed →) off, as a button's click advances it.
    virtual StateValue nextState() const;
    void setNextState() { state = nextState(); }

    bool isEnabled = true;
    bool isHighlighted = false;
    bool isContinuous = false;
    bool isBordered = false;
    bool isBezeled = false;
    bool isEditable = false;
    bool isSelectable = false;
    long tag = 0;
    std::string title;
    // The cell's image. A subclass may answer with an image of its own and drop what is
    // set (the library's star check box does).
    virtual std::shared_ptr<NSImage> image() const { return image_; }
    virtual void setImage(std::shared_ptr<NSImage> image) { image_ = std::move(image); }
    std::shared_ptr<NSFont> font = NSFont::systemFont(13);
    NSTextAlignment alignment = NSTextAlignment::natural;
    NSLineBreakMode lineBreakMode = NSLineBreakMode::byTruncatingTail;
    NSControlSize controlSize = NSControlSize::regular;

    std::weak_ptr<NSObject> target;
    NSAction action;

    std::shared_ptr<NSView> controlView() const { return view.lock(); }
    void setControlView(std::weak_ptr<NSView> v) { view = std::move(v); }

    // The value as text with the attributes it is drawn with: those given with
    // setAttributedStringValue, until a plain value is set; else textAttributes().
    NSAttributedString attributedStringValue() const;
    void setAttributedStringValue(NSAttributedString value);
    // The attributes of the cell's own text: its font, alignment and line breaking in
    // the control-text colour (the disabled one when not enabled).
    virtual NSStringAttributes textAttributes() const;

    // The background the cell is drawn on and the one of its interior (the latter
    // follows the former unless a cell says otherwise).
    virtual NSBackgroundStyle backgroundStyle() const { return background; }
    virtual void setBackgroundStyle(NSBackgroundStyle style) { background = style; }
    virtual NSBackgroundStyle interiorBackgroundStyle() const { return backgroundStyle(); }
    // True while the control has keyboard focus (for a text cell: while its field
    // editor edits it), which the cell may show.
    bool showsFirstResponder = false;
    NSFocusRingType focusRingType = NSFocusRingType::defaultType;

    // Geometry in the control's coordinates, which tests call without drawing: where
    // the cell draws within `bounds` (all of it here), where its title goes (the
    // drawing rectangle here), and the size the cell wants within `bounds`
    // (cellSize() here).
    virtual CGRect drawingRectForBounds(CGRect bounds) const { return bounds; }
    virtual CGRect titleRectForBounds(CGRect bounds) const { return drawingRectForBounds(bounds); }
    virtual CGSize cellSizeForBounds(CGRect bounds) const { return cellSize(); }
    // Where the image goes within `bounds`: its size centred in the drawing rectangle
    // here; zero without an image.
    virtual CGRect imageRectForBounds(CGRect bounds) const;

    // highlight(_:withFrame:in:): shows the cell pressed or not, and redraws the view.
    virtual void highlight(bool flag, CGRect cellFrame, NSView& controlView);

    // The keyboard-focus ring's mask: its bounds (the frame here) and its drawing (the
    // bounds filled here). A cell whose mask draws nothing gets no ring from the system.
    virtual CGRect focusRingMaskBounds(CGRect cellFrame, NSView& controlView) const {
        return cellFrame;
    }
    virtual void drawFocusRingMask(CGRect cellFrame, NSView& controlView);

    // Drawing: the frame (bezel) and the interior, in the control's coordinates,
    // through the current graphics context. The plain interior is the image centred
    // and the title (or the string value when there is no title) in the cell's font
    // and alignment, centred vertically, dimmed when disabled.
    virtual void drawWithFrame(CGRect cellFrame, NSView& controlView) {
        drawInteriorWithFrame(cellFrame, controlView);
    }
    virtual void drawInteriorWithFrame(CGRect cellFrame, NSView& controlView);
    // The size the cell wants (its title's size in its font by default).
    virtual CGSize cellSize() const;

    // Mouse tracking hooks, points in the control's coordinates.
    virtual bool startTracking(CGPoint point, NSView& controlView) { return true; }
    virtual bool continueTracking(CGPoint last, CGPoint current, NSView& controlView) {
        return true;
    }
    virtual void stopTracking(CGPoint last, CGPoint current, NSView& controlView, bool mouseIsUp) {}

  protected:
    NSCell() = default;

  private:
    void setValue(std::variant<std::monostate, double, std::string> v) {
        value = std::move(v);
        valueAttributes.reset();
    }
    std::variant<std::monostate, double, std::string> value;
    std::optional<NSStringAttributes> valueAttributes;
    NSBackgroundStyle background = NSBackgroundStyle::normal;
    std::weak_ptr<NSView> view;
    std::shared_ptr<NSImage> image_;
};

class NSControl : public NSView {
  public:
    explicit NSControl(CGRect frame = {}) : NSView(frame) {}

    const std::shared_ptr<NSCell>& cell() const { return cell_; }
    // Installs the cell; none installs a new cell of the control's own cell class
    // (makeCell). A control may refuse cells of other kinds.
    virtual void setCell(std::shared_ptr<NSCell> cell);

    // The numeric value: the cell's, unless a control keeps a value of its own.
    virtual double doubleValue() const { return cell_->doubleValue(); }
    virtual float floatValue() const { return cell_->floatValue(); }
    virtual int intValue() const { return cell_->intValue(); }
    virtual long integerValue() const { return cell_->integerValue(); }
    std::string stringValue() const { return cell_->stringValue(); }
    virtual void setDoubleValue(double v);
    virtual void setFloatValue(float v);
    virtual void setIntValue(int v) { setIntegerValue(v); }
    virtual void setIntegerValue(long v);
    void setStringValue(std::string v);

    NSCell::StateValue state() const { return cell_->state; }
    void setState(NSCell::StateValue state);
    bool isEnabled() const { return cell_->isEnabled; }
    // Overridable, as the platform's property: a control may show the change its way.
    virtual void setEnabled(bool enabled);
    bool isHighlighted() const { return cell_->isHighlighted; }
    void setHighlighted(bool highlighted);
    // Whether the control sends its action while it is being changed, not only at the end.
    bool isContinuous() const { return cell_->isContinuous; }
    void setContinuous(bool continuous) { cell_->isContinuous = continuous; }
    // highlight(_:): through the cell's highlight(_:withFrame:in:) on the bounds.
    void highlight(bool flag) { cell_->highlight(flag, bounds(), *this); }
    const std::shared_ptr<NSFont>& font() const { return cell_->font; }
    void setFont(std::shared_ptr<NSFont> font);
    NSControlSize controlSize() const { return cell_->controlSize; }
    void setControlSize(NSControlSize size);
    long tag() const { return cell_->tag; }
    void setTag(long t) { cell_->tag = t; }

    std::shared_ptr<NSObject> target() const { return cell_->target.lock(); }
    void setTarget(std::weak_ptr<NSObject> target) { cell_->target = std::move(target); }
    const NSAction& action() const { return cell_->action; }
    void setAction(NSAction action) { cell_->action = std::move(action); }

    // Sends `action` to `target`, or along the responder chain when the target is
    // absent or released; false when nobody handled it.
    virtual bool sendAction(const NSAction& action, const std::weak_ptr<NSObject>& target);
    bool sendAction() { return sendAction(cell_->action, cell_->target); }

    // The field editor editing this control's text: the window's first responder
    // when it is a text object whose delegate is this control; nullptr otherwise.
    std::shared_ptr<NSText> currentEditor() const;

    // Resizes the control to its cell's size.
    void sizeToFit() { setFrameSize(cell_->cellSize()); }

    // The cell's focus-ring mask on the bounds.
    CGRect focusRingMaskBounds() const override;
    void drawFocusRingMask() override;

    void drawRect(CGRect dirtyRect) override;
    // Ordinary tracking: trackMouse with nothing after it.
    void mouseDown(const NSEvent& event) override;
    void mouseDragged(const NSEvent& event) override;
    void mouseUp(const NSEvent& event) override;

    // The control's ordinary mouse tracking from a mouse-down: the cell highlighted while
    // the pointer is inside, its tracking hooks told, the action sent on a mouse-up
    // inside (and, for a continuous cell, on the press and every drag). The platform runs
    // it as a loop inside mouseDown; here it spans the mouse-down and the drags and
    // mouse-up the window delivers after it, so what a subclass does "once the inherited
    // mouseDown returns" goes in `then`, which runs once tracking has ended (at once when
    // it does not start: a disabled control).
    void trackMouse(const NSEvent& mouseDown, std::function<void()> then = {});
    bool isTracking() const { return tracking; }

  protected:
    // A tracked press released inside the enabled control: sends the action (a button
    // advances its state first).
    virtual void clicked(const NSEvent& mouseUp);
    // Called after a value setter stored a new value in the cell.
    virtual void didSetValue() {}
    // The cell a new control starts with (NSControl's cellClass).
    virtual std::shared_ptr<NSCell> makeCell() { return make<NSCell>(); }
    // Makes the cell; a subclass that overrides it calls NSControl::didInit() first.
    void didInit() override;

  private:
    void endTracking();
    std::shared_ptr<NSCell> cell_;
    bool tracking = false;
    std::function<void()> afterTracking;
    CGPoint lastPoint;
};
