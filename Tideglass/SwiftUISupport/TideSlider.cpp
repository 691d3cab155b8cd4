#include "SwiftUISupport/TideSlider.h"

#include <algorithm>
#include <cmath>

#include "AppKit/NSEvent.h"
#include "Runtime/Runtime.h"
#include "Styles/TideglassResources.h"

using namespace SwiftUI;

// ---- Geometry

CGFloat TideSliderTrack::within(CGFloat v, CGFloat lo, CGFloat hi) {
    return lo <= hi ? std::clamp(v, lo, hi) : (lo + hi) / 2;
}

CGFloat TideSliderTrack::fillWidth() const {
    if (w <= 10)
        return 0;
    if (auto v = model.value())
        return std::min(within(model.fraction(*v) * w, 16, w), w);
    return int(model.startingValues().size()) > maxKnobs ? w : 0;
}

CGFloat TideSliderTrack::knobX() const {
    if (w <= 10)
        return 0;
    if (auto v = model.value())
        return within(model.fraction(*v) * w, endZone, w - endZone);
    const auto& starting = model.startingValues();
    return starting.empty() ? endZone
                            : within(model.fraction(starting[0]) * w, endZone, w - endZone);
}

double TideSliderTrack::knobOpacity() const {
    if (model.value())
        return 1;
    return int(model.startingValues().size()) > maxKnobs ? 0 : 0.3;
}

std::optional<CGFloat> TideSliderTrack::ghostX(int i) const {
    const auto& starting = model.startingValues();
    if (w <= 10 || model.value() || int(starting.size()) > maxKnobs || i >= int(starting.size()))
        return std::nullopt;
    return within(model.fraction(starting[std::size_t(i)]) * w, endZone, w - endZone);
}

CGFloat TideSliderTrack::position(CGFloat x, CGFloat offset) const {
    const CGFloat p = std::clamp<CGFloat>(x, 0, std::max<CGFloat>(w, 0)) + offset;
    if (p < endZone)
        return 0;
    if (p > w - endZone)
        return w;
    return p;
}

CGFloat TideSliderTrack::valueAt(CGFloat p, bool snapping) const {
    const CGFloat lo = model.minimumValue(), hi = model.maximumValue();
    const CGFloat v = lo + p / w * (hi - lo);
    return snapping ? model.snapped(v) : model.clamped(v);
}

// ---- Dragging

void TideSliderDrag::report(TideSliderModel& model) {
    auto value = model.value();
    if (!value)
        return;
    if (!started) {
        started = true;
        if (model.onSlideStarted)
            model.onSlideStarted(*value);
    } else if (model.onSlideOngoing) {
        model.onSlideOngoing(*value);
    }
}

void TideSliderDrag::changed(TideSliderModel& model, CGFloat width, CGPoint location,
                             CGSize translation, bool shift) {
    Runtime::assertMainThread("TideSlider.dragChanged");
    if (!(width > 0))
        return; // no point maps to a value on a track this narrow
    const TideSliderTrack track{model, width};
    if (!isDragging) {
        isDragging = true;
        const CGFloat knob = track.knobX();
        const CGRect knobBox{knob - 8, 0, 16, 24};
        if (knobBox.contains(location)) {
            xDragOffset = knob - location.x; // the knob keeps its grab offset
        } else {
            const CGFloat p = track.position(location.x, xDragOffset);
            if (model.snap())
                model.setValue(track.valueAt(p, true));
            else
                model.setPercent(p / width);
        }
        report(model);
        return;
    }
    xDistanceDragged += std::abs(translation.width);
    const CGFloat p = track.position(location.x, xDragOffset);
    if (shift || model.snap()) {
        const CGFloat v = track.valueAt(p, true);
        if (model.value() == v)
            return;
        model.setValue(v);
        report(model);
        return;
    }
    if (xDragOffset != 0 && xDistanceDragged < 20)
        return; // a knob grabbed off-centre holds until the drag has gone 20 points
    model.setPercent(p / width);
    report(model);
}

void TideSliderDrag::ended(TideSliderModel& model) {
    if (!isDragging)
        return;
    const bool wasStarted = started;
    *this = TideSliderDrag{};
    if (wasStarted && model.value() && model.onSlideComplete)
        model.onSlideComplete(*model.value());
}

