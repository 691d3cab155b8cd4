#include "Styles/StyleProtocols.h"

#include "AppKit/NSText.h"
#include "AppKit/NSWindow.h"

StyledControlState cellControlState(const NSCell& cell) {
    StyledControlState state = StyledControlState::default_;
    if (cell.state == NSCell::StateValue::mixed)
        state.insert(StyledControlState::mixed);
    else if (cell.state == NSCell::StateValue::on)
        state.insert(StyledControlState::on);
    if (!cell.isEnabled)
        state.insert(StyledControlState::disabled);
    if (cell.isHighlighted && cell.isEnabled)
        state.insert(StyledControlState::highlighted);
    if (auto selectable = dynamic_cast<const Selectable*>(&cell);
        selectable && selectable->isSelected())
        state.insert(StyledControlState::selected);
    if (auto validating = dynamic_cast<const Validating*>(&cell);
        validating && !validating->isValid())
        state.insert(StyledControlState::invalid);
    return state;
}

bool hasKeyboardFocus(const NSControl& control) {
    auto window = control.window();
    if (!window)
        return false;
    auto responder = window->firstResponder();
    if (!responder)
        return false;
    if (auto text = std::dynamic_pointer_cast<NSText>(responder);
        text && text == control.currentEditor())
        return true;
    return responder.get() == static_cast<const NSResponder*>(&control);
}

void applySelectionState(NSView& view, bool selected, bool recursively) {
    for (const auto& subview : view.subviews()) {
        auto selectable = dynamic_cast<Selectable*>(subview.get());
        if (!selectable)
            continue;
        Runtime::assertMainThread("applySelectionState");
        selectable->setSelected(selected);
        if (recursively)
            applySelectionState(*subview, selected, false);
    }
}

StyledControlState enabledHighlightedState(bool enabled, bool highlighted) {
    StyledControlState state = StyledControlState::default_;
    if (!enabled)
        state.insert(StyledControlState::disabled);
    if (highlighted)
        state.insert(StyledControlState::highlighted);
    return state;
}
