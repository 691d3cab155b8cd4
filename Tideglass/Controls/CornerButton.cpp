#include "Controls/CornerButton.h"

BackButtonCell::BackButtonCell(TextCell content) : StyledControl(std::move(content)) {
    bezelStyle = NSBezelStyle::shadowlessSquare;
    setButtonType(NSButtonType::toggle);
}

BackButtonCell::BackButtonCell(ImageCell content) : StyledControl(std::move(content)) {
    bezelStyle = NSBezelStyle::shadowlessSquare;
    setButtonType(NSButtonType::toggle);
}

std::shared_ptr<NSCell> BackButton::makeCell() {
    return make<BackButtonCell>();
}

void BackButton::setAlphaValue(CGFloat value) {
    StyledButton::setAlphaValue(value);
    // Faded out completely, it also leaves hit-testing; any positive alpha brings it back.
    if (value > 0 && isHidden())
        setHidden(false);
    else if (value == 0 && !isHidden())
        setHidden(true);
}

std::shared_ptr<CornerButtonCellStyle> CornerButtonCell::makeStyle() {
    auto style = std::make_shared<CornerButtonCellStyle>();
    style->setEdgeInsets({});
    return style;
}

CornerButtonCell::CornerButtonCell(TextCell content) : StyledControl(std::move(content)) {
    Runtime::assertMainThread("CornerButtonCell.init(textCell:)");
    bezelStyle = NSBezelStyle::shadowlessSquare;
    setButtonType(NSButtonType::momentaryChange);
}

CornerButtonCell::CornerButtonCell(ImageCell content) : StyledControl(std::move(content)) {
    Runtime::assertMainThread("CornerButtonCell.init(imageCell:)");
    bezelStyle = NSBezelStyle::shadowlessSquare;
    setButtonType(NSButtonType::momentaryChange);
}

CornerButton::CornerButton(CGRect frame) : StyledButton(frame) {
    Runtime::assertMainThread("CornerButton.init(frame:)");
}

std::shared_ptr<NSCell> CornerButton::makeCell() {
    Runtime::assertMainThread("CornerButton.cellClass");
    return make<CornerButtonCell>();
}

void CornerButton::popUpAlternateMenu() {
    Runtime::assertMainThread("CornerButton.alternateMenu");
    highlight(true);
    if (alternateMenu)
        alternateMenu->popUp(nullptr, {bounds().minX(), bounds().maxY() + 4}, sharedAs<NSView>());
    highlight(false);
}

bool CornerButton::showAlternateMenuForSecondaryClick(const NSEvent& event) {
    Runtime::assertMainThread("CornerButton.showAlternateMenuForSecondaryClick");
    if (!isSecondaryClick(event))
        return false;
    popUpAlternateMenu();
    return true;
}

void CornerButton::mouseDown(const NSEvent& event) {
    Runtime::assertMainThread("CornerButton.mouseDown(with:)");
    // A disabled button opens nothing and sends nothing.
    if (!isEnabled())
        return;
    const CGPoint p = convertFromView(event.locationInWindow(), nullptr);
    if (alternateMenu && event.clickCount() < 2 && bounds().contains(p)) {
        popUpAlternateMenu();
        return;
    }
    if (showAlternateMenuForSecondaryClick(event))
        return;
    highlight(true);
    std::weak_ptr<CornerButton> self = weakAs<CornerButton>();
    trackMouse(event, [self] {
        if (auto button = self.lock())
            button->highlight(false);
    });
}

void CornerButton::rightMouseDown(const NSEvent& event) {
    Runtime::assertMainThread("CornerButton.rightMouseDown(with:)");
    if (!isEnabled())
        return;
    if (!showAlternateMenuForSecondaryClick(event))
        StyledButton::rightMouseDown(event);
}
