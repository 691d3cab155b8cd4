#pragma once
// TideSliderModel: the observable model behind the multi-knob slider (TideSlider.h).
// It edits one value on a range, optionally snapped to an increment, for one or several
// edited objects at once: created with the values of all of them, it holds their common
// value, or none ("mixed") when they differ. Drags, the end icons and a reset report
// through three optional callbacks; icon clicks and the reset call only onSlideComplete.
//
// Each tracked property notifies its observers only when its stored value changes
// (none and none count as equal).
//
// Input that would break the arithmetic is kept out: NaN given to a setter (or as the
// only starting value) is ignored; every clamp of a value to the range takes the
// minimum when the range is inverted (minimum above maximum); snapping is skipped for
// an increment that is not above 0 (the value is only clamped).
// Thread: main.

#include <functional>
#include <optional>
#include <vector>

#include "CoreGraphics/CGGeometry.h"
#include "Observation/Observation.h"

// What the slider's two end icons do: set the minimum and maximum, or step the value
// down and up by the increment.
enum class SliderIconClickBehaviour { maxMin, increment };

class TideSliderModel {
  public:
    TideSliderModel(std::vector<CGFloat> startingValues, CGFloat defaultValue, CGFloat minimumValue,
                    CGFloat maximumValue, CGFloat incrementBy, bool snap,
                    SliderIconClickBehaviour iconClickBehaviour);

    // Called with the value when a drag starts, as it changes the value, and when an
    // edit is complete; none at first.
    std::function<void(double)> onSlideStarted;
    std::function<void(double)> onSlideOngoing;
    std::function<void(double)> onSlideComplete;

    // Tracked properties.
    CGFloat incrementBy() const { return increment_.get(); }
    void setIncrementBy(CGFloat increment);
    CGFloat minimumValue() const { return minimum_.get(); }
    void setMinimumValue(CGFloat minimum);
    CGFloat maximumValue() const { return maximum_.get(); }
    void setMaximumValue(CGFloat maximum);
    bool snap() const { return snap_.get(); }
    void setSnap(bool snap) { snap_.set(snap); }
    // The common value; none when the edited objects differ.
    std::optional<CGFloat> value() const { return value_.get(); }
    void setValue(std::optional<CGFloat> value);
    const std::vector<CGFloat>& startingValues() const { return starting_.get(); }
    void setStartingValues(std::vector<CGFloat> values) { starting_.set(std::move(values)); }

    CGFloat defaultValue() const { return default_; }
    SliderIconClickBehaviour iconClickBehaviour() const { return behaviour_; }

    // The value's place in the range, 0…1; none when mixed. Setting p sets the value
    // to minimum + (maximum − minimum) × p, clamped to the range, unsnapped.
    std::optional<CGFloat> percent() const;
    void setPercent(std::optional<CGFloat> percent);

    // (v − minimum) / (maximum − minimum) within 0…1; 0 where that is not a number.
    CGFloat fraction(CGFloat v) const;
    // round((v − minimum) / increment) × increment + minimum (halves away from zero),
    // within the range.
    CGFloat snapped(CGFloat v) const;
    // v within the range (the minimum for an inverted range).
    CGFloat clamped(CGFloat v) const;

    // maxMin: the minimum (left) or maximum (right); increment: the value (the default
    // when mixed) one increment down or up, within the range. Then onSlideComplete.
    void leftIconClicked();
    void rightIconClicked();
    // The default value, then onSlideComplete (also when the value did not change).
    void resetToDefault();

  private:
    void iconClicked(int direction);
    Observed<CGFloat> increment_;
    Observed<CGFloat> minimum_;
    Observed<CGFloat> maximum_;
    Observed<bool> snap_;
    Observed<std::optional<CGFloat>> value_;
    Observed<std::vector<CGFloat>> starting_;
    const CGFloat default_;
    const SliderIconClickBehaviour behaviour_;
};
