#include "Controls/StyledComboBox.h"

#include <algorithm>
#include <cmath>

#include "Controls/CellArt.h"
#include "Controls/FocusRing.h"
#include "Controls/StyledTextField.h"
#include "Styles/TideglassResources.h"

namespace {
// The body (and the right end while the list is open), and the right end while closed.
constexpr const char* bodyArt = "tgui-combobox";
constexpr const char* closedEndArt = "tgui-combobox-up";

// The smallest frame the box keeps, its alignment insets included.
constexpr CGFloat minimumFrameWidth = 47, frameHeight = 26;

std::shared_ptr<NSImage> art(const char* name) {
    return cellArt(TideglassResources::nsImage(name));
}
} // namespace

// MARK: - The cell

void StyledComboBoxCell::didInit() {
    isPopupOpen = false;
    NSComboBoxCell::didInit();
    Runtime::assertMainThread("StyledComboBoxCell.init(textCell:)");
}

std::shared_ptr<NSImage> StyledComboBoxCell::leftImage() const {
    return art(bodyArt);
}

std::shared_ptr<NSImage> StyledComboBoxCell::rightImage() const {
    return art(isPopupOpen ? bodyArt : closedEndArt);
}

CGRect StyledComboBoxCell::leftFrame(CGRect r) const {
    Runtime::assertMainThread("StyledComboBoxCell.leftFrame(in:)");
    return {r.minX(), 0, r.width() - rightImage()->size().width, art(bodyArt)->size().height};
}

void StyledComboBoxCell::drawBezel(CGRect frame, NSView& controlView) {
    Runtime::assertMainThread("StyledComboBoxCell.drawBezel(withFrame:in:)");
    const auto right = rightImage();
    const CGSize end = right->size();
    const CGRect rightRect{frame.minX() + frame.width() - end.width, 0, end.width, end.height};
    // The body is the body art itself, stretched, whatever leftImage answers.
    const CGFloat fraction = artFraction(isEnabled);
    drawUprightArt(art(bodyArt), leftFrame(frame), controlView, frame.height(), fraction);
    drawUprightArt(right, rightRect, controlView, frame.height(), fraction);
}

NSBackgroundStyle StyledComboBoxCell::interiorBackgroundStyle() const {
    Runtime::assertMainThread("StyledComboBoxCell.interiorBackgroundStyle");
    return style()->interiorBackgroundStyle();
}

CGRect StyledComboBoxCell::titleRectForBounds(CGRect bounds) const {
    Runtime::assertMainThread("StyledComboBoxCell.titleRect(forBounds:)");
    CGRect r =
        paddedTextRect(NSComboBoxCell::titleRectForBounds(bounds), style()->titleEdgeInsets());
    // Centred on the bounds: y = round(midY − height / 2), halves away from zero.
    r.origin.y = std::round(bounds.midY() - r.height() * 0.5);
    return r.integral();
}

void StyledComboBoxCell::drawWithFrame(CGRect frame, NSView& controlView) {
    Runtime::assertMainThread("StyledComboBoxCell.draw(withFrame:in:)");
    if (isBordered || isBezeled)
        drawBezel(frame, controlView);
    drawInteriorWithFrame(paddedTextRect(frame, style()->titleEdgeInsets()), controlView);
}

// MARK: - The combo box

void StyledComboBox::didInit() {
    NSComboBox::didInit();
    Runtime::assertMainThread("StyledComboBox.init(frame:)");
    auto& centre = NotificationCenter::defaultCenter();
    auto self = sharedAs<StyledComboBox>();
    auto object = sharedAs<NSObject>();
    centre.addObserver(self, &StyledComboBox::willPopUp, willPopUpNotification, object);
    centre.addObserver(self, &StyledComboBox::willDismiss, willDismissNotification, object);
    centre.addObserver(self, &StyledComboBox::selectionDidChange, selectionDidChangeNotification,
                       object);
}

StyledComboBox::~StyledComboBox() {
    NotificationCenter::defaultCenter().removeObserver(this);
}

std::shared_ptr<NSCell> StyledComboBox::makeCell() {
    return make<StyledComboBoxCell>();
}

std::shared_ptr<StyledComboBoxCell> StyledComboBox::styledCell() const {
    return std::dynamic_pointer_cast<StyledComboBoxCell>(cell());
}

void StyledComboBox::willPopUp(const Notification&) {
    Runtime::assertMainThread("StyledComboBox.willPopUp");
    if (auto c = styledCell())
        c->isPopupOpen = true;
}

void StyledComboBox::willDismiss(const Notification&) {
    Runtime::assertMainThread("StyledComboBox.willDismiss");
    if (auto c = styledCell())
        c->isPopupOpen = false;
}

void StyledComboBox::selectionDidChange(const Notification&) {
    Runtime::assertMainThread("StyledComboBox.selectionDidChange");
    // Only an item of the box's own list can be read: no selection, an index past the
    // items, or a data source's items are left alone.
    const long index = indexOfSelectedItem();
    if (usesDataSource() || index < 0 || index >= long(objectValues().size()))
        return;
    const NSComboBoxItem item = itemObjectValueAtIndex(index);
    if (const auto* number = std::get_if<double>(&item)) {
        setDoubleValue(*number);
        sendAction(action(), cell()->target);
    }
}

NSEdgeInsets StyledComboBox::alignmentRectInsets() const {
    return styledCell() ? StyledComboBoxCell::classStyle()->alignmentRectInsets()
                        : NSComboBox::alignmentRectInsets();
}

CGSize StyledComboBox::intrinsicContentSize() const {
    Runtime::assertMainThread("StyledComboBox.intrinsicContentSize");
    // (max(w, 47) − left − right, 26 − top − bottom); the inherited height is not used.
    const NSEdgeInsets insets = alignmentRectInsets();
    const CGFloat width = NSComboBox::intrinsicContentSize().width;
    return {std::max(width, minimumFrameWidth) - (insets.left + insets.right),
            frameHeight - (insets.top + insets.bottom)};
}

CGRect StyledComboBox::focusRingMaskBounds() const {
    auto c = styledCell();
    return c ? c->leftFrame(bounds()) : NSComboBox::focusRingMaskBounds();
}

void StyledComboBox::drawRect(CGRect dirtyRect) {
    NSComboBox::drawRect(dirtyRect);
    if (auto c = styledCell())
        drawLibraryFocusRing(*this, focusRingMaskBounds(), c->styleFocusRingColor());
}