// ---- The view

AnyView TideSlider::track(ViewContext& ctx, CGFloat width) const {
    auto m = model;
    State<TideSliderDrag> drag = ctx.state(TideSliderDrag{});
    const TideSliderTrack t{*m, width};
    const char* knobArt =
        drag->isDragging ? "tgui-customslider-handle-down" : "tgui-customslider-handle";
    std::vector<AnyView> layers;
    const CGFloat fill = t.fillWidth();
    // Stretched between its round ends; an empty fill draws nothing, not its two ends.
    if (fill > 0)
        layers.push_back(AnyView(Image(TideglassResources::image("tgui-customslider-on"))
                                     .resizable(EdgeInsets{0, 2, 0, 2})
                                     .frame(CGSize{fill, 4})
                                     .frame(CGSize{fill, 16})));
    else
        layers.push_back(AnyView(Color::clear().frame(CGSize{0, 16})));
    layers.push_back(AnyView(Image(TideglassResources::image(knobArt))
                                 .frame(CGSize{16, 16})
                                 .position(t.knobX(), knobYPosition)
                                 .opacity(t.knobOpacity())));
    for (int i = 1; i < maxKnobs; ++i)
        if (auto x = t.ghostX(i))
            layers.push_back(AnyView(Image(TideglassResources::image("tgui-customslider-handle"))
                                         .frame(CGSize{16, 16})
                                         .position(*x, knobYPosition)
                                         .opacity(0.3)));
    auto reset =
        TapGesture().modifiers(EventModifiers::option).onEnded([m] { m->resetToDefault(); });
    auto dragging = DragGesture(0)
                        .onChanged([m, drag, width](const DragGesture::Value& value) {
                            TideSliderDrag d = drag.get();
                            const bool shift = NSEvent::currentModifierFlags() & NSEvent::shift;
                            d.changed(*m, width, value.location, value.translation, shift);
                            drag.set(d);
                        })
                        .onEnded([m, drag](const DragGesture::Value&) {
                            TideSliderDrag d = drag.get();
                            d.ended(*m);
                            drag.set(d);
                        })
                        .onCancelled([m, drag] {
                            TideSliderDrag d = drag.get();
                            d.ended(*m);
                            drag.set(d);
                        });
    return ZStack(Alignment::leading(), std::move(layers))
        .contentShape(Rectangle())
        .gesture(reset)
        .gesture(dragging);
}

namespace {
// The track with its own state, under the geometry reader that measures it.
struct Track : View<Track> {
    TideSlider slider;
    CGFloat width;
    AnyView body(ViewContext& ctx) const { return slider.track(ctx, width); }
};
} // namespace

AnyView TideSlider::body(ViewContext& ctx) const {
    Runtime::assertMainThread("TideSlider.body");
    auto m = model;
    State<CGFloat> sliderWidth = ctx.state(CGFloat(1));
    auto icon = [](const Image& image, std::function<void()> action) {
        return Button(std::move(action),
                      image.frame(CGSize{14, 24}).foregroundColor(Color::white()))
            .buttonStyle(PlainButtonStyle());
    };
    const TideSlider self = *this;
    auto reader = GeometryReader([self, sliderWidth](const GeometryProxy& proxy) {
        const CGFloat measured = proxy.size.width;
        auto measure = [sliderWidth, measured] { sliderWidth.set(measured); };
        return AnyView(HStack(VerticalAlignment::center(), 0, Track{{}, self, sliderWidth.get()})
                           .onAppear(measure)
                           .onChange(measured, measure));
    });
    return HStack(VerticalAlignment::center(), icon(leftImage, [m] { m->leftIconClicked(); }),
                  reader, icon(rightImage, [m] { m->rightIconClicked(); }))
        .padding(Edge::horizontal, 2)
        .frame({.minHeight = 24, .idealHeight = 24, .maxHeight = 24})
        .background(AnyView(Image(TideglassResources::image("tgui-textfield"))
                                .resizable()
                                .padding(Edge::horizontal, -2)));
}
