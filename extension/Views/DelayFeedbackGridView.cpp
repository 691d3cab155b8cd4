#include "Views/DelayFeedbackGridView.h"

#include "KnobMapping.h"
#include "Settings.h"
#include "Views/EmberfallAssets.h"

#include <algorithm>
#include <cmath>

using namespace SwiftUI;

namespace {

bool isNoteMode(const Settings& settings) {
    return settings.delayType->value.get() == 0;
}

// A travel position for drawing: within 0...1, 0 when not a number.
CGFloat drawable(float t) {
    return std::isfinite(t) ? std::clamp<CGFloat>(t, 0, 1) : 0;
}

} // namespace

CGPoint DelayFeedbackGridView::dotPosition(const Settings& settings, CGSize gridSize,
                                           CGFloat padding) {
    const CGFloat usableWidth = gridSize.width - 2 * padding;
    const CGFloat usableHeight = gridSize.height - 2 * padding;
    const AudioParameter& delay = isNoteMode(settings) ? *settings.delayNote : *settings.delayMs;
    const CGFloat nx = drawable(KnobMapping(delay).normalise(delay.value.get()));
    const CGFloat ny =
        drawable(KnobMapping(*settings.feedback).normalise(settings.feedback->value.get()));
    return {padding + nx * usableWidth, padding + (1 - ny) * usableHeight};
}

void DelayFeedbackGridView::write(Settings& settings, CGPoint location, CGSize gridSize,
                                  CGFloat padding, ParameterEditorState state) {
    const CGFloat usableWidth = gridSize.width - 2 * padding;
    const CGFloat usableHeight = gridSize.height - 2 * padding;
    // Lower bound first, then upper, so a pad smaller than its padding stays defined.
    const CGFloat x = std::min(std::max(location.x, padding), gridSize.width - padding);
    const CGFloat y = std::min(std::max(location.y, padding), gridSize.height - padding);
    const float nx = usableWidth > 0 ? float((x - padding) / usableWidth) : 0.f;
    const float ny = usableHeight > 0 ? float(1 - (y - padding) / usableHeight) : 0.f;

    settings.feedback->setValue(KnobMapping(*settings.feedback).denormalise(ny),
                                ParameterEditor::ui, state);
    // The mode is read at every event: automation may switch it during a drag.
    if (settings.delayType->value.peek() != 0) {
        settings.delayMs->setValue(KnobMapping(*settings.delayMs).denormalise(nx),
                                   ParameterEditor::ui, state);
    } else {
        const ValueRange range = settings.delayNote->valueRange;
        // lo + round((hi - lo) · nx), half away from zero.
        const float index =
            range.lowerBound + std::round((range.upperBound - range.lowerBound) * nx);
        settings.delayNote->setValue(index, ParameterEditor::ui, state);
    }
}

AnyView DelayFeedbackGridView::body(ViewContext& ctx) const {
    std::shared_ptr<Settings> settings = ctx.environment<Settings>();
    State<bool> isDragging = ctx.state(false);
    // Where the drag is, for ending an edit that is cut short; not view state.
    State<std::shared_ptr<CGPoint>> lastLocation = ctx.state(std::make_shared<CGPoint>());

    const CGSize size = gridSize;
    const CGFloat inset = padding;
    std::weak_ptr<Settings> weak = settings;
    const CGPoint dot = dotPosition(*settings, size, inset);

    auto drag =
        DragGesture(0, CoordinateSpace::local())
            .onChanged([weak, isDragging, lastLocation, size, inset](const DragGesture::Value& v) {
                auto s = weak.lock();
                if (!s)
                    return;
                ParameterEditorState state = ParameterEditorState::change;
                if (!*isDragging) {
                    isDragging.set(true);
                    state = ParameterEditorState::beginInteractive;
                }
                **lastLocation = v.location;
                write(*s, v.location, size, inset, state);
            })
            .onEnded([weak, isDragging, lastLocation, size, inset](const DragGesture::Value& v) {
                isDragging.set(false);
                **lastLocation = v.location;
                if (auto s = weak.lock())
                    write(*s, v.location, size, inset, ParameterEditorState::endInteractive);
            })
            .onCancelled([weak, isDragging, lastLocation, size, inset] {
                if (!*isDragging)
                    return;
                isDragging.set(false);
                if (auto s = weak.lock())
                    write(*s, **lastLocation, size, inset, ParameterEditorState::endInteractive);
            });

    const bool noteMode = isNoteMode(*settings);
    return ZStack(Alignment::center(),
                  // The artwork's time scale hangs below the frame: it takes no clicks.
                  Image(noteMode ? EmberfallAssets::morphNote() : EmberfallAssets::morphMs())
                      .allowsHitTesting(false),
                  Image(*isDragging ? EmberfallAssets::gridDotDown() : EmberfallAssets::gridDot())
                      .position(dot.x, dot.y))
        .frame(size)
        .contentShape(Rectangle())
        .gesture(drag)
        .accessibilityIdentifier("delayFeedbackPad");
}
