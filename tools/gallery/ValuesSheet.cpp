// The value controls of the control library: segmented controls, sliders, the tracking
// slider and clickable image views, each in its states.

#include "Controls/ImageViews.h"
#include "Controls/StyledSearchField.h"
#include "Controls/StyledSegmentedControl.h"
#include "Controls/StyledSlider.h"
#include "Controls/TrackingSlider.h"
#include "Sheets.h"
#include "Styles/TideglassResources.h"
#include "SwiftUISupport/StyledSearchFieldWrapper.h"
#include "SwiftUISupport/TideSlider.h"
#include "TestSupport/ControlHarness.h"

namespace {

std::shared_ptr<StyledSegmentedControl> tabs(bool showSelection, bool enabled = true) {
    auto control = make<StyledSegmentedControl>(CGRect{10, 12, 260, 30});
    control->setSegmentCount(3);
    const char* labels[] = {"Delay", "Models", "Output"};
    for (int i = 0; i < 3; ++i) {
        control->setLabel(labels[i], i);
        control->setWidth(0, i);
    }
    control->setSelectedSegment(1);
    control->setHideSelection(!showSelection);
    control->setEnabled(enabled);
    logsActions(*control);
    return control;
}

// The mouse held on the last segment.
void pressedLastSegment(ControlHarness& h) {
    auto control = std::dynamic_pointer_cast<StyledSegmentedControl>(heldControl(h));
    auto cell = std::dynamic_pointer_cast<StyledSegmentedCell>(control->cell());
    const CGRect f = cell->frameOfSegment(2, control->bounds());
    const CGRect at = h.rectOf(*control);
    h.press({at.minX() + f.midX(), at.minY() + f.midY()});
}

GallerySheet segmentedControls() {
    const CGSize size{280, 54};
    return {"segmented-controls",
            3,
            {
                controlCell("selection hidden", size, [] { return tabs(false); }),
                controlCell("selection shown", size, [] { return tabs(true); }),
                controlCell("disabled", size, [] { return tabs(true, false); }),
                controlCell(
                    "pressed", size, [] { return tabs(true); }, pressedLastSegment),
                controlCell(
                    "focused", size, [] { return tabs(true); }, focusedControl),
                controlCell(
                    "focused, window not key", size, [] { return tabs(true); },
                    focusedInInactiveWindow),
            }};
}

template <class Slider = StyledSlider>
std::shared_ptr<Slider> slider(double value, bool enabled = true) {
    auto s = make<Slider>(CGRect{10, 10, 180, 20});
    s->setMaxValue(100);
    s->setDoubleValue(value);
    s->setEnabled(enabled);
    s->setContinuous(true); // its action, so its log line, follows a drag
    logsActions(*s);
    return s;
}

std::shared_ptr<ClickableImageView> imageView(bool enabled) {
    auto view = make<ClickableImageView>(CGRect{10, 8, 32, 32});
    view->setImage(TideglassResources::nsImage("organiser-icon-star"));
    view->setEnabled(enabled);
    return view;
}

std::shared_ptr<TrackingSlider> trackingSlider() {
    auto view = make<TrackingSlider>(CGRect{10, 8, 32, 32});
    view->setImage(TideglassResources::nsImage("organiser-icon-star-empty"));
    return view;
}

GallerySheet sliders() {
    const CGSize size{200, 40};
    return {"sliders",
            3,
            {
                controlCell("at 0", size, [] { return slider(0); }),
                controlCell("at 35", size, [] { return slider(35); }),
                controlCell("at 100", size, [] { return slider(100); }),
                controlCell("disabled", size, [] { return slider(60, false); }),
                controlCell(
                    "pressed", size, [] { return slider(50); }, pressedControl),
                controlCell(
                    "focused", size, [] { return slider(50); }, focusedControl),
                controlCell("scrollable", size, [] { return slider<StyledScrollableSlider>(70); }),
            }};
}

GallerySheet imageViews() {
    const CGSize size{120, 48};
    return {"image-views",
            4,
            {
                controlCell("clickable", size, [] { return imageView(true); }),
                controlCell(
                    "clickable, pressed", size, [] { return imageView(true); }, pressedControl),
                controlCell("disabled", size, [] { return imageView(false); }),
                controlCell("tracking slider", size, [] { return trackingSlider(); }),
            }};
}

// The multi-knob slider over values of 0…10 (the default 5).
GalleryCell tideSlider(std::string caption, std::vector<CGFloat> values,
                       std::function<void(ControlHarness&)> pose = nullptr) {
    GalleryCell cell;
    cell.caption = std::move(caption);
    cell.size = {220, 24};
    cell.pose = std::move(pose);
    cell.view = [values, name = cell.caption] {
        auto model = std::make_shared<TideSliderModel>(values, 5, 0, 10, 1, false,
                                                       SliderIconClickBehaviour::increment);
        // The model reports an edit's start, progress and end; the log shows each.
        auto say = [name](const char* what) {
            return [name, what](double v) {
                GalleryActionLog::shared()->say(name + ": " + what + " " + galleryNumber(v));
            };
        };
        model->onSlideStarted = say("slide started");
        model->onSlideOngoing = say("sliding");
        model->onSlideComplete = say("slide complete");
        return SwiftUI::AnyView(TideSlider(
            model, SwiftUI::Image(TideglassResources::image("organiser-icon-star-empty")),
            SwiftUI::Image(TideglassResources::image("organiser-icon-star"))));
    };
    return cell;
}

// The mouse held on the knob of a slider at 5 (the middle of the track).
void heldKnob(ControlHarness& h) {
    if (auto knob = h.image("tgui-customslider-handle"))
        h.press({knob->rect.midX(), knob->rect.midY()});
}

GallerySheet multiKnobSliders() {
    return {"multi-knob-sliders",
            3,
            {
                tideSlider("one value", {3}),
                tideSlider("at the minimum", {0}),
                tideSlider("at the maximum", {10}),
                tideSlider("three values differ", {2, 5, 8}),
                tideSlider("six values differ", {1, 2, 3, 4, 6, 9}),
                tideSlider("knob held", {5}, heldKnob),
            }};
}

std::shared_ptr<StyledSearchField> searchField(const char* text, bool enabled = true,
                                               bool icon = true) {
    auto field = make<StyledSearchField>(CGRect{10, 10, 200, 22});
    field->setFont(StyledSearchFieldCell::classStyle()->font()); // the editor's as the cell's
    field->setPlaceholderString("Find presets");
    field->setStringValue(text);
    field->setEnabled(enabled);
    std::dynamic_pointer_cast<StyledSearchFieldCell>(field->cell())->showsSearchIcon = icon;
    logsActions(*field);
    return field;
}

// The declarative wrapper over a state of its own; the log shows each search.
SwiftUI::AnyView declarativeSearch() {
    SwiftUI::State<std::string> text("tape");
    auto logged = SwiftUI::Binding<std::string>([text] { return text.get(); },
                                                [text](const std::string& v) {
                                                    text.set(v);
                                                    GalleryActionLog::shared()->say(
                                                        "declarative search: \"" + v + "\"");
                                                });
    return SwiftUI::AnyView(
        StyledSearchFieldWrapper(logged, "Find presets").frame(200, 22).padding(10));
}

GallerySheet searchFields() {
    const CGSize size{220, 42};
    return {
        "search-fields",
        3,
        {
            controlCell("placeholder", size, [] { return searchField(""); }),
            controlCell("with text", size, [] { return searchField("tape echo"); }),
            controlCell("disabled", size, [] { return searchField("tape", false); }),
            controlCell(
                "editing", size, [] { return searchField("tape echo"); }, focusedControl),
            controlCell(
                "editing, window not key", size, [] { return searchField("tape echo"); },
                focusedInInactiveWindow),
            controlCell("no search icon", size, [] { return searchField("tape", true, false); }),
            GalleryCell{"declarative", declarativeSearch, size},
        }};
}

const GalleryRegistration values([] {
    return std::vector<GallerySheet>{segmentedControls(), sliders(), imageViews(),
                                     multiKnobSliders(), searchFields()};
});

} // namespace
