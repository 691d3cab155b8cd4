#pragma once
// StyledSlider, StyledScrollableSlider and StyledSliderCell: the library's linear
// slider. The cell lays out and draws the bar, its filled part and the knob from the
// slider style's artwork; the slider reports the start, the course and the end of a
// drag through three callbacks chosen by the type of the event being dispatched, and
// can keep a fixed width; the scrollable slider also follows the scroll wheel.
//
// Style members read (SliderCellStyle, the cell's class style, with a clear background):
// barImage(forState:) — default the alley, highlighted the fill —,
// knobImage(forState:) and interiorBackgroundStyle. Template artwork is tinted with
// the control-text colour; artwork is drawn at fraction 1 when enabled, 0.5 when not.
//
// The cell's control state is built from three facts only: default always, disabled
// when not enabled, highlighted when highlighted and enabled.
// Thread: main.

#include <functional>
#include <optional>

#include "AppKit/NSSlider.h"
#include "Styles/StyledControl.h"

class StyledSliderCell : public StyledControl<StyledSliderCell, SliderCellStyle, NSSliderCell> {
  public:
    // The slider style with a clear background colour.
    static std::shared_ptr<SliderCellStyle> makeStyle();

    StyledControlState controlState() const override;

    // The focus-ring mask draws nothing; its bounds are the frame of a bezeled or
    // bordered cell, else the drawing rectangle of the frame.
    void drawFocusRingMask(CGRect, NSView&) override {}
    CGRect focusRingMaskBounds(CGRect frame, NSView& controlView) const override;

    // Always a horizontal linear slider (the setters still store into the base).
    NSSliderType sliderType() const override { return NSSliderType::linear; }
    bool isVertical() const override { return false; }
    // The bar artwork's width for the state (not the knob's) when there is bar art.
    CGFloat knobThickness() const override;

    // The base bar s re-centred on the drawing rectangle d of the control view's
    // bounds at the artwork's height h: y = round(d.midY − h / 2) (halves away from
    // zero), (s.x, y, s.width, h) made integral, then inset 2 points left and right
    // and made integral again. s without a control view or bar art.
    CGRect barRect(bool flipped) const override;
    // The knob art (kw × kh) over the base knob s: x = round(s.midX − kw / 2), then
    // within [0, max(b.width − 12, 1)] for the bar b; made integral at y 0, then
    // y = round(b.midY − height / 2) and integral again. s without knob art.
    CGRect knobRect(bool flipped) const override;
    // The default bar art into `inside`, then the highlighted bar art (the fill) from
    // its left edge to the knob's centre; in a flipped view the context is first
    // turned upside down over the drawing rectangle's height.
    void drawBar(CGRect inside, bool flipped) override;
    // The knob art for the state into `knobRect`.
    void drawKnob(CGRect knobRect) override;
    void drawTickMarks() override {}

    NSBackgroundStyle interiorBackgroundStyle() const override;

  private:
    CGFloat artFraction() const { return isEnabled ? 1.0 : 0.5; }
};

class StyledSlider : public NSSlider {
  public:
    explicit StyledSlider(CGRect frame = {}) : NSSlider(frame) {}

    // Called with the value when a drag starts (mouse down), moves (mouse dragged)
    // and ends (mouse up), as the action arrives for each; none at first.
    std::function<void(double)> onSlideStarted;
    std::function<void(double)> onSlideOngoing;
    std::function<void(double)> onSlideComplete;
    // A width the slider asks for; none at first.
    std::optional<CGFloat> fixedWidth;

    // The slider's own action: the callback for the type of the current event (none
    // for other types, or without a current event), with doubleValue.
    void sliderValueChanged(NSObject* sender);

    // Without fixedWidth the slider's own size; else fixedWidth wide (at least the
    // bar art's width) and, with knob and bar art, as high as the higher of the two.
    CGSize intrinsicContentSize() const override;

    // The slider's own drawing, then the library's focus ring (FocusRing.h) on the
    // cell's focus-ring mask bounds while it has keyboard focus in the key window.
    void drawRect(CGRect dirtyRect) override;

  protected:
    // The slider is its own target with sliderValueChanged as action: setting another
    // target or action takes the callbacks out of service.
    void didInit() override;
    std::shared_ptr<NSCell> makeCell() override { return make<StyledSliderCell>(); }
};

// A styled slider whose value follows the scroll wheel: a quarter of a percent of the
// range per point of scroll. A disabled one ignores scrolling; no scroll reaches the
// slider's own handling either way.
class StyledScrollableSlider : public StyledSlider {
  public:
    using StyledSlider::StyledSlider;

    // delta = scrollingDeltaY for a vertical linear slider, else scrollingDeltaY −
    // scrollingDeltaX (left-to-right layout) or + scrollingDeltaX (right-to-left),
    // negated when the direction is inverted from the device; step = range × delta /
    // 100 × 0.25. A circular slider wraps: below the minimum to max − |step|, above
    // the maximum to min + |step|. Then the action is sent.
    void scrollWheel(const NSEvent& event) override;
};
