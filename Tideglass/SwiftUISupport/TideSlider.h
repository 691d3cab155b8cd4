#pragma once
// TideSlider: the library's declarative slider over a TideSliderModel. A horizontal
// track with a fill and a knob between two icon buttons; a drag sets the value (snapped
// to the increment with the model's snap or while Shift is held), an Option-click
// resets it to the default, and while the edited objects disagree up to five
// translucent knobs (the main knob and four ghosts) show where their values lie.
//
// Art: "tgui-customslider-on" (the fill), "tgui-customslider-handle" (knob, ghosts),
// "tgui-customslider-handle-down" (the knob while dragged), "tgui-textfield" (the
// row's bezel, behind it).
//
// Callbacks of one drag: onSlideStarted once, when the drag first gives the model a
// value (at once when it has one); onSlideOngoing on later changes; onSlideComplete
// once at the end (also when the drag is cancelled), only after onSlideStarted. A
// track too narrow to map a point to a value (0 wide or less) ignores drags.
// Thread: main.

#include <memory>

#include "SwiftUI/SwiftUI.h"
#include "SwiftUISupport/TideSliderModel.h"

// Where things lie on a track of width w for a model (free of the view, for tests).
struct TideSliderTrack {
    const TideSliderModel& model;
    CGFloat w;
    static constexpr int maxKnobs = 5;
    static constexpr CGFloat endZone = 8;

    // 0 when w ≤ 10; with a value: fraction(value) × w within [16, w]; mixed: w with
    // more than maxKnobs starting values, else 0.
    CGFloat fillWidth() const;
    // 0 when w ≤ 10; with a value: fraction(value) × w within [8, w − 8]; mixed: that
    // of the first starting value (8 without any). Tracks under 16 wide centre it.
    CGFloat knobX() const;
    // 1 with a value; mixed: 0 with more than maxKnobs starting values, else 0.3.
    double knobOpacity() const;
    // The ghost of starting value i (1…4): only for a mixed model with at most
    // maxKnobs starting values, i below their count, on a track over 10 wide.
    std::optional<CGFloat> ghostX(int i) const;
    // The track position of a pointer at x with a grab offset: x within [0, w] plus the
    // offset; 0 within 8 of the start, w within 8 of the end.
    CGFloat position(CGFloat x, CGFloat offset) const;
    // The value at a position: snapped(min + p / w × (max − min)) when snapping, else
    // min + p / w × (max − min) within the range.
    CGFloat valueAt(CGFloat p, bool snapping) const;

  private:
    // v within [lo, hi], or the middle of the two when the range is empty.
    static CGFloat within(CGFloat v, CGFloat lo, CGFloat hi);
};

// The drag in progress on a slider's track.
struct TideSliderDrag {
    bool isDragging = false;
    CGFloat xDragOffset = 0;      // grab offset from the knob's centre
    CGFloat xDistanceDragged = 0; // the translations' widths summed over the drag
    bool started = false;         // onSlideStarted has been called
    friend bool operator==(const TideSliderDrag&, const TideSliderDrag&) = default;

    // One change of the drag at `location` (track coordinates) with the translation
    // since its start; `shift`: Shift held. Moves the model and calls its callbacks.
    void changed(TideSliderModel& model, CGFloat width, CGPoint location, CGSize translation,
                 bool shift);
    // The end (or cancellation) of the drag: onSlideComplete when it was started.
    void ended(TideSliderModel& model);

  private:
    // The value the drag has just set: started the first time, else ongoing.
    void report(TideSliderModel& model);
};

struct TideSlider : SwiftUI::View<TideSlider> {
    TideSlider(std::shared_ptr<TideSliderModel> model, SwiftUI::Image leftImage,
               SwiftUI::Image rightImage)
        : model(std::move(model)), leftImage(std::move(leftImage)),
          rightImage(std::move(rightImage)) {}

    std::shared_ptr<TideSliderModel> model;
    SwiftUI::Image leftImage;
    SwiftUI::Image rightImage;
    static constexpr CGFloat knobYPosition = 12;
    static constexpr int maxKnobs = TideSliderTrack::maxKnobs;

    SwiftUI::AnyView body(SwiftUI::ViewContext& ctx) const;
    // The track stack for a measured width, with the drag's state.
    SwiftUI::AnyView track(SwiftUI::ViewContext& ctx, CGFloat width) const;
};
