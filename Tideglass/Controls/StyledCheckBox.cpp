#include "Controls/StyledCheckBox.h"

#include <cmath>

#include "Controls/CellArt.h"

namespace {
// What a check box's cell starts with: the contents masks, and no bezel — a switch
// button draws its box, not the push button's panel behind it.
void setUpBox(StyledCheckBoxCell& cell) {
    cell.highlightsBy = cell.showsStateBy = NSCellStyleMask::contents;
    cell.isBordered = false;
}
} // namespace

StyledCheckBoxCell::StyledCheckBoxCell(TextCell content) : StyledControl(std::move(content)) {
    Runtime::assertMainThread("StyledCheckBoxCell.init(textCell:)");
    setUpBox(*this);
}

StyledCheckBoxCell::StyledCheckBoxCell(ImageCell content) : StyledControl(std::move(content)) {
    Runtime::assertMainThread("StyledCheckBoxCell.init(imageCell:)");
    setUpBox(*this);
}

CGRect StyledCheckBoxCell::focusRingMaskBounds(CGRect frame, NSView&) const {
    Runtime::assertMainThread("StyledCheckBoxCell.focusRingMaskBounds(forFrame:in:)");
    return imageRectForBounds(frame);
}

CGRect StyledCheckBoxCell::imageRectForBounds(CGRect bounds) const {
    Runtime::assertMainThread("StyledCheckBoxCell.imageRect(forBounds:)");
    const CGSize s = imageSize();
    const CGFloat y = std::round(drawingRectForBounds(bounds).midY() - s.height * 0.5);
    CGRect r = CGRect{0, y, s.width, s.height}.integral();
    r.origin.x += xOffset;
    return r;
}

CGRect StyledCheckBoxCell::titleRectForBounds(CGRect bounds) const {
    Runtime::assertMainThread("StyledCheckBoxCell.titleRect(forBounds:)");
    const CGSize t = attributedTitleString(title, controlSize, nullptr).size();
    const CGFloat w = std::ceil(t.width), h = std::ceil(t.height);
    const CGFloat x = imageSize().width;
    if (!verticallyCenterTitle)
        return {x, 0, w, h};
    return CGRect{x, std::round(bounds.midY() - h * 0.5), w, h}.integral();
}

void StyledCheckBoxCell::drawImage(const std::shared_ptr<NSImage>&, CGRect frame,
                                   NSView& controlView) {
    Runtime::assertMainThread("StyledCheckBoxCell.drawImage(_:withFrame:in:)");
    drawArtRespectingFlip(styleImage(), imageRectForBounds(frame), controlView,
                          artFraction(isEnabled));
}

void StyledCheckBoxCell::drawInteriorWithFrame(CGRect frame, NSView& controlView) {
    Runtime::assertMainThread("StyledCheckBoxCell.drawInterior(withFrame:in:)");
    drawImage(imageToShow(), imageRectForBounds(frame), controlView);
    if (!title.empty())
        drawTitle(attributedTitle(), titleRectForBounds(frame), controlView);
}

NSCell::StateValue StyledCheckBoxCell::nextState() const {
    Runtime::assertMainThread("StyledCheckBoxCell.nextState");
    return state == StateValue::on ? StateValue::off : StateValue::on;
}

std::shared_ptr<NSCell> StyledCheckBox::makeCell() {
    Runtime::assertMainThread("StyledCheckBox.cellClass");
    return make<StyledCheckBoxCell>();
}

// ---- The star

namespace {
// The style's entry for exactly this key; none without one.
std::shared_ptr<NSImage> entry(const std::shared_ptr<CheckBoxCellStyle>& style,
                               StyledControlState key) {
    if (!style)
        return nullptr;
    const auto& table = style->buttonImages();
    auto it = table.find(key);
    return it != table.end() ? it->second : nullptr;
}
} // namespace

std::shared_ptr<NSImage> FavouriteCheckBoxCell::image() const {
    Runtime::assertMainThread("FavouriteCheckBoxCell.image");
    return entry(styleAs<CheckBoxCellStyle>(), StyledControlState::default_);
}

std::shared_ptr<NSImage> FavouriteCheckBoxCell::alternateImage() const {
    Runtime::assertMainThread("FavouriteCheckBoxCell.alternateImage");
    return entry(styleAs<CheckBoxCellStyle>(), StyledControlState::on);
}

CGSize FavouriteCheckBoxCell::imageSize() const {
    Runtime::assertMainThread("FavouriteCheckBoxCell.imageSize");
    auto star = styleImage();
    return star ? star->size() : CGSize{16, 16};
}

std::shared_ptr<NSCell> FavouriteCheckBox::makeCell() {
    Runtime::assertMainThread("FavouriteCheckBox.cellClass");
    return make<FavouriteCheckBoxCell>();
}

void FavouriteCheckBox::mouseDown(const NSEvent& event) {
    Runtime::assertMainThread("FavouriteCheckBox.mouseDown(with:)");
    setAlphaValue(0.5);
    std::weak_ptr<FavouriteCheckBox> self = weakAs<FavouriteCheckBox>();
    trackMouse(event, [self] {
        if (auto box = self.lock())
            box->setAlphaValue(1.0);
    });
}
