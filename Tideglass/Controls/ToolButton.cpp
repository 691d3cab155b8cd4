#include "Controls/ToolButton.h"

#include <algorithm>

#include "AppKit/NSWindow.h"
#include "Controls/CellArt.h"
#include "Styles/TideglassResources.h"

void ToolButtonCell::drawBezel(CGRect frame, NSView& controlView) {
    StyledButtonCell::drawBezel(frame, controlView);
    if (showMoreIcon)
        drawArtRespectingFlip(TideglassResources::nsImage("corner-tool-more"), frame, controlView,
                              1.0);
}

ToolButton::ToolButton(CGRect, std::optional<CGFloat>) {
    unimplementedInitializer("Tideglass.ToolButton", "init(frame:fixedWidth:)");
}

std::shared_ptr<NSCell> ToolButton::makeCell() {
    return make<ToolButtonCell>();
}

void ToolButton::setShowMoreIcon(bool show) {
    Runtime::assertMainThread("ToolButton.showMoreIcon");
    moreIcon = show;
    if (auto c = std::dynamic_pointer_cast<ToolButtonCell>(cell())) {
        c->showMoreIcon = show;
        setNeedsDisplay();
    }
}

void ToolButton::setupButton() {
    setBezelStyle(NSBezelStyle::regularSquare);
    setButtonType(NSButtonType::toggle);
    setImagePosition(NSCellImagePosition::imageOnly);
    setImageScaling(NSImageScaling::scaleNone);
    // After the type, which sets the masks: the art alone shows a press.
    if (auto c = std::dynamic_pointer_cast<StyledButtonCell>(cell()))
        c->highlightsBy = NSCellStyleMask::none;
}

CGSize ToolButton::intrinsicContentSize() const {
    CGSize size = StyledButton::intrinsicContentSize();
    auto c = std::dynamic_pointer_cast<ToolButtonCell>(cell());
    auto art =
        c && isBordered() ? ToolButtonCell::classStyle()->bezelImage(c->controlState()) : nullptr;
    return sizeBoundedByArt(size, art, {});
}

void ToolButton::sendSecondaryAction() {
    if (secondaryAction)
        sendAction(secondaryAction, secondaryTarget);
}

bool ToolButton::secondaryClick(const NSEvent& event) {
    if (!isSecondaryClick(event))
        return false;
    highlight(true);
    sendSecondaryAction();
    highlight(false);
    return true;
}

void ToolButton::mouseDown(const NSEvent& event) {
    // A disabled button holds, clicks and sends nothing.
    if (!isEnabled())
        return;
    highlight(true);
    const CGPoint p = convertFromView(event.locationInWindow(), nullptr);
    auto w = window();
    if (secondaryAction && w && event.clickCount() <= 1 && bounds().contains(p)) {
        // Held past the double-click interval: the secondary action, and the press ends.
        const auto released = w->nextEvent(NSEvent::mask(NSEvent::Type::leftMouseUp),
                                           RunLoop::main().now() + NSEvent::doubleClickInterval(),
                                           RunLoop::Mode::defaultMode, false);
        if (!released) {
            sendSecondaryAction();
            highlight(false);
            return;
        }
    }
    if (secondaryClick(event)) {
        highlight(false);
        return;
    }
    std::weak_ptr<ToolButton> self = weakAs<ToolButton>();
    trackMouse(event, [self] {
        if (auto button = self.lock())
            button->highlight(false);
    });
}

void ToolButton::rightMouseDown(const NSEvent& event) {
    if (!isEnabled())
        return;
    if (!secondaryClick(event))
        StyledButton::rightMouseDown(event);
}
