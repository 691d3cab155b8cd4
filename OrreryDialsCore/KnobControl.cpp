#include "KnobControl.h"

#include "Runtime/Runtime.h"

#include <algorithm>
#include <cmath>
#include <optional>

using namespace SwiftUI;

namespace {
constexpr ParameterEditor ui = ParameterEditor::ui;
using EditState = ParameterEditorState;
} // namespace

AnyView KnobControl::body(ViewContext& ctx) const {
    State<std::optional<CGFloat>> lastDragValue = ctx.state(std::optional<CGFloat>());
    State<std::optional<float>> continuousDragValue = ctx.state(std::optional<float>());
    State<int> imageIndex = ctx.state(1);

    auto binding = param;
    const float scale = knobDragScaleFactor;
    const int frames = imageCount;

    auto changed = [binding, lastDragValue, continuousDragValue,
                    scale](const DragGesture::Value& drag) {
        Runtime::assertMainThread("KnobControl drag");
        auto p = binding.get();
        if (!lastDragValue->has_value()) {
            p->isBeingInteractivelyEdited.set(true);
            continuousDragValue = std::optional<float>(p->value.peek());
            p->setValue(p->value.peek(), ui, EditState::beginInteractive);
        } else {
            const KnobMapping mapping(*p);
            const float delta = float(**lastDragValue - drag.location.y); // up is positive
            const float start = continuousDragValue->value_or(p->value.peek());
            // n = t(start) + scale·delta in 0...1; v = value(n) within the range
            const float n = std::clamp(mapping.normalise(start) + scale * delta, 0.0f, 1.0f);
            float v = std::clamp(mapping.denormalise(n), p->valueRange.lowerBound,
                                 p->valueRange.upperBound);
            continuousDragValue = std::optional<float>(v);
            if (p->isIndexed())
                v = std::round(v);
            p->setValue(v, ui, EditState::change);
        }
        lastDragValue = std::optional<CGFloat>(drag.location.y);
    };
    // The end carries the value the drag last sent: the mirror may not have caught up
    // yet when events arrive faster than the main queue runs.
    auto finish = [binding, lastDragValue, continuousDragValue] {
        auto p = binding.get();
        float closing = continuousDragValue->value_or(p->value.peek());
        if (p->isIndexed())
            closing = std::round(closing);
        lastDragValue = std::optional<CGFloat>();
        continuousDragValue = std::optional<float>();
        p->isBeingInteractivelyEdited.set(false);
        p->setValue(closing, ui, EditState::endInteractive);
    };
    auto ended = [finish](const DragGesture::Value&) {
        Runtime::assertMainThread("KnobControl drag end");
        finish();
    };
    auto cancelled = [finish, lastDragValue] {
        if (lastDragValue->has_value())
            finish();
    };
    auto reset = [binding] {
        Runtime::assertMainThread("KnobControl reset");
        auto p = binding.get();
        p->setValue(p->defaultValue, ui, EditState::change);
    };
    const float value = binding.get()->value.get();
    auto drag = DragGesture(knobMinDrag).onChanged(changed).onEnded(ended).onCancelled(cancelled);
    auto withResets = [reset](AnyView view) {
        return view.simultaneousGesture(TapGesture(2).onEnded(reset), GestureMask::all)
            .simultaneousGesture(TapGesture(1).modifiers(EventModifiers::option).onEnded(reset),
                                 GestureMask::all);
    };
    // With an overlay the drag spans both, the resets only the frames.
    AnyView knob = overlay ? ZStack(Alignment::center(), withResets(content(*imageIndex)), *overlay)
                                 .gesture(drag, GestureMask::all)
                           : withResets(content(*imageIndex).gesture(drag, GestureMask::all));
    return knob.onChange(value, true, [binding, imageIndex, frames](const float&, const float& v) {
        imageIndex = KnobMapping(*binding.get()).frame(v, frames);
    });
}
