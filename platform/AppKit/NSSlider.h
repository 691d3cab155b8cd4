#pragma once
// Stands in for NSSlider and NSSliderCell: a control whose value lies between a
// minimum and a maximum, drawn as a bar with a knob and set by pressing and dragging:
// a press on the knob keeps the knob where it was grabbed, a press elsewhere on the
// slider moves the knob's centre there first. The cell holds the range and lays out
// and draws bar and knob; the control forwards to it.
//
// Geometry, in the control's coordinates. t = the cell's drawing rectangle of the
// control's bounds, kt = knobThickness(), f = (value − min) / (max − min), 0 for an
// empty range. A horizontal slider's bar is (t.minX, t.midY − 2, t.width, 4); its knob
// is the kt × kt square at x = t.minX + f (t.width − kt), centred on the bar. A
// vertical slider is the same along y with the minimum at the bottom of the screen.
// The value of a point is the one whose knob is centred on it, clamped to the range.
//
// Values: a linear slider clamps a value set to min…max; a circular one wraps it into
// [min, max) (max − min is a full turn). A circular slider is drawn and tracked as a
// linear one here.
//
// Events: a press (when enabled) highlights the cell and sets the value; drags set it;
// the release ends the highlight. A continuous slider (the default) sends its action
// on the press and every drag; every slider sends it on the release. The action goes
// out while the application's current event is the event that caused it.
//
// Left out: tick marks (numberOfTickMarks is kept, none are drawn or snapped to),
// circular drawing, the keyboard, alternate increments, accessibility.
// Thread: main thread.

#include "AppKit/NSControl.h"

// The platform's slider kinds, with its raw values.
enum class NSSliderType : int { linear = 0, circular = 1 };

class NSSliderCell : public NSCell {
  public:
    // The range. Setting one end keeps the value inside the new range.
    virtual double minValue() const { return minimum; }
    virtual void setMinValue(double value);
    virtual double maxValue() const { return maximum; }
    virtual void setMaxValue(double value);
    // Clamped (linear) or wrapped (circular) into the range.
    void setDoubleValue(double value) override;

    virtual NSSliderType sliderType() const { return type; }
    virtual void setSliderType(NSSliderType kind) { type = kind; }
    virtual bool isVertical() const { return vertical; }
    virtual void setVertical(bool v) { vertical = v; }
    // The knob's length along the bar (20 points; 16 small, 12 mini).
    virtual CGFloat knobThickness() const;
    int numberOfTickMarks = 0;

    // The rectangle bar and knob are laid out in: the drawing rectangle of the control
    // view's bounds (empty without a control view).
    CGRect trackRect() const;
    // The bar and the knob, laid out as the header says; `flipped`: whether the
    // control view's y axis points down.
    virtual CGRect barRect(bool flipped) const;
    virtual CGRect knobRect(bool flipped) const;
    // The value whose knob would be centred on `point`, within the range.
    double valueAt(CGPoint point, bool flipped) const;

    // Drawing through the current graphics context: the bar as a rounded grey track
    // filled up to the knob, the knob as a light disc (dimmed when disabled).
    void drawWithFrame(CGRect cellFrame, NSView& controlView) override;
    virtual void drawBar(CGRect inside, bool flipped);
    virtual void drawKnob(CGRect knobRect);
    // The knob at knobRect of the control view's flipping.
    void drawKnob();
    virtual void drawTickMarks() {}

    bool startTracking(CGPoint point, NSView& controlView) override;
    bool continueTracking(CGPoint last, CGPoint current, NSView& controlView) override;

  protected:
    NSSliderCell() { isContinuous = true; }
    bool controlViewIsFlipped() const;

  private:
    double fraction() const;
    double minimum = 0, maximum = 1;
    NSSliderType type = NSSliderType::linear;
    bool vertical = false;
    // Where the knob was grabbed, from its centre along the bar.
    CGFloat grabOffset = 0;
};

class NSSlider : public NSControl {
  public:
    explicit NSSlider(CGRect frame = {}) : NSControl(frame) {}

    // Forwarded to a slider cell; a cell of another kind answers the defaults (0…1,
    // linear, horizontal) and ignores the setters.
    double minValue() const;
    void setMinValue(double value);
    double maxValue() const;
    void setMaxValue(double value);
    NSSliderType sliderType() const;
    void setSliderType(NSSliderType type);
    bool isVertical() const;
    void setVertical(bool vertical);
    CGFloat knobThickness() const;
    // The cell as a slider cell; null when it is of another kind.
    NSSliderCell* sliderCell() const { return dynamic_cast<NSSliderCell*>(cell().get()); }

    // No intrinsic width; the height of the regular control (21 points, 16 small,
    // 13 mini) — widths and heights swap for a vertical slider.
    CGSize intrinsicContentSize() const override;

    // An enabled slider takes keyboard focus (as with full keyboard access), but not from
    // a click, like a button.
    bool acceptsFirstResponder() const override { return isEnabled(); }
    bool focusesOnClick() const override { return false; }

    void mouseDown(const NSEvent& event) override;
    void mouseDragged(const NSEvent& event) override;
    void mouseUp(const NSEvent& event) override;

  protected:
    std::shared_ptr<NSCell> makeCell() override { return make<NSSliderCell>(); }

  private:
    bool tracking = false;
    CGPoint lastPoint;
};
