#pragma once
// CursorButton, PopUpCyclingButton and DarkHighlightButton with their cells: plain
// (not styled) buttons. A cursor button shows its own cursor while the pointer is over
// it and shows a press as the whole control at half opacity (its layer's); a pop-up
// cycling button moves its target pop-up button's selection to the next item on a
// click, to the previous one with Shift, wrapping both ways. A dark-highlight button
// shows a chosen cursor over its whole area and draws its image at half strength while
// pressed or disabled.
// Thread: main.

#include <memory>

#include "AppKit/NSButton.h"
#include "AppKit/NSCursor.h"

class CursorButtonCell : public NSButtonCell {
  public:
    // Not the platform's highlight: the control view's layer at opacity 0.5 while
    // pressed, 1 otherwise (nothing without a layer).
    void highlight(bool flag, CGRect frame, NSView& controlView) override;

  protected:
    using NSButtonCell::NSButtonCell;
};

class CursorButton : public NSButton {
  public:
    // The cursor art is the application's image "cursor-cycle": a program without it
    // ends with a message naming it. The button is layer-backed (its press dims the layer).
    explicit CursorButton(CGRect frame = {});

    const std::shared_ptr<NSImage>& cursorImage() const { return image_; }
    // Rebuilds the cursor from the image and the current hot spot.
    void setCursorImage(std::shared_ptr<NSImage> image);
    // Takes effect at the next setCursorImage.
    CGPoint cursorHotSpot{3, 4};
    const std::shared_ptr<NSCursor>& cursor() const { return cursor_; }
    const std::shared_ptr<NSTrackingArea>& trackingArea() const { return area; }

    // One entered-and-exited area over the current bounds, active always.
    void updateTrackingAreas() override;
    bool acceptsFirstMouse(const NSEvent*) const override { return true; }
    // Pushes the cursor; mouseExited pops it.
    void mouseEntered(const NSEvent& event) override;
    void mouseExited(const NSEvent& event) override;

  protected:
    void didInit() override;
    std::shared_ptr<NSCell> makeCell() override { return make<CursorButtonCell>(); }

  private:
    std::shared_ptr<NSImage> image_;
    std::shared_ptr<NSCursor> cursor_;
    std::shared_ptr<NSTrackingArea> area;
};

// Draws its image at 0.5 while highlighted, else 1 (also when disabled), in the image
// rectangle, respecting the view's flip. Used where installed explicitly.
class PopUpCyclingButtonCell : public NSButtonCell {
  public:
    void drawImage(const std::shared_ptr<NSImage>& image, CGRect frame,
                   NSView& controlView) override;

  protected:
    using NSButtonCell::NSButtonCell;
};

class PopUpCyclingButton : public CursorButton {
  public:
    // Its image trails its title.
    explicit PopUpCyclingButton(CGRect frame = {}) : CursorButton(frame) {}

    // The action given is ignored: the target, a pop-up button, selects its previous item
    // while Shift is held, else its next one.
    bool sendAction(const NSAction& action, const std::weak_ptr<NSObject>& target) override;

  protected:
    void didInit() override;
};

class DarkHighlightButtonCell : public NSButtonCell {
  public:
    // The image at 0.5 while highlighted, else 1 enabled / 0.5 disabled, in
    // imageRectForBounds of the frame given, respecting the view's flip.
    void drawImage(const std::shared_ptr<NSImage>& image, CGRect frame,
                   NSView& controlView) override;

  protected:
    using NSButtonCell::NSButtonCell;
};

class DarkHighlightButton : public NSButton {
  public:
    explicit DarkHighlightButton(CGRect frame = {}) : NSButton(frame) {}

    // Shown over the whole button once its window rebuilds its cursor rectangles.
    std::shared_ptr<NSCursor> customCursor = NSCursor::arrow();
    void resetCursorRects() override;

  protected:
    std::shared_ptr<NSCell> makeCell() override { return make<DarkHighlightButtonCell>(); }
};
