// Every entry point of the corner button, the check boxes and the sliders is confined to
// the main thread: a call from another thread ends the program, naming the member,
// before it touches the control.

#include "Controls/CornerButton.h"
#include "Controls/StyledCheckBox.h"
#include "Controls/StyledSlider.h"
#include "Controls/TrackingSlider.h"

#include "AppKit/NSEvent.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>

namespace {

template <class Cell> std::shared_ptr<Cell> cellOf(const NSControl& c) {
    return std::dynamic_pointer_cast<Cell>(c.cell());
}

// Runs `call` on a thread of its own and waits for it.
void offTheMainThread(const std::function<void()>& call) {
    std::thread(call).join();
}

// What a case does: makes a control (or cell) with `made` on the main thread, then calls
// `call` with it off the main thread.
template <class Made, class Call> std::function<void()> madeThenCalled(Made made, Call call) {
    return [made, call] {
        auto it = made();
        offTheMainThread([&] { call(*it); });
    };
}

TEST(ControlsOffTheMainThreadDeathTest, EachMemberNamesItselfAndEndsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    static const NSEvent down = NSEvent::mouse(NSEvent::Type::leftMouseDown, {5, 5});
    static const NSEvent right = NSEvent::mouse(NSEvent::Type::rightMouseDown, {5, 5});
    static const NSEvent wheel = NSEvent::scroll({5, 5}, 0, 3);
    auto corner = [] { return make<CornerButton>(CGRect{0, 0, 30, 20}); };
    auto box = [] {
        return cellOf<StyledCheckBoxCell>(*make<StyledCheckBox>(CGRect{0, 0, 80, 20}));
    };
    auto star = [] { return make<FavouriteCheckBox>(CGRect{0, 0, 80, 20}); };
    auto slider = [] { return make<StyledSlider>(CGRect{0, 0, 100, 20}); };
    auto sliderCell = [] {
        return cellOf<StyledSliderCell>(*make<StyledSlider>(CGRect{0, 0, 100, 20}));
    };
    auto tracking = [] { return make<TrackingSlider>(CGRect{0, 0, 16, 16}); };
    struct Case {
        const char* what;
        std::function<void()> call;
        const char* member;
    };
    const Case cases[] = {
        {"a corner button made",
         [] { offTheMainThread([] {
                  make<CornerButton>(CGRect{0, 0, 30, 20});
              }); },
         "CornerButton"},
        {"a corner button pressed",
         madeThenCalled(corner, [](CornerButton& b) { b.mouseDown(down); }),
         "CornerButton.mouseDown\\(with:\\)"},
        {"a corner button right-clicked",
         madeThenCalled(corner, [](CornerButton& b) { b.rightMouseDown(right); }),
         "CornerButton.rightMouseDown\\(with:\\)"},
        {"a check box's next state",
         madeThenCalled(box, [](StyledCheckBoxCell& c) { c.nextState(); }),
         "StyledCheckBoxCell.nextState"},
        {"a check box's box rectangle",
         madeThenCalled(box,
                        [](StyledCheckBoxCell& c) {
                            c.imageRectForBounds({0, 0, 80, 20});
                        }),
         "StyledCheckBoxCell.imageRect\\(forBounds:\\)"},
        {"a check box's title rectangle",
         madeThenCalled(box,
                        [](StyledCheckBoxCell& c) {
                            c.titleRectForBounds({0, 0, 80, 20});
                        }),
         "StyledCheckBoxCell.titleRect\\(forBounds:\\)"},
        {"a star's size",
         madeThenCalled([] { return cellOf<FavouriteCheckBoxCell>(*make<FavouriteCheckBox>()); },
                        [](FavouriteCheckBoxCell& c) { c.imageSize(); }),
         "FavouriteCheckBoxCell.imageSize"},
        {"a star pressed", madeThenCalled(star, [](FavouriteCheckBox& b) { b.mouseDown(down); }),
         "FavouriteCheckBox.mouseDown\\(with:\\)"},
        {"a slider made",
         [] { offTheMainThread([] {
                  make<StyledSlider>(CGRect{0, 0, 100, 20});
              }); },
         "StyledSlider"},
        {"a slider's size",
         madeThenCalled(slider, [](StyledSlider& s) { s.intrinsicContentSize(); }),
         "StyledSlider.intrinsicContentSize"},
        {"a slider's own action",
         madeThenCalled(slider, [](StyledSlider& s) { s.sliderValueChanged(&s); }),
         "StyledSlider.sliderValueChanged\\(_:\\)"},
        {"a slider's knob rectangle",
         madeThenCalled(sliderCell, [](StyledSliderCell& c) { c.knobRect(false); }),
         "StyledSliderCell.knobRect\\(flipped:\\)"},
        {"a slider's bar rectangle",
         madeThenCalled(sliderCell, [](StyledSliderCell& c) { c.barRect(false); }),
         "StyledSliderCell.barRect\\(flipped:\\)"},
        {"a slider scrolled",
         madeThenCalled(
             [] {
                 return make<StyledScrollableSlider>(CGRect{0, 0, 100, 20});
             },
             [](StyledScrollableSlider& s) { s.scrollWheel(wheel); }),
         "StyledScrollableSlider.scrollWheel\\(with:\\)"},
        {"a tracking slider made",
         [] { offTheMainThread([] {
                  make<TrackingSlider>(CGRect{0, 0, 16, 16});
              }); },
         "TrackingSlider"},
        {"a tracking slider's value set",
         madeThenCalled(tracking, [](TrackingSlider& s) { s.setDoubleValue(0.5); }),
         "TrackingSlider.doubleValue"},
        {"a tracking slider scrolled",
         madeThenCalled(tracking, [](TrackingSlider& s) { s.scrollWheel(wheel); }),
         "TrackingSlider.scrollWheel\\(with:\\)"},
        {"a tracking slider's drag",
         [] {
             auto s = make<TrackingSlider>(CGRect{0, 0, 16, 16});
             auto pan = s->panGestureRecognizer();
             offTheMainThread([&] { s->handlePanGesture(pan.get()); });
         },
         "TrackingSlider.handlePanGesture\\(_:\\)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_DEATH(c.call(), std::string(c.member) + ".* must be used from the main thread only");
    }
}

} // namespace
