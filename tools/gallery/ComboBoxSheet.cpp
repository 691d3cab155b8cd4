// The control library's combo box in its states: text, placeholder, a chosen number,
// the list open, disabled, and focused in a key window and in one that is not key.

#include "Controls/StyledComboBox.h"
#include "Sheets.h"
#include "TestSupport/ControlHarness.h"

namespace {

const CGRect boxFrame{10, 7, 180, 26};

std::shared_ptr<StyledComboBox> comboBox(const std::string& text, CGRect frame = boxFrame) {
    auto box = make<StyledComboBox>(frame);
    box->addItemsWithObjectValues(
        {std::string("Tape"), std::string("Bucket brigade"), 375.0, 750.0});
    box->setStringValue(text);
    box->setPlaceholderString("Delay line");
    logsActions(*box);
    return box;
}

std::shared_ptr<NSView> numberChosen() {
    auto box = comboBox("");
    box->selectItemAtIndex(2);
    return box;
}

std::shared_ptr<NSView> disabled() {
    auto box = comboBox("Tape");
    box->setEnabled(false);
    return box;
}

// The look while the list shows (the list itself is a window of its own).
void listOpen(ControlHarness& h) {
    auto box = std::dynamic_pointer_cast<StyledComboBox>(heldControl(h));
    if (auto cell = box ? std::dynamic_pointer_cast<StyledComboBoxCell>(box->cell()) : nullptr)
        cell->isPopupOpen = true;
    box->setNeedsDisplay(true);
}

GallerySheet comboBoxes() {
    const CGSize size{200, 40};
    auto tape = [] { return comboBox("Tape"); };
    return {"combo-boxes",
            4,
            {
                controlCell("with text", size, tape),
                controlCell("empty, placeholder", size, [] { return comboBox(""); }),
                controlCell("a number chosen", size, numberChosen),
                controlCell("list open", size, tape, listOpen),
                controlCell("disabled", size, disabled),
                controlCell("focused", size, tape, focusedControl),
                controlCell("focused, window not key", size, tape, focusedInInactiveWindow),
                controlCell("smallest frame", size,
                            [] {
                                return comboBox("1", CGRect{10, 7, 47, 26});
                            }),
            }};
}

const GalleryRegistration comboBoxSheets([] { return std::vector<GallerySheet>{comboBoxes()}; });

} // namespace
