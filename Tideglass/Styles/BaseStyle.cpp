#include "Styles/BaseStyle.h"

#include "AppKit/NSColor.h"
#include "AppKit/NSFont.h"
#include "AppKit/NSImage.h"
#include "Styles/Styles.h"
#include "Styles/TideglassResources.h"

std::shared_ptr<NSImage> BaseStyle::findImage(StyledControlState state,
                                              const StateImages& images) const {
    if (auto exact = images.find(state); exact != images.end())
        return exact->second;
    if (!state.isEmpty()) {
        const StateImages::value_type* best = nullptr;
        int bestCount = -1;
        for (const auto& entry : images) {
            if (!state.contains(entry.first))
                continue;
            // Strictly more options replace the choice: on a tie the first key met stays.
            if (int count = entry.first.countOfSetOptions(); count > bestCount) {
                best = &entry;
                bestCount = count;
            }
        }
        if (best)
            return best->second;
    }
    auto plain = images.find(StyledControlState::default_);
    return plain != images.end() ? plain->second : nullptr;
}

std::shared_ptr<NSColor> ControlStyle::focusRingColor(StyledControlState state) const {
    return state.contains(StyledControlState::invalid) ? invalidFocusRingColor() : focusRingColor();
}

namespace {
bool showsPressedOrChecked(StyledControlState state) {
    return !state.isDisjoint(StyledControlState{StyledControlState::highlighted,
                                                StyledControlState::on, StyledControlState::mixed});
}
} // namespace

std::shared_ptr<NSColor> ControlStyle::textColor(StyledControlState state) const {
    if (state.contains(StyledControlState::disabled))
        return disabledTextColor();
    if (state.contains(StyledControlState::invalid))
        return invalidTextColor();
    if (state.contains(StyledControlState::selected))
        return selectedTextColor();
    if (showsPressedOrChecked(state))
        return highlightedTextColor();
    return textColor();
}

std::shared_ptr<NSColor> ControlStyle::textBackgroundColor(StyledControlState state) const {
    if (state.contains(StyledControlState::invalid))
        return invalidBackgroundColor();
    if (showsPressedOrChecked(state))
        return highlightedBackgroundColor();
    if (state.contains(StyledControlState::selected))
        return selectedBackgroundColor();
    if (state.contains(StyledControlState::disabled))
        return disabledBackgroundColor();
    return backgroundColor();
}

std::shared_ptr<NSImage> ControlStyle::bezelImage(StyledControlState state) const {
    return findImage(state, bezelImages());
}
